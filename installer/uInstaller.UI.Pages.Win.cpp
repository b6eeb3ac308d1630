#include <windows.h>

#include "uInstaller.UI.Pages.h"

#include "DRX.Classes.Thread.h"
#include "DRX.Graphics.GDI.h"
#include "DRX.UI.Application.h"
#include "DRX.UI.Controls.Buttons.h"
#include "DRX.UI.Controls.Image.h"
#include "DRX.UI.Controls.Labels.h"
#include "DRX.UI.Controls.Memo.h"
#include "DRX.UI.Controls.ProgressBar.h"
#include "uInstaller.Core.ProductInfo.h"
#include "uInstaller.Core.Summary.h"
#include "uInstaller.UI.Controls.h"
#include "uInstaller.UI.Palette.h"

namespace {

int gMessageProcessingDepth = 0;

constexpr TColor kErrorHeadingColor = RGBColor(0xFF, 0x00, 0x00);
constexpr TColor kHomePageLinkColor = RGBColor(0x00, 0x66, 0xCC);

// The component and, recursively, what it owns, each one's owned components after it.
template <class F>
void ForEachOwned(TDRXComponent& component, const F& visit) {
  visit(component);
  for (int i = 0; i < component.ComponentCount(); ++i) ForEachOwned(*component.Components(i), visit);
}

void FillSolid(HDC dc, const TRect& rect, TColor color) {
  TDRXGdiObject<HBRUSH> brush(CreateSolidBrush(color));
  const RECT r = ToRECT(rect);
  FillRect(dc, &r, brush.Get());
}

void FillVerticalGradient(HDC dc, const TRect& rect, TColor top, TColor bottom) {
  if (top == bottom) return FillSolid(dc, rect, top);
  const auto channel = [](uint8_t value) { return static_cast<COLOR16>(value << 8); };
  TRIVERTEX vertices[2] = {
      {rect.Left, rect.Top, channel(RedOf(top)), channel(GreenOf(top)), channel(BlueOf(top)), 0},
      {rect.Right, rect.Bottom, channel(RedOf(bottom)), channel(GreenOf(bottom)), channel(BlueOf(bottom)), 0}};
  GRADIENT_RECT gradient{0, 1};
  GradientFill(dc, vertices, 2, &gradient, 1, GRADIENT_FILL_RECT_V);
}

std::unique_ptr<TDRXImage> LoadPackageImage(const UString& name) {
  const std::unique_ptr<TInstallerImage> image = Installer->Resources().GetImage(name);
  auto picture = std::make_unique<TDRXImage>();
  if (image) picture->LoadFromBytes(image->Bytes.data(), image->Bytes.size());
  return picture;
}

// A memo of the kind filling the page inside the margins (at 96 DPI), with a vertical scroll bar.
template <class TMemoKind>
TMemoKind* CreateFillingMemo(TInstallerPage& page, const TDRXMargins& margins96) {
  auto* memo = new TMemoKind(&page);
  memo->SetParent(&page);
  memo->SetMargins(page.ScaleFactor().Apply(margins96));
  memo->SetScrollBars(ssVertical);
  memo->SetAlign(alClient);
  return memo;
}

UString JoinLines(const TDRXStringList& lines) {
  UString text;
  for (int i = 0; i < lines.Count(); ++i) {
    if (i) text += u"\r\n";
    text += lines.Strings(i);
  }
  return text;
}

}  // namespace

void ProcessPendingMessages() {
  ++gMessageProcessingDepth;
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  CheckSynchronize();
  --gMessageProcessingDepth;
}

bool InsideMessageProcessing() { return gMessageProcessingDepth > 0; }

// ---- TInstallerCustomPage ----

TInstallerCustomPage::TInstallerCustomPage() : TDRXCustomControl(nullptr) { SetVisible(false); }

void TInstallerCustomPage::Initialize() { SetName(PageSectionName(ClassName())); }

// ---- TInstallerPage ----

void TInstallerPage::Initialize() {
  TInstallerCustomPage::Initialize();
  CreateControls();
  Localize();
}

void TInstallerPage::Localize() {
  Title = GetText(u"Title");
  Description = GetText(u"Description");
  ForEachOwned(*this, [this](TDRXComponent& component) {
    if (component.HasCaption()) component.SetCaption(GetText(component.Name()));
    // A page's viewer and memos hold what the page is about.
    if (auto* box = dynamic_cast<TDRXCustomEditBox*>(&component); box && box->AccessibleName().empty())
      box->SetAccessibleName(Title);
  });
}

UString TInstallerPage::GetText(UStringView key) const { return Installer->Resources().GetLangString(Name(), key); }

void TInstallerPage::Changed() { Installer->SendNotify(inStateChanged, 0); }

