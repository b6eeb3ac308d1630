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
