#include <windows.h>

#include "uInstaller.UI.Dialogs.Main.h"

#include "DRX.UI.Application.h"
#include "DRX.Format.h"
#include "DRX.Graphics.GDI.h"
#include "DRX.UI.Controls.Buttons.h"
#include "DRX.UI.Controls.Labels.h"
#include "DRX.UI.Dialogs.h"
#include "uInstaller.Core.ProductInfo.h"
#include "uInstaller.UI.Palette.h"

namespace {

constexpr UINT_PTR kDeferredStopTimer = 1;
constexpr UINT kDeferredStopInterval = 10;  // milliseconds
constexpr uint32_t kCloseQuestionFlags = MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2;

UString CommonText(UStringView key) { return Installer->Resources().GetLangString(u"Common", key); }

void FillSolid(HDC dc, const TRect& rect, TColor color) {
  if (rect.IsEmpty()) return;
  TDRXGdiObject<HBRUSH> brush(CreateSolidBrush(color));
  const RECT r = ToRECT(rect);
  FillRect(dc, &r, brush.Get());
}

std::unique_ptr<TDRXImage> LoadHeaderImage(const UString& name) {
  const std::unique_ptr<TInstallerImage> image = Installer->Resources().GetImage(name);
  auto picture = std::make_unique<TDRXImage>();
  if (image) picture->LoadFromBytes(image->Bytes.data(), image->Bytes.size());
  return picture;
}

TFont HeaderFont(int points, int dpi) {
  TFont font;
  font.Name = u"Segoe UI";
  font.Height = -MulDivRounded(points, dpi, 72);
  return font;
}

int32_t FontTextHeight(HDC dc, HFONT font) {
  const HGDIOBJ previous = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, previous);
  return metrics.tmHeight;
}

void DrawHeaderLine(HDC dc, const TFont& font, const UString& text, const TRect& rect) {
  const HGDIOBJ previous = SelectObject(dc, ControlFontHandle(font));
  RECT r = ToRECT(rect);
  DrawTextW(dc, W(text), static_cast<int>(text.size()), &r, DT_RIGHT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, previous);
}

TDRXFormBorderStyle BorderStyleOf(TDRXLayoutBorderStyle style) {
  switch (style) {
    case TDRXLayoutBorderStyle::None: return bsNone;
    case TDRXLayoutBorderStyle::Single: return bsSingle;
    case TDRXLayoutBorderStyle::Dialog: return bsDialog;
    case TDRXLayoutBorderStyle::Sizeable: break;
  }
  return bsSizeable;
}

TDRXFormPosition PositionOf(TDRXLayoutPosition position) {
  switch (position) {
    case TDRXLayoutPosition::ScreenCenter: return poScreenCenter;
    case TDRXLayoutPosition::OwnerFormCenter: return poOwnerFormCenter;
    case TDRXLayoutPosition::Designed: break;
  }
  return poDesigned;
}

[[noreturn]] void RaiseMissing(UStringView what, UStringView name) {
  throw EReadError(Format(u"%s %s not found", {what, name}));
}

template <class T>
T* ControlNamed(TDRXComponent& form, UStringView name) {
  auto* control = dynamic_cast<T*>(form.FindComponent(name));
  if (!control) RaiseMissing(u"Component", name);
  return control;
}

}  // namespace

TDRXFormLayout LoadInstallerFormLayout() {
  TResourceStream stream(GetModuleHandleW(nullptr), u"TINSTALLERFORM");
  return ReadFormLayout(stream);
}

// ---- TInstallerFormViewInfo ----

TInstallerFormViewInfo::TInstallerFormViewInfo(TInstallerForm& form)
    : TInstallerCustomViewInfo(form),
      headerImage_(LoadHeaderImage(u"header.png")),
      headerImageDark_(LoadHeaderImage(u"header_dark.png")) {}

TInstallerFormRects TInstallerFormViewInfo::Rects() const {
  return CalculateFormRects(form_.ClientRect(), form_.ScaleFactor());
}

TRect TInstallerFormViewInfo::PageRect(bool fullScreen) const {
  const TInstallerFormRects rects = Rects();
  return fullScreen ? rects.FullScreenPage : rects.Page;
}

