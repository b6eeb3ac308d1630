#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <wrl/client.h>

#include "DRX.UI.Controls.ShellTreeView.h"

#include "DRX.Exceptions.h"
#include "DRX.Format.h"
#include "DRX.Graphics.Colors.h"
#include "DRX.Graphics.GDIPlus.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"

using Microsoft::WRL::ComPtr;

namespace {

// Between the taller of icon and text and the row's edges, at 96 DPI.
constexpr int32_t kRowPadding = 4;

struct TPidlFree {
  void operator()(ITEMIDLIST* pidl) const { CoTaskMemFree(pidl); }
};
using TPidl = std::unique_ptr<ITEMIDLIST, TPidlFree>;

}  // namespace

// One item of the tree: its absolute shell item, and whether its sub-folders
// are in the tree already.
struct TDRXShellNode {
  TPidl Absolute;
  bool Listed = false;
};

namespace {

// The shell's objects are apartment-bound: the interface thread joins one
// the first time it makes a tree (and stays in it).
void JoinApartment() {
  thread_local const bool joined = [] {
    const HRESULT result = CoInitialize(nullptr);
    return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;
  }();
  (void)joined;
}

ComPtr<IShellFolder> DesktopFolder() {
  ComPtr<IShellFolder> desktop;
  if (FAILED(SHGetDesktopFolder(&desktop))) throw EOSError(u"The shell's desktop folder is not available.");
  return desktop;
}

// The folder object of an absolute item; the desktop for the empty one.
ComPtr<IShellFolder> BindFolder(const ITEMIDLIST* absolute) {
  ComPtr<IShellFolder> desktop = DesktopFolder();
  if (ILIsEmpty(absolute)) return desktop;
  ComPtr<IShellFolder> folder;
  if (FAILED(desktop->BindToObject(absolute, nullptr, IID_PPV_ARGS(&folder)))) return nullptr;
  return folder;
}

// The absolute item of a file-system path; none when the shell does not know it.
TPidl ParsePath(const UString& path) {
  ITEMIDLIST* pidl = nullptr;
  if (FAILED(SHParseDisplayName(W(path), nullptr, &pidl, 0, nullptr))) return nullptr;
  return TPidl(pidl);
}

UString DisplayName(IShellFolder& folder, const ITEMIDLIST* child) {
  STRRET name{};
  wchar_t* text = nullptr;
  if (FAILED(folder.GetDisplayNameOf(child, SHGDN_INFOLDER, &name)) || FAILED(StrRetToStrW(&name, child, &text)))
    return {};
  UString result = FromW(text);
  CoTaskMemFree(text);
  return result;
}

int ShellIcon(const ITEMIDLIST* absolute, UINT extra) {
  SHFILEINFOW info{};
  SHGetFileInfoW(reinterpret_cast<LPCWSTR>(absolute), 0, &info, sizeof info,
                 SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | extra);
  return info.iIcon;
}

int CALLBACK CompareInFolder(LPARAM first, LPARAM second, LPARAM folder) {
  const auto* a = reinterpret_cast<const TDRXShellNode*>(first);
  const auto* b = reinterpret_cast<const TDRXShellNode*>(second);
  const HRESULT order = reinterpret_cast<IShellFolder*>(folder)->CompareIDs(
      0, ILFindLastID(a->Absolute.get()), ILFindLastID(b->Absolute.get()));
  return SUCCEEDED(order) ? static_cast<short>(HRESULT_CODE(order)) : 0;
}
}  // namespace

// ---- TDRXInnerShellTree ----

class TDRXInnerShellTree : public TDRXInnerMemo {
 public:
  explicit TDRXInnerShellTree(TDRXShellTreeView& tree) : TDRXInnerMemo(tree), tree_(tree) {}

  HTREEITEM Focused() const { return TreeView_GetSelection(Handle()); }
  const TDRXShellNode* NodeOf(HTREEITEM item) const;
  bool FocusPath(const UString& path);
  void Focus(HTREEITEM item);
  // Lists the item's sub-folders once; the children of a listed item.
  void List(HTREEITEM item);
  // Adds a folder that was made inside a listed item.
  void AddMadeFolder(HTREEITEM parent, const UString& path);
  void ApplyColors();
  void ApplyRowHeight();

