// The shell tree on a real form: focusing paths (missing ones included),
// making folders, and the skin's colours.
#include "DRX.UI.Controls.ShellTreeView.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "DRX.Exceptions.h"
#include "DRX.Graphics.GDI.h"
#include "DRX.UI.Forms.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "TestSkins.h"
#include "TestSupport.h"

namespace {

class ShellTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseDefaultSkin(false);
    form = std::make_unique<TDRXForm>();
    form->SetClientSize(300, 400);
    tree = new TDRXShellTreeView(form.get());
    tree->SetBounds(0, 0, 300, 400);
    tree->OnFocusChange = [this](TDRXCustomControl&) { ++focusChanges; };
    tree->SetParent(form.get());
    form->Handle();
    ASSERT_NE(tree->TreeHandle(), nullptr);
  }
  // The focused item's text as the tree shows it.
  UString FocusedText() {
    wchar_t text[MAX_PATH] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = TreeView_GetSelection(tree->TreeHandle());
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    if (!item.hItem || !TreeView_GetItem(tree->TreeHandle(), &item)) return {};
    return FromW(text);
  }

  std::unique_ptr<TDRXForm> form;
  TDRXShellTreeView* tree = nullptr;
  int focusChanges = 0;
  TTempFolder temp;
};

}  // namespace

TEST_F(ShellTreeTest, TheDesktopIsTheRootAndNothingIsFocusedAtFirst) {
  const HTREEITEM root = TreeView_GetRoot(tree->TreeHandle());
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(TreeView_GetNextSibling(tree->TreeHandle(), root), nullptr);
  EXPECT_NE(TreeView_GetChild(tree->TreeHandle(), root), nullptr) << "the desktop's folders are listed";
  EXPECT_FALSE(tree->HasFocusedItem());
  EXPECT_EQ(tree->FocusedPath(), u"");
}

TEST_F(ShellTreeTest, FocusingAPathExpandsDownToItAndReportsIt) {
  const UString system32 = u"C:\\windows\\system32";
  EXPECT_TRUE(tree->FocusPath(system32));
  EXPECT_TRUE(IsSamePath(tree->FocusedPath(), system32)) << Utf16ToUtf8(tree->FocusedPath());
  EXPECT_TRUE(tree->FolderFocused());
  EXPECT_EQ(UpperCaseAscii(FocusedText()), u"SYSTEM32") << Utf16ToUtf8(FocusedText());
  EXPECT_EQ(focusChanges, 1);
  const HTREEITEM parent = TreeView_GetParent(tree->TreeHandle(), TreeView_GetSelection(tree->TreeHandle()));
  EXPECT_TRUE(TreeView_GetItemState(tree->TreeHandle(), parent, TVIS_EXPANDED) & TVIS_EXPANDED);

  tree->ClearFocus();
  EXPECT_FALSE(tree->HasFocusedItem());
  EXPECT_EQ(tree->FocusedPath(), u"");
  EXPECT_EQ(focusChanges, 2);
}

TEST_F(ShellTreeTest, AMissingPathFocusesItsDeepestExistingFolder) {
  ASSERT_TRUE(CreateDirectoryW(W(temp.File(u"there")), nullptr));
  const UString there = temp.File(u"there");
  struct {
    UString path, focused;
    bool exact;
  } cases[] = {
      {temp.File(u"there\\missing\\deeper"), there, false},
      {temp.File(u"there\\"), there, true},
      {u"relative\\folder", u"", false},
      {u"", u"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(tree->FocusPath(c.path), c.exact) << Utf16ToUtf8(c.path);
    EXPECT_TRUE(c.focused.empty() ? tree->FocusedPath().empty() : IsSamePath(tree->FocusedPath(), c.focused))
        << Utf16ToUtf8(c.path) << " focused " << Utf16ToUtf8(tree->FocusedPath());
  }
}

TEST_F(ShellTreeTest, ANewFolderIsMadeOnDiskAndFocusedATakenNameGetsANumber) {
  ASSERT_TRUE(tree->FocusPath(temp.Path()));
  const UString first = tree->CreateFolder(u"New folder");
  EXPECT_TRUE(IsSamePath(first, temp.File(u"New folder")));
  EXPECT_TRUE(DirectoryExists(first));
  EXPECT_TRUE(IsSamePath(tree->FocusedPath(), first));
  EXPECT_EQ(FocusedText(), u"New folder");

  ASSERT_TRUE(tree->FocusPath(temp.Path()));  // its folders are listed now: the next one joins them
  const UString second = tree->CreateFolder(u"New folder");
  EXPECT_TRUE(IsSamePath(second, temp.File(u"New folder (2)")));
  EXPECT_TRUE(DirectoryExists(second));
  EXPECT_TRUE(IsSamePath(tree->FocusedPath(), second));
  const HTREEITEM parent = TreeView_GetParent(tree->TreeHandle(), TreeView_GetSelection(tree->TreeHandle()));
  int children = 0;
  for (HTREEITEM child = TreeView_GetChild(tree->TreeHandle(), parent); child;
       child = TreeView_GetNextSibling(tree->TreeHandle(), child))
    ++children;
  EXPECT_EQ(children, 2);
}

TEST_F(ShellTreeTest, NoFolderToMakeItInOrANameTheFileSystemRefusesIsAnError) {
  EXPECT_THROW(tree->CreateFolder(u"x"), EInvalidOperation) << "nothing focused";
  ASSERT_TRUE(tree->FocusPath(temp.Path()));
  for (const UString name : {u"", u"a\\b", u"what?", u"dot."}) EXPECT_THROW(tree->CreateFolder(name), EInvalidOperation);
  EXPECT_TRUE(IsSamePath(tree->FocusedPath(), temp.Path())) << "the focus stays";
}

TEST_F(ShellTreeTest, TheTreeIsDrawnInTheSkinsColoursLightAndDark) {
  const HWND handle = tree->TreeHandle();
  ASSERT_TRUE(tree->FocusPath(u"C:\\windows\\system32"));
  const HTREEITEM focused = TreeView_GetSelection(handle);
  RECT selectedRow{}, otherRow{}, client{};
  ASSERT_TRUE(TreeView_GetItemRect(handle, focused, &selectedRow, FALSE));
  ASSERT_TRUE(TreeView_GetItemRect(handle, TreeView_GetParent(handle, focused), &otherRow, FALSE));
  GetClientRect(handle, &client);
  for (const bool dark : {false, true}) {
    UseDefaultSkin(dark);
    const COLORREF background = AlphaColorToColor(RootSkinColor(u"TreeView.Colors.Background"));
    const COLORREF selection = AlphaColorToColor(RootSkinColor(u"TreeView.Colors.Selection"));
    EXPECT_EQ(TreeView_GetBkColor(handle), background);
    EXPECT_EQ(TreeView_GetTextColor(handle), AlphaColorToColor(RootSkinColor(u"TreeView.Colors.Text")));
    TDRXDIBCanvas canvas(client.right, client.bottom);
    SendMessageW(handle, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.DC()), PRF_CLIENT | PRF_ERASEBKGND);
    // The rows' right ends, past any text: the focused one in the selection colour.
    EXPECT_EQ(canvas.Pixel(selectedRow.right - 3, (selectedRow.top + selectedRow.bottom) / 2), selection) << dark;
    EXPECT_EQ(canvas.Pixel(otherRow.right - 3, (otherRow.top + otherRow.bottom) / 2), background) << dark;
  }
  UseDefaultSkin(false);
}