void TInstallerFormViewInfo::Draw(HDC dc, const TInstallerCustomPage* page) const {
  const TInstallerPalette& palette = InstallerPalette();
  const TInstallerFormRects rects = Rects();
  FillSolid(dc, form_.ClientRect(), palette.ColorBackground);
  FillSolid(dc, rects.Footer, palette.ColorFooter);
  FillSolid(dc, FooterUpperLine(rects.Footer), palette.ColorFooter);
  FillSolid(dc, FooterLowerLine(rects.Footer), palette.ColorFooterLine);
  // A high-contrast header is the plain background with its line.
  const TDRXImage& header = TDRXApplication::DarkMode() ? *headerImageDark_ : *headerImage_;
  if (!TDRXApplication::HighContrast()) header.Draw(dc, rects.Header, isStretch);
  FillSolid(dc, HeaderAccentLine(rects.Header, form_.ScaleFactor()), palette.ColorAccent);

  const auto* textPage = dynamic_cast<const TInstallerPage*>(page);
  if (!textPage) return;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, palette.ColorHeaderText);
  const TFont title = HeaderFont(11, form_.CurrentDPI());
  const TFont description = HeaderFont(8, form_.CurrentDPI());
  DrawHeaderLine(dc, title, textPage->Title,
                 HeaderTitleRect(rects.HeaderText, FontTextHeight(dc, ControlFontHandle(title))));
  DrawHeaderLine(dc, description, textPage->Description,
                 HeaderDescriptionRect(rects.HeaderText, FontTextHeight(dc, ControlFontHandle(description))));
}

// ---- TInstallerProgressViewInfo ----

void TInstallerProgressViewInfo::Calculate(const TRect& stepBar) {
  bar_.Calculate(stepBar, form_.Pages().Count(), form_.ScaleFactor());
}

void TInstallerProgressViewInfo::Draw(HDC dc, TInstallerCustomPage* page) const {
  const TInstallerPalette& palette = InstallerPalette();
  FillSolid(dc, bar_.Bounds, palette.ColorStepBarBackground);
  const int index = form_.Pages().IndexOf(page);
  if (index < 0) return;
  const TInstallerStepMarks marks = bar_.Marks(index, page->GetProgress());
  for (const TRect& dash : marks.Dashes) FillSolid(dc, dash, palette.ColorStepMark);
  FillSolid(dc, marks.Band, palette.ColorProgress);
}

// ---- TInstallerForm ----

TInstallerForm::TInstallerForm(const TDRXFormLayout& layout) : TDRXForm(nullptr) {
  ApplyLayout(layout);
  pages_ = std::make_unique<TInstallerPageList>();
  progressViewInfo_ = std::make_unique<TInstallerProgressViewInfo>(*this);
  formViewInfo_ = std::make_unique<TInstallerFormViewInfo>(*this);
  ApplyVersionTextColor();
  OnPaint = [this](TDRXForm&, HDC dc) { PaintFrame(dc); };
  Installer->AddListener(this);
  listening_ = true;
  try {
    CreatePages();
    Localize();
    UpdateButtons();
    SetActivePage(pages_->First());
  } catch (...) {
    Installer->RemoveListener(this);
    pages_.reset();
    throw;
  }
}

TInstallerForm::~TInstallerForm() {
  try {
    Installer->RunPostInstallActions();
  } catch (...) {
    TDRXApplication::HandleException(std::current_exception());
  }
  if (listening_) Installer->RemoveListener(this);
  KillTimer(handle_, kDeferredStopTimer);
  activePage_ = nullptr;
  progressViewInfo_.reset();
  formViewInfo_.reset();
  pages_.reset();
}

