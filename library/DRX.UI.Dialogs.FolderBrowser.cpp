#include "DRX.UI.Dialogs.FolderBrowser.h"

namespace {

bool IsTrimmed(char16_t c) { return c < 33 || c == u'"'; }

bool gBrowserOpen = false;
std::optional<TRect> gRememberedBounds;

}  // namespace

UString FolderBrowserAnswer(bool folderFocused, const UString& focusedPath, const UString& editText) {
  if (folderFocused) return focusedPath;
  size_t first = 0, last = editText.size();
  while (first < last && IsTrimmed(editText[first])) ++first;
  while (last > first && IsTrimmed(editText[last - 1])) --last;
  return editText.substr(first, last - first);
}

bool TakeFolderBrowserAnswer(const UString& answer, UString& path) {
  if (answer.empty()) return false;
  path = answer;
  return true;
}

TDRXFolderBrowserLock::TDRXFolderBrowserLock() : acquired_(!gBrowserOpen) { gBrowserOpen = true; }

TDRXFolderBrowserLock::~TDRXFolderBrowserLock() {
  if (acquired_) gBrowserOpen = false;
}

bool TDRXFolderBrowserLock::IsOpen() { return gBrowserOpen; }

std::optional<TRect> TDRXFolderBrowserBounds::Remembered() { return gRememberedBounds; }

void TDRXFolderBrowserBounds::Closed(const TRect& openedWith, const TRect& closedWith) {
  if (openedWith == closedWith) {
    gRememberedBounds.reset();
  } else {
    gRememberedBounds = closedWith;
  }
}

void TDRXFolderBrowserBounds::Forget() { gRememberedBounds.reset(); }