  void ChangeScale(int32_t, int32_t) override { ApplyRowHeight(); }
  bool ParentNotification(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result) override;

 protected:
  void CreateParams(TDRXSystemWindowParams& params) override;
  void HandleCreated() override;
  // Enter and Escape belong to the dialog the tree is on.
  bool KeepsKey(uint16_t) const override { return false; }

 private:
  HTREEITEM Insert(HTREEITEM parent, IShellFolder& folder, TPidl absolute);
  void Sort(HTREEITEM parent, IShellFolder& folder);
  HTREEITEM ChildLeadingTo(HTREEITEM parent, const ITEMIDLIST* target);
  intptr_t CustomDraw(NMTVCUSTOMDRAW& draw);
  // Where the item's expand button is, in the tree's client coordinates;
  // empty for the root, which has none.
  TRect ButtonCell(HTREEITEM item) const;
  void DrawExpandArrow(const NMTVCUSTOMDRAW& draw);
  // Tells the control when the focused item is another one than last time.
  void ReportFocus();

  TDRXShellTreeView& tree_;
  std::vector<std::unique_ptr<TDRXShellNode>> nodes_;
  HTREEITEM reported_ = nullptr;
};

void TDRXInnerShellTree::CreateParams(TDRXSystemWindowParams& params) {
  TDRXInnerMemo::CreateParams(params);
  params.ClassName = FromW(WC_TREEVIEWW);
  params.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL | TVS_HASBUTTONS | TVS_SHOWSELALWAYS |
                 TVS_FULLROWSELECT | TVS_NOHSCROLL;
  if (!tree_.EnabledInTree()) params.Style |= WS_DISABLED;
}

void TDRXInnerShellTree::HandleCreated() {
  JoinApartment();
  SHFILEINFOW info{};
  const auto images = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  TreeView_SetImageList(Handle(), images, TVSIL_NORMAL);
  ApplyColors();
  ITEMIDLIST* desktop = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop)))
    throw EOSError(u"The shell's desktop folder is not available.");
  const HTREEITEM root = Insert(TVI_ROOT, *DesktopFolder().Get(), TPidl(desktop));
  TreeView_Expand(Handle(), root, TVE_EXPAND);
}

const TDRXShellNode* TDRXInnerShellTree::NodeOf(HTREEITEM item) const {
  if (!item) return nullptr;
  TVITEMW data{};
  data.mask = TVIF_PARAM | TVIF_HANDLE;
  data.hItem = item;
  if (!TreeView_GetItem(Handle(), &data)) return nullptr;
  return reinterpret_cast<const TDRXShellNode*>(data.lParam);
}

HTREEITEM TDRXInnerShellTree::Insert(HTREEITEM parent, IShellFolder& folder, TPidl absolute) {
  const ITEMIDLIST* child = ILFindLastID(absolute.get());
  SFGAOF attributes = SFGAO_HASSUBFOLDER;
  if (!ILIsEmpty(absolute.get())) folder.GetAttributesOf(1, &child, &attributes);
  const UString name = ILIsEmpty(absolute.get()) ? DisplayName(*DesktopFolder().Get(), absolute.get())
                                                 : DisplayName(folder, child);
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM;
  insert.item.pszText = const_cast<wchar_t*>(W(name));
  insert.item.iImage = ShellIcon(absolute.get(), 0);
  insert.item.iSelectedImage = ShellIcon(absolute.get(), SHGFI_OPENICON);
  insert.item.cChildren = (attributes & SFGAO_HASSUBFOLDER) ? 1 : 0;
  nodes_.push_back(std::make_unique<TDRXShellNode>(TDRXShellNode{std::move(absolute)}));
  insert.item.lParam = reinterpret_cast<LPARAM>(nodes_.back().get());
  return TreeView_InsertItem(Handle(), &insert);
}

