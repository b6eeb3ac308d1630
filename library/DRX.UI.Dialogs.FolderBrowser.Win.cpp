#include <windows.h>

#include "DRX.UI.Dialogs.FolderBrowser.h"

#include <utility>

#include "DRX.UI.Controls.Buttons.h"
#include "DRX.UI.Controls.Edit.h"
#include "DRX.UI.Controls.ShellTreeView.h"

namespace {

// At 96 DPI: the row of buttons (a button and the space above and below it),
// the buttons' width, the edit's height and the space around it.
constexpr int32_t kButtonHeight = 23, kButtonSpace = 3, kButtonWidth = 90;
constexpr int32_t kEditHeight = 23, kEditSpaceAbove = 7, kEditSpaceBelow = 4;

TDRXForm* FormOfWindow(HWND window) {
  if (!window) return nullptr;
  return dynamic_cast<TDRXForm*>(TDRXWinControl::FromHandle(GetAncestor(window, GA_ROOT)));
}

TRect WindowRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

TDRXShellFolderBrowserDialog::TDRXShellFolderBrowserDialog(HWND owner, UStringView initialPath)
    : TDRXSkinnedDialog(FormOfWindow(owner)), ownerWindow_(owner) {
  const TDRXDialogsStrs& strings = DialogsStrs();
  SetCaption(strings.FolderBrowserTitle);
  SetBorderStyle(bsSizeable);
  SetBorderIcons(biSystemMenu);
  const std::optional<TRect> remembered = TDRXFolderBrowserBounds::Remembered();
  if (remembered) {
    SetWindowPosition(remembered->TopLeft());
  } else {
    SetPosition(owner ? poOwnerFormCenter : poScreenCenter);
  }
  SetClientSize(kFolderBrowserSize.cx, kFolderBrowserSize.cy);  // the frame is taken off once it exists
  SetPadding({kFolderBrowserMargin, kFolderBrowserMargin, kFolderBrowserMargin, kFolderBrowserMargin});

  tree_ = new TDRXShellTreeView(this);
  tree_->SetName(u"tvFolders");
  tree_->SetAlign(alClient);
  tree_->SetAccessibleName(Caption());
  tree_->SetParent(this);
  TDRXCustomControl* row = AddDialogButtonRow(*this, kButtonHeight + 2 * kButtonSpace);
  row->SetPadding({0, kButtonSpace, 0, kButtonSpace});
  edit_ = new TDRXEdit(this);
  edit_->SetName(u"ePath");
  edit_->SetBounds(0, 0, Width(), kEditHeight);
  edit_->SetAlign(alBottom);
  edit_->SetMargins({0, kEditSpaceAbove, 0, kEditSpaceBelow});
  edit_->SetParent(this);
  edit_->SetTabOrder(1);  // between the tree and the buttons, though placed after the row

  newFolder_ = AddDialogButton(*row, strings.NewFolder, kButtonWidth, alLeft, mrNone);
  newFolder_->SetName(u"bNewFolder");
  newFolder_->SetEnabled(false);
  newFolder_->OnClick = [this](TDRXCustomControl&) { NewFolder(); };
  TDRXButton* cancel = AddDialogButton(*row, strings.ButtonCaptions[mbCancel], kButtonWidth, alRight, mrCancel);
  cancel->SetName(u"bCancel");
  cancel->SetCancel(true);
  TDRXButton* ok = AddDialogButton(*row, strings.ButtonCaptions[mbOK], kButtonWidth, alRight, mrOk);
  ok->SetName(u"bOk");
  ok->SetDefault(true);
  ok->SetTabOrder(1);

  // Shown until the tree focuses a folder: a path of which nothing exists stays the answer.
  edit_->SetText(initialPath);
  edit_->OnChange = [this](TDRXCustomControl&) { EditChanged(); };
  tree_->OnFocusChange = [this](TDRXCustomControl&) { TreeFocusChanged(); };
  tree_->FocusPath(initialPath);
  SetActiveControl(tree_);
}

TDRXShellFolderBrowserDialog::~TDRXShellFolderBrowserDialog() {
  tree_->OnFocusChange = nullptr;
  edit_->OnChange = nullptr;
}

void TDRXShellFolderBrowserDialog::CreateParams(TDRXCreateParams& params) {
  TDRXSkinnedDialog::CreateParams(params);
  if (!params.ParentWindow && ownerWindow_) params.ParentWindow = GetAncestor(ownerWindow_, GA_ROOT);
}

TSize TDRXShellFolderBrowserDialog::FrameSize() const {
  RECT window{}, client{};
  GetWindowRect(handle_, &window);
  GetClientRect(handle_, &client);
  return {(window.right - window.left) - client.right, (window.bottom - window.top) - client.bottom};
}

void TDRXShellFolderBrowserDialog::HandleCreated() {
  TDRXSkinnedDialog::HandleCreated();
  // The sizes are those of the whole window, frame included.
  const std::optional<TRect> remembered = TDRXFolderBrowserBounds::Remembered();
  const TSize size = remembered ? TSize{remembered->Width(), remembered->Height()}
                                : TSize{ScaleFactor().Apply(kFolderBrowserSize.cx),
                                        ScaleFactor().Apply(kFolderBrowserSize.cy)};
  const TSize frame = FrameSize();
  SetClientSize(size.cx - frame.cx, size.cy - frame.cy);
}

intptr_t TDRXShellFolderBrowserDialog::WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = {ScaleFactor().Apply(kFolderBrowserSize.cx),
                                ScaleFactor().Apply(kFolderBrowserSize.cy)};
      return 0;
    }
    case WM_SHOWWINDOW:
      // Placed by now: centred, or where it was closed last time.
      if (wParam && !openedWith_) openedWith_ = WindowRectOf(handle_);
      break;
    default:
      break;
  }
  return TDRXSkinnedDialog::WndProc(message, wParam, lParam);
}

bool TDRXShellFolderBrowserDialog::Execute() {
  const TDRXModalDialogScope modal;
  const bool ok = ShowModal() == mrOk;
  if (openedWith_ && handle_) TDRXFolderBrowserBounds::Closed(*openedWith_, WindowRectOf(handle_));
  return ok;
}

UString TDRXShellFolderBrowserDialog::Answer() const {
  return FolderBrowserAnswer(tree_->FolderFocused(), tree_->FocusedPath(), edit_->Text());
}

void TDRXShellFolderBrowserDialog::TreeFocusChanged() {
  newFolder_->SetEnabled(tree_->FolderFocused());
  if (!tree_->HasFocusedItem()) return;  // the typed text stays
  const bool showing = std::exchange(showingFocus_, true);
  edit_->SetText(tree_->FocusedPath());
  showingFocus_ = showing;
}

void TDRXShellFolderBrowserDialog::EditChanged() {
  if (!showingFocus_) tree_->ClearFocus();
}

void TDRXShellFolderBrowserDialog::NewFolder() {
  const UString& newFolder = DialogsStrs().NewFolder;
  UString name = newFolder;
  if (!TDRXInputQueryDialog::Query(this, newFolder, {}, name)) return;
  tree_->CreateFolder(Trim(name).empty() ? newFolder : name);
}

bool TDRXShellFolderBrowser::Execute(UString& path, HWND owner) {
  if (TDRXFolderBrowserLock::IsOpen()) return false;
  TDRXShellFolderBrowserDialog dialog(owner, path);
  return dialog.Execute() && TakeFolderBrowserAnswer(dialog.Answer(), path);
}
