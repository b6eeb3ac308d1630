#include "DRX.UI.Controls.ShellTreeView.h"

#include "DRX.Graphics.Colors.h"
#include "DRX.Utils.Paths.h"

std::vector<UString> FolderAndAncestors(UStringView path) {
  TDRXPathNames parts;
  std::vector<UString> folders;
  if (!SplitFullPath(path, parts)) return folders;
  for (;;) {
    folders.push_back(JoinPathNames(parts));
    if (parts.Names.empty()) return folders;
    parts.Names.pop_back();
  }
}

bool IsValidFolderName(UStringView name) {
  if (name.empty() || name.back() == u' ' || name.back() == u'.') return false;
  for (const char16_t c : name)
    if (c < 32 || UStringView(u"\\/:*?\"<>|").find(c) != UStringView::npos) return false;
  return true;  // a name of dots only ends in a dot
}

UString UniqueFolderName(UStringView name, const std::function<bool(const UString&)>& taken) {
  UString candidate(name);
  for (int64_t number = 2; number <= 9999 && taken(candidate); ++number) candidate = UString(name) + u" (" + IntToStr(number) + u")";
  return candidate;
}

// ---- TDRXStyleTreeView ----

TDRXStyleTreeView::TDRXStyleTreeView(IDRXStyleOwner* owner) : TDRXStyle(owner) {
  AddColor(tcsBackground, u"TreeView.Colors.Background");
  AddColor(tcsText, u"TreeView.Colors.Text");
  AddColor(tcsSelection, u"TreeView.Colors.Selection");
  AddColor(tcsSelectionText, u"TreeView.Colors.SelectionText");
  AddTexture(0, u"TreeView.Textures.Expand");
}

TColor TDRXStyleTreeView::Color(TDRXTreeViewColorSlot slot) const { return AlphaColorToColor(Colors(slot).Value()); }