void TDRXInnerShellTree::Sort(HTREEITEM parent, IShellFolder& folder) {
  TVSORTCB sort{parent, &CompareInFolder, reinterpret_cast<LPARAM>(&folder)};
  TreeView_SortChildrenCB(Handle(), &sort, FALSE);
}

void TDRXInnerShellTree::List(HTREEITEM item) {
  auto* node = const_cast<TDRXShellNode*>(NodeOf(item));
  if (!node || node->Listed) return;
  node->Listed = true;
  ComPtr<IShellFolder> folder = BindFolder(node->Absolute.get());
  ComPtr<IEnumIDList> children;
  if (folder && folder->EnumObjects(Handle(), SHCONTF_FOLDERS, &children) == S_OK && children) {
    ITEMIDLIST* child = nullptr;
    while (children->Next(1, &child, nullptr) == S_OK) {
      const TPidl relative(child);
      SFGAOF attributes = SFGAO_FOLDER | SFGAO_STREAM;
      const ITEMIDLIST* one = relative.get();
      // Archives are folders to the shell but files to a person.
      if (FAILED(folder->GetAttributesOf(1, &one, &attributes)) || !(attributes & SFGAO_FOLDER) ||
          (attributes & SFGAO_STREAM))
        continue;
      Insert(item, *folder.Get(), TPidl(ILCombine(node->Absolute.get(), relative.get())));
    }
    Sort(item, *folder.Get());
  }
  if (!TreeView_GetChild(Handle(), item)) {
    TVITEMW none{};
    none.mask = TVIF_CHILDREN | TVIF_HANDLE;
    none.hItem = item;
    TreeView_SetItem(Handle(), &none);
  }
}

void TDRXInnerShellTree::AddMadeFolder(HTREEITEM parent, const UString& path) {
  const TDRXShellNode* node = NodeOf(parent);
  if (!node) return;
  if (!node->Listed) {
    TVITEMW some{};
    some.mask = TVIF_CHILDREN | TVIF_HANDLE;
    some.hItem = parent;
    some.cChildren = 1;
    TreeView_SetItem(Handle(), &some);
    return;  // listed with the others when it is expanded
  }
  TPidl absolute = ParsePath(path);
  ComPtr<IShellFolder> folder = BindFolder(node->Absolute.get());
  if (!absolute || !folder) return;
  Insert(parent, *folder.Get(), std::move(absolute));
  Sort(parent, *folder.Get());
}

HTREEITEM TDRXInnerShellTree::ChildLeadingTo(HTREEITEM parent, const ITEMIDLIST* target) {
  List(parent);
  for (HTREEITEM child = TreeView_GetChild(Handle(), parent); child; child = TreeView_GetNextSibling(Handle(), child))
    if (const TDRXShellNode* node = NodeOf(child); node && ILIsParent(node->Absolute.get(), target, FALSE))
      return child;
  return nullptr;
}

bool TDRXInnerShellTree::FocusPath(const UString& path) {
  const std::vector<UString> folders = FolderAndAncestors(path);
  for (size_t i = 0; i < folders.size(); ++i) {
    const TPidl target = DirectoryExists(folders[i]) ? ParsePath(folders[i]) : nullptr;
    if (!target) continue;
    HTREEITEM item = TreeView_GetRoot(Handle());
    while (item && !ILIsEqual(NodeOf(item)->Absolute.get(), target.get())) {
      const HTREEITEM next = ChildLeadingTo(item, target.get());
      if (!next) break;
      TreeView_Expand(Handle(), item, TVE_EXPAND);
      item = next;
    }
    if (item && ILIsEqual(NodeOf(item)->Absolute.get(), target.get())) {
      Focus(item);
      return i == 0;
    }
  }
  Focus(nullptr);
  return false;
}

void TDRXInnerShellTree::Focus(HTREEITEM item) {
  TreeView_SelectItem(Handle(), item);
  if (item) TreeView_EnsureVisible(Handle(), item);
  Memo().UpdateScrollBars();
  ReportFocus();
}

