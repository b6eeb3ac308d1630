// The formatted label drawn by its parent into a 32-bit DIB with the default
// skins, and its links clicked.
#include <windows.h>

#include <gtest/gtest.h>

#include "AccessibleTree.h"
#include "DRX.Graphics.GDI.h"
#include "DRX.UI.Controls.FormattedLabel.h"
#include "DRX.UI.Forms.h"
#include "TestSkins.h"

namespace {

constexpr COLORREF kPaper = RGB(255, 255, 255);

class FormattedLabel : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    UseDefaultSkin(GetParam());
    TFont font;
    font.Name = u"DejaVu Sans";  // a host font Wine finds through fontconfig
    font.Height = -16;
    host.SetFont(font);
    host.SetBounds(0, 0, 420, 100);
    label = new TDRXFormattedLabel(&host);
    label->SetParent(&host);
    label->SetBounds(10, 10, 400, 80);
  }
  void TearDown() override { UseDefaultSkin(false); }

  COLORREF SkinColor(UStringView id) const { return AlphaColorToColor(RootSkinColor(id)); }
  void Paint() {
    const RECT all{0, 0, dib.Width(), dib.Height()};
    SetBkColor(dib.DC(), kPaper);
    ExtTextOutW(dib.DC(), 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    host.PaintTo(dib.DC());
  }
  // A block's place, once the layout is calculated.
  const TRect& Block(size_t index) {
    TDRXTextLayout& layout = label->TextLayout().Layout();
    layout.Rows();
    return layout.Blocks().at(index)->Bounds;
  }
  // In the label's client coordinates.
  int Count(TRect rect, COLORREF color) const {
    rect.Offset(label->Left(), label->Top());
    int count = 0;
    for (int y = rect.Top; y < rect.Bottom; ++y)
      for (int x = rect.Left; x < rect.Right; ++x) count += dib.Pixel(x, y) == color;
    return count;
  }
  int Ink(const TRect& rect) const { return rect.Width() * rect.Height() - Count(rect, kPaper); }

  TDRXCustomControl host;
  TDRXFormattedLabel* label = nullptr;
  TDRXDIBCanvas dib{420, 100};
};

TEST_P(FormattedLabel, ABoldRunIsWiderAndALinkIsInTheStylesLinkColour) {
  label->SetCaption(u"[b]Ovix Setup[/b] Ovix Setup [url=https://ovix.example/help]help[/url]");
  Paint();
  // blocks: <b> Ovix _ Setup </b> _ Ovix _ Setup _ <url> help </url>
  const TRect bold = Block(1).Union(Block(3));
  const TRect regular = Block(6).Union(Block(8));
  EXPECT_GT(bold.Width(), regular.Width());
  EXPECT_GT(Ink(bold), Ink(regular));
  const COLORREF text = SkinColor(u"Labels.Colors.Text");
  EXPECT_GT(Count(regular, text), 0);
  const COLORREF link = SkinColor(u"Labels.Colors.TextHyperlink");
  ASSERT_NE(link, text);
  EXPECT_GT(Count(Block(11), link), 20);
  EXPECT_EQ(Count(Block(11), text), 0);
  EXPECT_EQ(Count(regular, link), 0);
}

TEST_P(FormattedLabel, AClickOnALinkRunsOnLinkExecuteWithItsTarget) {
  label->SetCaption(u"Read [url=https://ovix.example/help]the help[/url] first");
  std::vector<UString> executed;
  label->OnLinkExecute = [&](TDRXFormattedLabel& sender, const UString& target) {
    EXPECT_EQ(&sender, label);
    executed.push_back(target);
  };
  // blocks: Read _ <url> the _ help </url> _ first
  const TRect help = Block(5);
  const TPoint inLink{help.Left + 2, help.Top + help.Height() / 2};
  // The parent routes the click by hit test, in the label's coordinates.
  TPoint local;
  ASSERT_EQ(host.WindowlessControlAt({label->Left() + inLink.X, label->Top() + inLink.Y}, local), label);
  EXPECT_EQ(local, inLink);
  label->MouseDown(mbLeft, 0, inLink.X, inLink.Y);
  label->MouseUp(mbLeft, 0, inLink.X + 1, inLink.Y);
  EXPECT_EQ(executed, std::vector<UString>{u"https://ovix.example/help"});
  // Outside the link, or down on the link and up elsewhere: nothing.
  const TRect first = Block(8);
  label->MouseDown(mbLeft, 0, first.Left + 2, first.Top + 2);
  label->MouseUp(mbLeft, 0, first.Left + 2, first.Top + 2);
  label->MouseDown(mbLeft, 0, inLink.X, inLink.Y);
  label->MouseUp(mbLeft, 0, first.Left + 2, first.Top + 2);
  EXPECT_EQ(executed.size(), 1u);
  // Without a handler the shell opens the target.
  label->OnLinkExecute = nullptr;
  std::vector<UString> opened;
  SetShellOpenHandler([&](const UString& target) { opened.push_back(target); });
  label->MouseDown(mbLeft, 0, inLink.X, inLink.Y);
  label->MouseUp(mbLeft, 0, inLink.X, inLink.Y);
  SetShellOpenHandler({});
  EXPECT_EQ(opened, std::vector<UString>{u"https://ovix.example/help"});
}

