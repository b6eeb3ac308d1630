#include <windows.h>
#include <commctrl.h>

#include "DRX.UI.Dialogs.h"

#include <memory>
#include <vector>

#include "DRX.UI.Application.h"
#include "DRX.Graphics.Colors.h"
#include "DRX.UI.Controls.Buttons.h"
#include "DRX.UI.Controls.Edit.h"
#include "DRX.UI.Controls.ImageComboBox.h"
#include "DRX.UI.Controls.Labels.h"
#include "DRX.UI.Resources.Root.h"
#include "DRX.Utils.Shell.h"

static_assert(MB_OKCANCEL == DRXMessageBox::kOKCancel && MB_RETRYCANCEL == DRXMessageBox::kRetryCancel &&
              MB_ICONWARNING == DRXMessageBox::kIconWarning && MB_ICONQUESTION == DRXMessageBox::kIconQuestion &&
              MB_DEFBUTTON3 == DRXMessageBox::kDefButton3 && IDNO == DRXMessageBox::kIdNo &&
              IDIGNORE == DRXMessageBox::kIdIgnore);

namespace {

using TTaskDialogIndirect = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

// Task dialogs exist only in version 6 of the common controls, which the
// program's manifest selects; looked up at run time so that a program without
// it still starts.
TTaskDialogIndirect TaskDialogFunction() {
  static const TTaskDialogIndirect function = [] {
    const HMODULE module = LoadLibraryW(L"comctl32.dll");
    const FARPROC proc = module ? GetProcAddress(module, "TaskDialogIndirect") : nullptr;
    return reinterpret_cast<TTaskDialogIndirect>(reinterpret_cast<void*>(proc));
  }();
  return function;
}

PCWSTR TaskDialogIcon(TDRXMessageIcon icon) {
  switch (icon) {
    case miWarning: return TD_WARNING_ICON;
    case miError: return TD_ERROR_ICON;
    case miInformation: return TD_INFORMATION_ICON;
    case miNone: break;
  }
  return nullptr;
}

// A box without an owner must still be modal: the thread's other windows are
// disabled while it shows and enabled again afterwards.
class TThreadWindowsDisabled {
 public:
  TThreadWindowsDisabled() {
    EnumThreadWindows(GetCurrentThreadId(), &Disable, reinterpret_cast<LPARAM>(&disabled_));
  }
  ~TThreadWindowsDisabled() {
    for (HWND window : disabled_) EnableWindow(window, TRUE);
  }
  TThreadWindowsDisabled(const TThreadWindowsDisabled&) = delete;
  TThreadWindowsDisabled& operator=(const TThreadWindowsDisabled&) = delete;