void TDRXInnerShellTree::ReportFocus() {
  // Selecting sends its own notification on some systems and not on others.
  if (Focused() == reported_) return;
  reported_ = Focused();
  tree_.FocusChanged();
}

void TDRXInnerShellTree::ApplyColors() {
  const TDRXStyleTreeView& style = tree_.TreeStyle();
  TreeView_SetBkColor(Handle(), style.Color(tcsBackground));
  TreeView_SetTextColor(Handle(), style.Color(tcsText));
  TreeView_SetLineColor(Handle(), style.Color(tcsText));
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TDRXInnerShellTree::ApplyRowHeight() {
  if (!Handle()) return;
  const int32_t icon = GetSystemMetrics(SM_CYSMICON);
  const int32_t row = std::max(icon, tree_.FontLineHeight()) + tree_.ScaleFactor().Apply(kRowPadding);
  TreeView_SetItemHeight(Handle(), row);
  Memo().UpdateScrollBars();
}

TRect TDRXInnerShellTree::ButtonCell(HTREEITEM item) const {
  int level = 0;
  for (HTREEITEM parent = TreeView_GetParent(Handle(), item); parent; parent = TreeView_GetParent(Handle(), parent))
    ++level;
  RECT row{};
  if (level == 0 || !TreeView_GetItemRect(Handle(), item, &row, FALSE)) return {};
  // Without lines at the root, the root has no button and each level below
  // has its button in the indent before its icon.
  const int32_t indent = TreeView_GetIndent(Handle());
  const int32_t left = row.left + indent * (level - 1);
  return {left, row.top, left + indent, row.bottom};
}

void TDRXInnerShellTree::DrawExpandArrow(const NMTVCUSTOMDRAW& draw) {
  const auto item = reinterpret_cast<HTREEITEM>(draw.nmcd.dwItemSpec);
  TVITEMW data{};
  data.mask = TVIF_CHILDREN | TVIF_STATE | TVIF_HANDLE;
  data.stateMask = TVIS_EXPANDED;
  data.hItem = item;
  const TRect cell = ButtonCell(item);
  if (cell.IsEmpty() || !TreeView_GetItem(Handle(), &data) || data.cChildren == 0) return;
  TDRXStyleTreeView& style = tree_.TreeStyle();
  const bool selected = (draw.nmcd.uItemState & CDIS_SELECTED) != 0;
  FillRectInColor(draw.nmcd.hdc, cell, style.Colors(selected ? tcsSelection : tcsBackground).Value());
  const int32_t frame = tree_.EnabledInTree() ? tefNormal : tefDisabled;
  style.Expand().Draw(draw.nmcd.hdc, cell, (data.state & TVIS_EXPANDED) ? tefExpanded + frame : frame);
}

intptr_t TDRXInnerShellTree::CustomDraw(NMTVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      tree_.TreeStyle().SetTargetDPI(tree_.CurrentDPI());
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      const TDRXStyleTreeView& style = tree_.TreeStyle();
      const bool selected = (draw.nmcd.uItemState & CDIS_SELECTED) != 0;
      draw.clrText = style.Color(selected ? tcsSelectionText : tcsText);
      draw.clrTextBk = style.Color(selected ? tcsSelection : tcsBackground);
      return CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT;
    }
    case CDDS_ITEMPOSTPAINT:
      // The system's plus and minus boxes give way to the skin's arrows.
      DrawExpandArrow(draw);
      return CDRF_DODEFAULT;
    default:
      return CDRF_DODEFAULT;
  }
}

bool TDRXInnerShellTree::ParentNotification(uint32_t message, uintptr_t, intptr_t lParam, intptr_t& result) {
  if (message != WM_NOTIFY) return false;
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  switch (header->code) {
    case TVN_ITEMEXPANDINGW: {
      const auto* change = reinterpret_cast<NMTREEVIEWW*>(lParam);
      if (change->action & TVE_EXPAND) List(change->itemNew.hItem);
      result = FALSE;
      return true;
    }
    case TVN_ITEMEXPANDEDW:
      Memo().UpdateScrollBars();
      return false;
    case TVN_SELCHANGEDW:
      ReportFocus();
      return false;
    case NM_CUSTOMDRAW:
      result = CustomDraw(*reinterpret_cast<NMTVCUSTOMDRAW*>(lParam));
      return true;
    default:
      return false;
  }
}

