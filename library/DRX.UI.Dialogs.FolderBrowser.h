#pragma once
// The folder browser: a dialog of the shell's folders with an edit for a typed
// path, one at a time per process, that remembers its bounds while the
// process runs. The rules of its answer, its size and its memory are portable.

#include <optional>

#include "DRX.Graphics.Types.h"
#include "DRX.Strings.h"

// The dialog's size at 96 DPI, also its minimum size, and the margin inside it.
inline constexpr TSize kFolderBrowserSize{360, 450};
inline constexpr int32_t kFolderBrowserMargin = 7;

// The answer of a dialog closed with OK: the focused folder's path while a
// folder is focused; otherwise the edit's text without the white space and
// double quotes around it.
UString FolderBrowserAnswer(bool folderFocused, const UString& focusedPath, const UString& editText);
// What Execute does with an answer: replaces `path` and gives true only when
// the answer is not empty.
bool TakeFolderBrowserAnswer(const UString& answer, UString& path);

// Marks the process's folder browser as open for as long as it lives; a second
// one while the first lives is not Acquired.
class TDRXFolderBrowserLock {
 public:
  TDRXFolderBrowserLock();
  ~TDRXFolderBrowserLock();
  TDRXFolderBrowserLock(const TDRXFolderBrowserLock&) = delete;
  TDRXFolderBrowserLock& operator=(const TDRXFolderBrowserLock&) = delete;
  bool Acquired() const { return acquired_; }
  static bool IsOpen();

 private:
  bool acquired_;
};

// The bounds the folder browser opens with: the ones it was last closed with
// in this process, none before that (it is then centred on its owner at its
// default size). Closing with the bounds it opened with forgets them.
class TDRXFolderBrowserBounds {
 public:
  static std::optional<TRect> Remembered();
  static void Closed(const TRect& openedWith, const TRect& closedWith);
  static void Forget();
};

#ifdef _WIN32
#include "DRX.UI.Dialogs.h"

class TDRXShellTreeView;

// The folder browser's dialog: the shell tree, under it an edit showing the
// focused folder (typing in it takes the focus from the tree, so that the
// typed path is the answer), and a row with "New folder" at the left and OK
// and Cancel at the right; Enter means OK, Esc Cancel. Titled with the
// dialog strings' folder-browser title, owned by the form that holds `owner`
// (or by the window itself when no form of the library holds it), centred on
// it at 360 × 450 (scaled; also the least size it can be sized to) unless it
// was closed elsewhere earlier in the process. While it lives, the
// process's folder browser counts as open.
class TDRXShellFolderBrowserDialog : public TDRXSkinnedDialog {
 public:
  TDRXShellFolderBrowserDialog(HWND__* owner, UStringView initialPath);
  ~TDRXShellFolderBrowserDialog() override;
  UString ClassName() const override { return u"TDRXShellFolderBrowserDialog"; }

  // Shows the dialog modally and remembers where it was closed; true on OK.
  bool Execute();
  // What the dialog answers when closed with OK (FolderBrowserAnswer).
  UString Answer() const;

  TDRXShellTreeView& Tree() const { return *tree_; }
  TDRXEdit& Edit() const { return *edit_; }
  TDRXButton& NewFolderButton() const { return *newFolder_; }
  // What the new-folder button does: asks for a name (TDRXInputQueryDialog,
  // titled and pre-filled with the new-folder string) and makes the folder
  // in the focused one; an empty answer makes one of the new-folder string.
  void NewFolder();

  intptr_t WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

 protected:
  void CreateParams(TDRXCreateParams& params) override;
  void HandleCreated() override;

 private:
  void TreeFocusChanged();
  void EditChanged();
  // The window's size for a client area, and the other way round.
  TSize FrameSize() const;

  TDRXFolderBrowserLock lock_;
  HWND__* ownerWindow_;
  TDRXShellTreeView* tree_;
  TDRXEdit* edit_;
  TDRXButton* newFolder_;
  bool showingFocus_ = false;
  std::optional<TRect> openedWith_;
};

class TDRXShellFolderBrowser {
 public:
  // Lets the user pick a folder, starting at `path`, in a dialog owned by the
  // form of `owner` (none: unowned). False at once while another folder
  // browser is open; false on Cancel and for an empty answer. Otherwise
  // `path` becomes the answer and the result is true.
  static bool Execute(UString& path, HWND__* owner);
};
#endif