 private:
  static BOOL CALLBACK Disable(HWND window, LPARAM list) {
    if (IsWindowEnabled(window)) {
      EnableWindow(window, FALSE);
      reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
  }

  std::vector<HWND> disabled_;
};

HWND MessageBoxOwner(void* owner) {
  if (owner) return static_cast<HWND>(owner);
  if (void* main = TDRXApplication::MainWindow()) return static_cast<HWND>(main);
  return GetActiveWindow();
}

}  // namespace

TDRXMessageTaskDialog::TDRXMessageTaskDialog(TDRXMessageBoxLayout layout, UString caption, UString text)
    : layout_(std::move(layout)), caption_(std::move(caption)), text_(std::move(text)) {}

int TDRXMessageTaskDialog::Execute(void* owner) const {
  const TTaskDialogIndirect taskDialog = TaskDialogFunction();
  if (!taskDialog) return 0;
  const TDRXDialogsStrs& strings = DialogsStrs();
  std::vector<TASKDIALOG_BUTTON> buttons;
  for (const TDRXMessageButton& button : layout_.Buttons)
    buttons.push_back({button.Result, W(strings.ButtonCaptions[button.Button])});
  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof config;
  config.hwndParent = static_cast<HWND>(owner);
  config.dwFlags = CancelledMessageBoxResult(layout_) ? TDF_ALLOW_DIALOG_CANCELLATION : 0;
  config.pszWindowTitle = W(caption_);
  config.pszMainIcon = TaskDialogIcon(layout_.Icon);
  config.pszContent = W(text_);
  config.cButtons = static_cast<UINT>(buttons.size());
  config.pButtons = buttons.data();
  config.nDefaultButton = layout_.DefaultResult;
  int pressed = 0;
  if (FAILED(taskDialog(&config, &pressed, nullptr, nullptr))) return 0;
  return MessageBoxAnswer(layout_, pressed);
}

int ShowMessageBox(void* owner, const UString& text, const UString& caption, uint32_t flags) {
  const HWND window = MessageBoxOwner(owner);
  const TDRXModalDialogScope modal;
  const TDRXMessageBoxLayout layout = MessageBoxLayout(flags);
  const UString title = MessageBoxCaption(caption, layout.Kind);
  // A program without the manifest of version 6 has no task dialogs at all:
  // it gets the system's box, as on older systems.
  if (!IsWindows7OrLater() || !TaskDialogFunction())
    return MessageBoxW(window, W(text), W(title), window ? flags : flags | MB_TASKMODAL);
  std::unique_ptr<TThreadWindowsDisabled> disabled;
  if (!window) disabled = std::make_unique<TThreadWindowsDisabled>();
  return TDRXMessageTaskDialog(layout, title, text).Execute(window);
}

void TDRXExceptionMessageDialog::Show(const std::exception_ptr& error) {
  HWND owner = GetActiveWindow();
  if (!owner) owner = static_cast<HWND>(TDRXApplication::MainWindow());
  ShowMessageBox(owner, ExceptionMessageText(error), TDRXApplication::Title(), MB_ICONERROR);
}

void TDRXExceptionMessageDialog::Install() {
  TDRXApplication::SetExceptionReporter([](std::exception_ptr error) {
    if (IsWindows7OrLater()) {
      Show(error);
    } else {
      PlatformReportException(ExceptionMessage(error));
    }
  });
}

TDRXCustomLanguageDialog::TDRXCustomLanguageDialog() {
  SetCaption(u"Select Language");
  SetBorderStyle(bsDialog);
  SetBorderIcons(biSystemMenu);
  SetPosition(poScreenCenter);
  SetStayOnTop(true);
  SetClientSize(220, 75);
  comboBox_ = new TDRXImageComboBox(this);
  comboBox_->SetName(u"cbLanguage");
  comboBox_->SetBounds(0, 0, 204, 23);
  comboBox_->SetAlign(alTop);
  comboBox_->SetMargins({8, 8, 8, 8});
  comboBox_->SetImages(&images_);
  comboBox_->SetAccessibleName(Caption());
  comboBox_->SetParent(this);
  // The language is not chosen yet: a fixed text.
  okButton_ = new TDRXButton(this);
  okButton_->SetName(u"bOk");
  okButton_->SetCaption(u"OK");
  okButton_->SetBounds(0, 0, 100, 25);
  okButton_->SetAlign(alBottom);
  okButton_->SetMargins({60, 0, 60, 8});
  okButton_->SetModalResult(mrOk);
  okButton_->SetDefault(true);
  okButton_->SetParent(this);
}

TDRXCustomLanguageDialog::~TDRXCustomLanguageDialog() = default;

intptr_t TDRXCustomLanguageDialog::SelectedData() const {
  return LanguageItemData(comboBox_->Items(), comboBox_->ItemIndex());
}

void TDRXCustomLanguageDialog::PopulateAndSelect(int32_t userLangId) {
  Populate();
  comboBox_->SetItemIndex(DefaultLanguageItem(comboBox_->Items(), userLangId));
}

void TDRXCustomLanguageDialog::AddLanguage(const TDRXIniFile& lang, intptr_t data) {
  AddLanguageItem(comboBox_->Items(), images_, lang, data);
}

void TDRXCustomLanguageDialog::HandleCreated() {
  TDRXSkinnedDialog::HandleCreated();
  // The choice cannot be refused: the title bar offers no close button.
  EnableMenuItem(GetSystemMenu(Handle(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
}

bool TDRXCustomLanguageDialog::FormKey(uint16_t key, TShiftState shift) {
  if (key == VK_ESCAPE && !comboBox_->DroppedDown()) {
    SetModalResult(mrCancel);
    return true;
  }
  return TDRXSkinnedDialog::FormKey(key, shift);
}

namespace {
// The unit's initialisation. The system version is asked when a report is
// shown: other units' statics may not be set up yet at this point.
const bool gExceptionReportInstalled = (TDRXExceptionMessageDialog::Install(), true);
}  // namespace

// ---- Skinned dialogs ----

namespace {
// Between a dialog's edge and its controls, between the controls, and between
// two buttons of a row, at 96 DPI.
constexpr int32_t kQueryMargin = 10, kQueryGap = 12, kButtonGap = 6;
constexpr int32_t kQueryWidth = 340, kQueryButtonWidth = 90, kQueryRowHeight = 25, kQueryEditHeight = 23;
}  // namespace

TDRXCustomControl* AddDialogButtonRow(TDRXCustomControl& parent, int32_t height) {
  auto* row = new TDRXCustomControl(parent.Owner() ? parent.Owner() : &parent);
  row->SetBounds(0, 0, parent.Width(), height);
  row->SetAlign(alBottom);
  row->SetParent(&parent);
  return row;
}

TDRXButton* AddDialogButton(TDRXCustomControl& row, UStringView caption, int32_t width, TAlign side,
                            TModalResult result) {
  auto* button = new TDRXButton(row.Owner());
  button->SetCaption(caption);
  button->SetBounds(0, 0, width, row.Height());
  button->SetAlign(side);
  // Buttons on the same side keep a gap; the outermost one touches the row's end.
  bool outermost = true;
  for (int i = 0; i < row.ControlCount(); ++i) outermost = outermost && row.Controls(i)->Align() != side;
  if (!outermost) button->SetMargins(side == alRight ? TDRXMargins{0, 0, kButtonGap, 0} : TDRXMargins{kButtonGap, 0, 0, 0});
  button->SetModalResult(result);
  button->SetParent(&row);
  return button;
}

TDRXSkinnedDialog::TDRXSkinnedDialog(TDRXComponent* owner) : TDRXForm(owner) { DarkModeChanged(); }

void TDRXSkinnedDialog::DarkModeChanged() {
  if (const auto* color = RootResourceCollection()->Find<TDRXResourceColor>(u"Common.Colors.Background"))
    SetColor(AlphaColorToColor(color->Value()));
}

TDRXInputQueryDialog::TDRXInputQueryDialog(TDRXComponent* owner, UStringView caption, UStringView prompt,
                                           UStringView value)
    : TDRXSkinnedDialog(owner) {
  const TDRXDialogsStrs& strings = DialogsStrs();
  SetCaption(caption);
  SetBorderStyle(bsDialog);
  SetBorderIcons(biSystemMenu);
  SetPosition(dynamic_cast<TDRXForm*>(owner) ? poOwnerFormCenter : poScreenCenter);
  SetPadding({kQueryMargin, kQueryMargin, kQueryMargin, kQueryMargin});
  prompt_ = new TDRXLabel(this);
  prompt_->SetName(u"lPrompt");
  prompt_->SetCaption(prompt);
  prompt_->SetAlign(alTop);
  prompt_->SetMargins({0, 0, 0, 4});
  prompt_->SetVisible(!prompt.empty());
  prompt_->SetParent(this);
  edit_ = new TDRXEdit(this);
  edit_->SetName(u"eValue");
  edit_->SetBounds(0, 0, kQueryWidth - 2 * kQueryMargin, kQueryEditHeight);
  edit_->SetAlign(alTop);
  edit_->SetText(value);
  edit_->SetParent(this);
  TDRXCustomControl* row = AddDialogButtonRow(*this, kQueryRowHeight);
  TDRXButton* cancel = AddDialogButton(*row, strings.ButtonCaptions[mbCancel], kQueryButtonWidth, alRight, mrCancel);
  cancel->SetCancel(true);
  TDRXButton* ok = AddDialogButton(*row, strings.ButtonCaptions[mbOK], kQueryButtonWidth, alRight, mrOk);
  ok->SetDefault(true);
  ok->SetTabOrder(0);
  const int32_t promptHeight = prompt.empty() ? 0 : prompt_->Height() + 4;
  SetClientSize(kQueryWidth, 2 * kQueryMargin + promptHeight + kQueryEditHeight + kQueryGap + kQueryRowHeight);
  SetActiveControl(edit_);
}

UString TDRXInputQueryDialog::Value() const { return edit_->Text(); }

void TDRXInputQueryDialog::SelectValue() {
  Handle();
  if (TDRXSystemWindow* inner = edit_->InnerControl()) inner->Perform(EM_SETSEL, 0, -1);
}

bool TDRXInputQueryDialog::Execute() {
  const TDRXModalDialogScope modal;
  SelectValue();
  return ShowModal() == mrOk;
}

bool TDRXInputQueryDialog::Query(TDRXForm* owner, UStringView caption, UStringView prompt, UString& value) {
  TDRXInputQueryDialog dialog(owner, caption, prompt, value);
  if (!dialog.Execute()) return false;
  value = dialog.Value();
  return true;
}