// ---- TDRXShellTreeView ----

TDRXShellTreeView::TDRXShellTreeView(TDRXComponent* owner) : TDRXMemo(owner), treeStyle_(this) {
  SetScrollBars(ssVertical);
}

TDRXShellTreeView::~TDRXShellTreeView() = default;

std::unique_ptr<TDRXInnerMemo> TDRXShellTreeView::CreateInnerControl() {
  return std::make_unique<TDRXInnerShellTree>(*this);
}

TDRXInnerShellTree* TDRXShellTreeView::Tree() const {
  auto* tree = static_cast<TDRXInnerShellTree*>(InnerControl());
  return tree && tree->Handle() ? tree : nullptr;
}

HWND TDRXShellTreeView::TreeHandle() const { return Tree() ? Tree()->Handle() : nullptr; }

bool TDRXShellTreeView::AccessibleItem(TDRXAccessibleItem& item) const {
  item.Role = TDRXAccessibleRole::Pane;  // the system's tree inside is the outline
  return true;
}

void TDRXShellTreeView::HandleCreated() {
  TDRXMemo::HandleCreated();
  treeStyle_.SetTargetDPI(CurrentDPI());
  if (TDRXInnerShellTree* tree = Tree()) {
    tree->ApplyRowHeight();
    if (!pendingPath_.empty()) tree->FocusPath(std::exchange(pendingPath_, {}));
  }
}

void TDRXShellTreeView::StyleChanged(TDRXStyle& style) {
  if (&style != &treeStyle_) return TDRXMemo::StyleChanged(style);
  if (TDRXInnerShellTree* tree = Tree()) tree->ApplyColors();
}

bool TDRXShellTreeView::FocusPath(UStringView path) {
  TDRXInnerShellTree* tree = Tree();
  if (!tree) {
    pendingPath_ = UString(path);
    return false;
  }
  return tree->FocusPath(UString(path));
}

UString TDRXShellTreeView::FocusedPath() const {
  const TDRXInnerShellTree* tree = Tree();
  const TDRXShellNode* node = tree ? tree->NodeOf(tree->Focused()) : nullptr;
  wchar_t path[MAX_PATH] = {};
  if (!node || ILIsEmpty(node->Absolute.get()) || !SHGetPathFromIDListW(node->Absolute.get(), path)) return {};
  return FromW(path);
}

bool TDRXShellTreeView::HasFocusedItem() const { return Tree() && Tree()->Focused(); }

void TDRXShellTreeView::ClearFocus() {
  if (TDRXInnerShellTree* tree = Tree()) tree->Focus(nullptr);
}

UString TDRXShellTreeView::CreateFolder(UStringView name) {
  if (!IsValidFolderName(name))
    throw EInvalidOperation(Format(u"A folder cannot be called \"%s\".", {UString(name)}));
  const UString parent = FocusedPath();
  TDRXInnerShellTree* tree = Tree();
  if (parent.empty() || !tree) throw EInvalidOperation(u"No folder is selected to make the new folder in.");
  const UString base = IncludeTrailingBackslash(parent);
  const UString path = base + UniqueFolderName(name, [&](const UString& candidate) {
                         return GetFileAttributesW(W(base + candidate)) != INVALID_FILE_ATTRIBUTES;
                       });
  if (!CreateDirectoryW(W(path), nullptr)) throw EOSError(GetLastError(), path);
  tree->AddMadeFolder(tree->Focused(), path);
  tree->FocusPath(path);
  return path;
}

void TDRXShellTreeView::FocusChanged() {
  if (OnFocusChange) OnFocusChange(*this);
}