void TInstallerPage::PlaceControl(TDRXCustomControl& control, const TRect& bounds96, UStringView name) {
  control.SetParent(this);
  control.SetBoundsRect(ScaleFactor().Apply(bounds96));
  control.SetName(name);
}

TFont TInstallerPage::ScaledFont(const TFont& base, int points) const {
  TFont font = base;
  font.Height = -MulDivRounded(points, CurrentDPI(), 72);
  return font;
}

TDRXLabel* TInstallerPage::CreateLabel(const TRect& bounds96, UStringView name, bool wordWrap) {
  auto* label = CreateControl<TDRXLabel>(bounds96, name);
  if (wordWrap) {
    label->SetAlignmentVert(taAlignTop);
    label->Style().SetWordWrap(true);
  }
  label->SetTransparent(true);
  return label;
}

TDRXLabel* TInstallerPage::CreateHeaderLabel(const TRect& bounds96, UStringView name) {
  TDRXLabel* label = CreateLabel(bounds96, name, false);
  TFont font = ScaledFont(label->Font(), 11);
  font.Name = u"Segoe UI";
  label->SetFont(font);
  return label;
}

TDRXCheckBox* TInstallerPage::CreateCheckBox(const TRect& bounds96, UStringView name, TDRXNotifyEvent onClick) {
  auto* box = CreateControl<TDRXCheckBox>(bounds96, name);
  box->OnClick = std::move(onClick);
  return box;
}

TDRXRadioBox* TInstallerPage::CreateRadioBox(const TRect& bounds96, UStringView name, TDRXNotifyEvent onClick) {
  auto* box = CreateControl<TDRXRadioBox>(bounds96, name);
  box->OnClick = std::move(onClick);
  return box;
}

void TInstallerPage::Paint(HDC dc) {
  const TInstallerPalette& palette = InstallerPalette();
  FillVerticalGradient(dc, ClientRect(), palette.ColorBackground, palette.ColorBackgroundBottom);
}

// ---- TInstallerPageFullScreen ----

TInstallerPageFullScreen::~TInstallerPageFullScreen() = default;

void TInstallerPageFullScreen::CreateControls() {
  image_ = LoadPackageImage(TDRXApplication::DarkMode() ? u"wizard_dark.png" : u"wizard_light.png");
  L2 = CreateLabel(Bounds(210, 61, 400, 240), u"L2", true);
  L1 = CreateLabel(Bounds(210, 22, 400, 50), u"L1", true);
  L1->SetFont(ScaledFont(L1->Font(), 11));
}

void TInstallerPageFullScreen::Paint(HDC dc) {
  FillSolid(dc, ClientRect(), InstallerPalette().ColorBackground);
  // The picture is decoration: a high-contrast page is plain.
  if (image_ && !image_->Empty() && !TDRXApplication::HighContrast())
    image_->Draw(dc, ScaleFactor().Apply(Rect(0, 0, 188, 435)), isStretch);
}

// ---- TInstallerPageLicense ----

void TInstallerPageLicense::CreateControls() {
  acceptBox_ = CreateCheckBox(Bounds(0, 0, 0, 16), u"L1", [this](TDRXCustomControl&) { Changed(); });
  acceptBox_->SetMargins(ScaleFactor().Apply(TDRXMargins{28, 4, 28, 22}));
  acceptBox_->SetAlign(alBottom);
  viewer_ = CreateFillingMemo<TDRXRichViewer>(*this, {28, 22, 28, 4});
  viewer_->SetTabOrder(0);  // the text comes before the box below it
}

bool TInstallerPageLicense::CanGoNext() const { return acceptBox_->Checked(); }

void TInstallerPageLicense::Prepare() {
  if (const std::unique_ptr<TMemoryStream> license = Installer->Resources().GetLicenseStream())
    viewer_->LoadRichText(*license);
}

void TInstallerPageLicense::VisibleChanged() {
  TInstallerPage::VisibleChanged();
  if (Visible() && !acceptBox_->Checked() && viewer_->CanFocus()) viewer_->SetFocus();
}

// ---- TInstallerPageReadyToInstall ----

void TInstallerPageReadyToInstall::CreateControls() {
  viewer_ = CreateFillingMemo<TDRXRichViewer>(*this, {28, 22, 28, 22});
  viewer_->SetEnabled(false);
}

void TInstallerPageReadyToInstall::Prepare() {
  // The summary names options by their boxes' captions: shown as text, without the accelerator marks.
  TInstallerSummaryBuilder builder([](UStringView section, UStringView key) {
    return StripAccelerator(Installer->Resources().GetLangString(section, key));
  });
  Installer->ProductInfo().PopulateActions([&builder](TInstallerActionClass actionClass) {
    actionClass->Create()->BuildSummary(builder);
  });
  viewer_->SetPlainText(builder.ToString());
}

// ---- TInstallerPageInstall ----