void TInstallerForm::ApplyLayout(const TDRXFormLayout& layout) {
  SetClientSize(layout.ClientSize.cx, layout.ClientSize.cy);
  SetBorderStyle(BorderStyleOf(layout.BorderStyle));
  SetBorderIcons((layout.BorderIcons.SystemMenu ? biSystemMenu : 0) | (layout.BorderIcons.Minimize ? biMinimize : 0) |
                 (layout.BorderIcons.Maximize ? biMaximize : 0));
  SetPosition(PositionOf(layout.Position));
  SetColor(layout.Color);
  TFont font = layout.Font;
  if (!layout.FontColorSet) font.Color = Font().Color;
  SetFont(font);
  for (const TDRXControlLayout& item : layout.Controls) {
    TDRXCustomControl* control = nullptr;
    if (item.ClassName == u"TDRXLabel") {
      control = new TDRXLabel(this);
    } else if (item.ClassName == u"TDRXButton") {
      auto* button = new TDRXButton(this);
      button->SetDefault(item.Default);
      control = button;
    } else {
      RaiseMissing(u"Class", item.ClassName);
    }
    control->SetName(item.Name);
    control->SetParent(this);
    control->SetBoundsRect(item.BoundsRect);
    control->SetAnchors(item.Anchors);
    if (item.TabOrder >= 0) control->SetTabOrder(item.TabOrder);
    if (!item.Caption.empty()) control->SetCaption(item.Caption);
    control->SetVisible(item.Visible);
    if (item.OnClick == u"bBackClick") {
      control->OnClick = [this](TDRXCustomControl& sender) { bBackClick(sender); };
    } else if (item.OnClick == u"bNextClick") {
      control->OnClick = [this](TDRXCustomControl& sender) { bNextClick(sender); };
    } else if (!item.OnClick.empty()) {
      RaiseMissing(u"Method", item.OnClick);
    }
  }
  if (layout.OnCloseQuery == u"FormCloseQuery") {
    OnCloseQuery = [this](TDRXForm& sender, bool& canClose) { FormCloseQuery(sender, canClose); };
  } else if (!layout.OnCloseQuery.empty()) {
    RaiseMissing(u"Method", layout.OnCloseQuery);
  }
  bBack = ControlNamed<TDRXButton>(*this, u"bBack");
  bNext = ControlNamed<TDRXButton>(*this, u"bNext");
  lbVerInfo = ControlNamed<TDRXLabel>(*this, u"lbVerInfo");
}

void TInstallerForm::CreatePages() {
  const auto add = [this](TInstallerPageClass pageClass) {
    // A class this build does not have is no page.
    if (!pageClass || !pageClass->Create) return;
    TInstallerCustomPage* page = pages_->Add(pageClass);
    page->SetParent(this);
    page->SetTabOrder(0);  // Tab visits the page's controls before the button row
  };
  if (!Installer->HasFlag(ifAuto)) Installer->ProductInfo().PopulatePages(add);
  if (Installer->Mode() == imUninstall) {
    add(PageClassOf<TInstallerPageUninstall>());
    add(PageClassOf<TInstallerPageUninstallFinish>());
  } else {
    add(PageClassOf<TInstallerPageInstall>());
    add(PageClassOf<TInstallerPageFinish>());
  }
}

void TInstallerForm::Localize() {
  SetCaption(CommonText(u"Caption"));
  TDRXApplication::SetTitle(Caption());  // what the application's reports are captioned
  bBack->SetCaption(CommonText(bBack->Name()));
  bNext->SetCaption(CommonText(bNext->Name()));
  lbVerInfo->SetCaption(Installer->ProductInfo().GetFullVersion());
  // Every later dialog of the process (folder browser, message boxes) speaks the wizard's language.
  TDRXDialogsStrs& strings = DialogsStrs();
  strings.FolderBrowserTitle = CommonText(u"lBrowse");
  strings.NewFolder = CommonText(u"lNewFolder");
  strings.ButtonCaptions[mbCancel] = CommonText(u"lCancel");
  strings.ButtonCaptions[mbOK] = CommonText(u"lOk");
}

void TInstallerForm::SetActivePage(TInstallerCustomPage* page) {
  if (page == activePage_) return;
  TInstallerCustomPage* previous = activePage_;
  if (activePage_) {
    activePage_->SetVisible(false);
    activePage_ = nullptr;
  }
  if (page) {
    activePage_ = page;
    if (page->Parent() != this) page->SetParent(this);
    page->SetBoundsRect(formViewInfo_->PageRect(dynamic_cast<TInstallerPageFullScreen*>(page) != nullptr));
    try {
      page->Prepare();
    } catch (...) {
      // The error is reported by whoever called; the wizard stays where it was.
      activePage_ = previous;
      if (previous) previous->SetVisible(true);
      UpdateButtons();
      throw;
    }
    page->SetVisible(true);
    AnnouncePage(*page);
  }
  UpdateButtons();
  // The focus left with the page's controls (the system gave it to the form): Next takes it.
  TDRXWinControl* focused = FocusedControl();
  if ((!focused || focused == this || !focused->Showing() || TDRXForm::FormOf(focused) != this) && bNext->CanFocus())
    bNext->SetFocus();
  Invalidate();
}

