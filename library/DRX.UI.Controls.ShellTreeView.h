#pragma once
// The shell tree: the shell's folder namespace (the desktop, This PC, the
// drives and their folders) as a tree whose folders are listed when they are
// first expanded. The rules about paths and names are portable; the control
// (TDRXShellTreeView, Windows only, below) draws the system's tree view in the
// skin's colours inside the memo's skinned border and scroll bars.

#include <functional>
#include <vector>

#include "DRX.Graphics.Types.h"
#include "DRX.Strings.h"
#include "DRX.UI.Resources.Styles.h"

// The folder and the folders above it, the folder first, as full paths
// ("C:\a\b", "C:\a", "C:\"); none for a path that is not a full one or whose
// names cannot be taken apart (see SplitFullPath).
std::vector<UString> FolderAndAncestors(UStringView path);

// Whether a new folder may be called so: not empty, no character the file
// system refuses (controls, \ / : * ? " < > |), not made only of dots, and not
// ending in a space or a dot (Windows would cut them off silently).
bool IsValidFolderName(UStringView name);

// The name a new folder gets when `name` is taken already: "name (2)",
// "name (3)", ... the first one `taken` denies; `name` itself when it is free.
// After "name (9999)" the search gives up and answers that one.
UString UniqueFolderName(UStringView name, const std::function<bool(const UString&)>& taken);

// The colour slots of the tree ("TreeView.Colors.*").
enum TDRXTreeViewColorSlot : uint8_t { tcsBackground, tcsText, tcsSelection, tcsSelectionText };

// Frames of the expand texture ("TreeView.Textures.Expand"): normal, hover and
// disabled pointing right (collapsed), then the same pointing down (expanded).
enum TDRXTreeExpandFrame : uint8_t { tefNormal, tefHover, tefDisabled, tefExpanded };

class TDRXStyleTreeView : public TDRXStyle {
 public:
  explicit TDRXStyleTreeView(IDRXStyleOwner* owner = nullptr);
  TColor Color(TDRXTreeViewColorSlot slot) const;
  TDRXResourceTexture& Expand() const { return Textures(0); }
};

#ifdef _WIN32
#include <memory>

#include "DRX.UI.Controls.Memo.h"

class TDRXShellTreeView;

// The shell tree's inner window: the system's tree view ("SysTreeView32")
// with the skin's expand arrows over its buttons, the shell's small icons
// and full-row selection, listing a folder's sub-folders when it is expanded
// for the first time.
class TDRXInnerShellTree;

// The shell tree. Its root is the desktop; a folder is "focused" when it is
// the tree's selected item (the keyboard focus may be elsewhere). It is a
// memo for its border and scroll bars only: the memo's text means nothing here.
class TDRXShellTreeView : public TDRXMemo {
 public:
  explicit TDRXShellTreeView(TDRXComponent* owner = nullptr);
  ~TDRXShellTreeView() override;
  UString ClassName() const override { return u"TDRXShellTreeView"; }

  // Expands the tree down to the folder and focuses it; a folder that does not
  // exist focuses the deepest one above it that does; nothing is focused when
  // no part of the path exists. Before the window exists, it is done when the
  // window is made. True when the folder itself got the focus.
  bool FocusPath(UStringView path);
  // The focused item's file-system path; empty when nothing or a virtual
  // folder (This PC, the network) is focused.
  UString FocusedPath() const;
  // A file-system folder is focused.
  bool FolderFocused() const { return !FocusedPath().empty(); }
  // Whether any item (a virtual folder too) is focused.
  bool HasFocusedItem() const;
  // Takes the focus from every item.
  void ClearFocus();
  // Makes a sub-folder of the focused folder and focuses it; a name that is
  // taken gets " (2)", " (3)" ... as Explorer does. Raises EInvalidOperation
  // without a focused folder or for a name the file system refuses, EOSError
  // when the folder cannot be made. Returns the new folder's path.
  UString CreateFolder(UStringView name);

  // After the focused item changed, whatever changed it.
  TDRXNotifyEvent OnFocusChange;

  // The system tree view; none before the control has a window.
  HWND__* TreeHandle() const;
  // Readers see a pane holding the system's tree view.
  bool AccessibleItem(TDRXAccessibleItem& item) const override;
  TDRXStyleTreeView& TreeStyle() { return treeStyle_; }

 protected:
  std::unique_ptr<TDRXInnerMemo> CreateInnerControl() override;
  void HandleCreated() override;
  void StyleChanged(TDRXStyle& style) override;

 private:
  friend class TDRXInnerShellTree;
  TDRXInnerShellTree* Tree() const;
  void FocusChanged();

  TDRXStyleTreeView treeStyle_;
  UString pendingPath_;  // focused once the window exists
};
#endif