TInstallerPageInstall::TInstallerPageInstall() { Installer->AddListener(this); }

TInstallerPageInstall::~TInstallerPageInstall() { Installer->RemoveListener(this); }

void TInstallerPageInstall::CreateControls() {
  actionBar_ = CreateControl<TDRXProgressBar>(Bounds(30, 40, 580, 18), u"");
  totalBar_ = CreateControl<TDRXProgressBar>(Bounds(30, 65, 580, 18), u"");
  statusLabel_ = CreateLabel(Bounds(30, 16, 580, 18), u"", false);
  statusLabel_->SetCaption(GetText(u"L1"));
  statusLabel_->SetFont(ScaledFont(statusLabel_->Font(), 8));
}

int TInstallerPageInstall::GetProgress() { return static_cast<int>(totalBar_->Progress()); }

void TInstallerPageInstall::Prepare() {
  // Readers name the bars: the whole run by the page, the step by what it does.
  totalBar_->SetCaption(Title);
  actionBar_->SetCaption(statusLabel_->Caption());
  if (Installer->State() == stIdle) Installer->Start(false);
}

void TInstallerPageInstall::Notify(int code, intptr_t data) {
  switch (code) {
    case inFinished:
      finished_ = true;
      break;
    case inProgress: {
      const int action = static_cast<int>(data & 0xFFFF);
      const int total = static_cast<int>((data >> 16) & 0xFFFF);
      if (action == static_cast<int>(actionBar_->Progress()) && total == static_cast<int>(totalBar_->Progress()))
        return;
      actionBar_->SetProgress(action);
      totalBar_->SetProgress(total);
      ProcessPendingMessages();
      break;
    }
    case inStatusText:
      statusLabel_->SetCaption(NotifyText(data));
      actionBar_->SetCaption(statusLabel_->Caption());
      ProcessPendingMessages();
      break;
    default:
      break;
  }
}

// ---- TInstallerPageCustomFinish ----

void TInstallerPageCustomFinish::CreateControls() {
  TInstallerPageFullScreen::CreateControls();
  errorMemo_ = CreateFillingMemo<TDRXMemo>(*this, {210, 120, 20, 4});
  errorMemo_->SetReadOnly(true);
}

void TInstallerPageCustomFinish::Prepare() {
  const TDRXStringList& errors = Installer->Errors();
  errorMemo_->SetVisible(errors.Count() > 0);
  // The labels sized themselves after the memo was placed: place it again beside them.
  Realign();
  if (!errorMemo_->Visible()) return;
  TFont heading = L1->Font();
  heading.Color = kErrorHeadingColor;
  L1->SetFont(heading);
  L1->SetCaption(GetText(u"E1"));
  errorMemo_->SetText(JoinLines(errors));
  L2->SetCaption(GetText(u"E2"));
}

// ---- TInstallerPageFinish ----

void TInstallerPageFinish::CreateControls() {
  TInstallerPageCustomFinish::CreateControls();
  homePageLink_ = CreateLabel(TRect(), u"L3", false);
  homePageLink_->SetMargins(ScaleFactor().Apply(TDRXMargins{210, 0, 20, 4}));
  homePageLink_->SetURL(Installer->ProductInfo().GetHomePage());
  homePageLink_->SetAlignment(taCenter);
  TFont font = ScaledFont(homePageLink_->Font(), 8);
  font.Color = kHomePageLinkColor;
  homePageLink_->SetFont(font);
  homePageLink_->SetAlign(alBottom);
  homePageLink_->SetAutoSize(true);
  const TInstallerScriptGroup& actions = Installer->Resources().Script().Actions;
  for (int i = 1; i <= actions.Count(); ++i) {
    TDRXCheckBox* box =
        CreateCheckBox(FinishActionBoxBounds(i), u"CB" + IntToStr(i), [this](TDRXCustomControl&) { SaveActionStates(); });
    box->SetChecked(true);
    actionBoxes_.push_back(box);
  }
}

void TInstallerPageFinish::Prepare() {
  TInstallerPageCustomFinish::Prepare();
  const TInstallerScriptGroup& actions = Installer->Resources().Script().Actions;
  for (size_t i = 0; i < actionBoxes_.size(); ++i) {
    actionBoxes_[i]->SetCaption(GetText(actions.Items(static_cast<int>(i)).GetSourceName()));
    actionBoxes_[i]->SetVisible(!ErrorMemo()->Visible());
  }
  SaveActionStates();
}

void TInstallerPageFinish::SaveActionStates() {
  const TInstallerScriptGroup& actions = Installer->Resources().Script().Actions;
  for (size_t i = 0; i < actionBoxes_.size(); ++i)
    Installer->Settings().WriteBool(u"Actions", actions.Items(static_cast<int>(i)).Name, actionBoxes_[i]->Checked());
}