// A screen reader reads the form's description when it changes: the page's
// header texts tell where the wizard now is.
void TInstallerForm::AnnouncePage(const TInstallerCustomPage& page) {
  const auto* texts = dynamic_cast<const TInstallerPage*>(&page);
  if (!texts) return;
  UString announcement = texts->Title;
  if (!texts->Description.empty()) announcement += (announcement.empty() ? u"" : u". ") + texts->Description;
  SetAccessibleDescription(announcement);
}

void TInstallerForm::UpdateButtons() {
  const TInstallerButtonStates states =
      ButtonStatesFor<TInstallerPageUninstall, TInstallerPageInstall>(*pages_, activePage_);
  bBack->SetVisible(states.BackVisible);
  bNext->SetEnabled(states.NextEnabled);
  bNext->SetCaption(CommonText(states.NextCaptionKey));
  if (Installer->State() == stFinished && handle_)
    EnableMenuItem(GetSystemMenu(handle_, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_DISABLED);
  UpdateStepBar();
}

void TInstallerForm::UpdateStepBar() { progressViewInfo_->Calculate(formViewInfo_->Rects().StepBar); }

void TInstallerForm::bBackClick(TDRXCustomControl&) {
  if (pages_->CanGoBack(activePage_)) SetActivePage(pages_->GetPrevPage(activePage_));
}

void TInstallerForm::bNextClick(TDRXCustomControl&) {
  switch (NextClickAction(*pages_, activePage_)) {
    case naShowNextPage:
      SetActivePage(pages_->GetNextPage(activePage_));
      break;
    case naCloseForm:
      Close();
      break;
    case naNothing:
      break;
  }
}

void TInstallerForm::FormCloseQuery(TDRXForm&, bool& canClose) {
  if (Installer->State() == stFinished) {
    canClose = true;
    return;
  }
  canClose = stopPending_ ? false : ShowMessageBox(Handle(), CommonText(u"QM"), Caption(), kCloseQuestionFlags) == IDOK;
  if (!canClose) return;
  cancelled_ = true;
  if (InsideMessageProcessing()) {
    // The installer thread may be waiting for the notification handler that
    // runs this message loop: stopping here would wait for it forever.
    stopPending_ = true;
    SetTimer(Handle(), kDeferredStopTimer, kDeferredStopInterval, nullptr);
    canClose = false;
    return;
  }
  Installer->StopThread();
}

void TInstallerForm::StopDeferred() {
  if (InsideMessageProcessing()) return;
  KillTimer(handle_, kDeferredStopTimer);
  stopPending_ = false;
  Installer->StopThread();
  Close();
}

void TInstallerForm::Notify(int code, intptr_t) {
  switch (code) {
    case inFinished:
      if (ClosesOnFinished(Installer->HasFlag(ifAuto), Installer->HasErrors()))
        Close();
      else
        bNextClick(*bNext);
      break;
    case inStateChanged:
      UpdateButtons();
      break;
    case inRedraw:
      Invalidate();
      break;
    default:
      break;
  }
}

void TInstallerForm::PaintFrame(HDC dc) {
  SelectObject(dc, ControlFontHandle(Font()));
  formViewInfo_->Draw(dc, activePage_);
  progressViewInfo_->Draw(dc, activePage_);
}

void TInstallerForm::ApplyVersionTextColor() {
  TFont versionFont = lbVerInfo->Font();
  versionFont.Color = InstallerPalette().ColorVersionText;
  lbVerInfo->SetFont(versionFont);
}

void TInstallerForm::DarkModeChanged() {
  UpdatePalette();
  ApplyVersionTextColor();
}

void TInstallerForm::HighContrastChanged() { DarkModeChanged(); }

void TInstallerForm::ScaleChanged() {
  if (!formViewInfo_) return;
  UpdateStepBar();
  if (activePage_)
    activePage_->SetBoundsRect(formViewInfo_->PageRect(dynamic_cast<TInstallerPageFullScreen*>(activePage_) != nullptr));
  Invalidate();
}

intptr_t TInstallerForm::WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (message == WM_ERASEBKGND) return 1;
  if (message == WM_TIMER && wParam == kDeferredStopTimer) {
    StopDeferred();
    return 0;
  }
  return TDRXForm::WndProc(message, wParam, lParam);
}