TEST_P(FormattedLabel, FixedSizeEndsInAnEllipsisAutoScrollGrows) {
  label->SetBounds(10, 10, 120, 20);
  label->SetCaption(u"one two three four five six seven eight nine ten");
  EXPECT_TRUE(label->TextLayout().Layout().IsTruncated());
  EXPECT_LE(label->TextLayout().Layout().GetSize().cx, 120);
  label->SetAutoScroll(true);
  EXPECT_FALSE(label->TextLayout().Layout().IsTruncated());
  EXPECT_GT(label->Height(), 40);
  EXPECT_EQ(label->Height(), label->TextLayout().TextHeight());
  label->SetBorders(true);
  EXPECT_EQ(label->Height(), label->TextLayout().TextHeight() + 2);
  Paint();
  EXPECT_EQ(dib.Pixel(label->Left(), label->Top() + 5), SkinColor(u"Labels.Colors.Line1"));
  EXPECT_EQ(dib.Pixel(label->Left() + label->Width() - 1, label->Top() + 5), SkinColor(u"Labels.Colors.Line1"));
}

TEST(FormattedLabelOnAForm, TheWindowRoutesAClickOnTheLinkToOnLinkExecute) {
  UseDefaultSkin(false);
  TDRXForm form;
  form.SetBorderStyle(bsSingle);
  form.SetClientSize(420, 100);
  auto* label = new TDRXFormattedLabel(&form);
  label->SetParent(&form);
  label->SetBounds(10, 20, 400, 40);
  label->SetCaption(u"Read [url=https://ovix.example/help]the help[/url] first");
  std::vector<UString> executed;
  label->OnLinkExecute = [&](TDRXFormattedLabel&, const UString& target) { executed.push_back(target); };
  form.Show();
  TDRXTextLayout& layout = label->TextLayout().Layout();
  layout.Rows();
  const TRect help = layout.Blocks().at(5)->Bounds;  // Read _ <url> the _ help
  const LPARAM onLink = MAKELPARAM(label->Left() + help.Left + 2, label->Top() + help.Top + help.Height() / 2);
  const LPARAM offLink = MAKELPARAM(label->Left() + 2, label->Top() + 2);
  SendMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, offLink);
  SendMessageW(form.Handle(), WM_LBUTTONUP, 0, offLink);
  EXPECT_TRUE(executed.empty());
  SendMessageW(form.Handle(), WM_MOUSEMOVE, 0, onLink);
  SendMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, onLink);
  SendMessageW(form.Handle(), WM_LBUTTONUP, 0, onLink);
  EXPECT_EQ(executed, std::vector<UString>{u"https://ovix.example/help"});

  // Readers find the link after the text and follow it.
  CoInitialize(nullptr);
  const TAccessibleNode tree = ReadAccessibleTree(form.Handle());
  const TAccessibleNode* link = FindAccessible(tree, ROLE_SYSTEM_LINK, u"the help");
  ASSERT_NE(link, nullptr) << DumpAccessibleTree(tree);
  EXPECT_EQ(link->Value, u"https://ovix.example/help");
  EXPECT_NE(FindAccessible(tree, ROLE_SYSTEM_STATICTEXT, u"Read the help first"), nullptr);
  ASSERT_TRUE(link->DoDefaultAction());
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  EXPECT_EQ(executed.size(), 2u);
  CoUninitialize();
}

INSTANTIATE_TEST_SUITE_P(Theme, FormattedLabel, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Dark" : "Light"; });

}  // namespace
