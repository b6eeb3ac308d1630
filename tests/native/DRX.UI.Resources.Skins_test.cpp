// The two default skins as the build compiled them: every identifier that the
// controls and the wizard look up resolves to the right kind, textures have
// their frames at every DPI, and the rules that the skins rely on hold.
#include <gtest/gtest.h>

#include <set>

#include "DRX.UI.Resources.Collections.h"
#include "DRX.UI.Resources.Font.h"
#include "DRX.UI.Resources.Root.h"
#include "DRX.UI.Resources.Styles.h"
#include "DRX.UI.Resources.Texture.h"
#include "DRX.UI.Resources.Values.h"
#include "TestSupport.h"

namespace {

std::unique_ptr<TDRXCustomResourceCollection> LoadSkin(UStringView name) {
  TMemoryStream stream;
  stream.LoadFromFile(CompiledSkinFile(name));
  auto skin = std::make_unique<TDRXCustomResourceCollection>();
  skin->LoadFromStream(stream);
  return skin;
}

struct TLookup {
  const char16_t* id;
  const TDRXResourceClass* resourceClass;
  int frames;  // textures only
};

const TDRXResourceClass* const kColor = &TDRXResourceColor::ClassInfo;
const TDRXResourceClass* const kFont = &TDRXResourceFont::ClassInfo;
const TDRXResourceClass* const kMargins = &TDRXResourceMargins::ClassInfo;
const TDRXResourceClass* const kInteger = &TDRXResourceInteger::ClassInfo;
const TDRXResourceClass* const kTexture = &TDRXResourceTexture::ClassInfo;

// What the controls and the wizard ask the root collection for.
const TLookup kLookups[] = {
    {u"Common.Colors.Background", kColor, 0},     {u"Common.Colors.Text", kColor, 0},
    {u"Common.Colors.TextDisabled", kColor, 0},   {u"Common.Colors.Accent", kColor, 0},
    {u"Common.Fonts.Default", kFont, 0},          {u"Common.Fonts.Bold", kFont, 0},
    {u"Common.Fonts.Disabled", kFont, 0},         {u"Buttons.Colors.Text", kColor, 0},
    {u"Buttons.Colors.TextHover", kColor, 0},     {u"Buttons.Colors.TextPressed", kColor, 0},
    {u"Buttons.Colors.TextDisabled", kColor, 0},  {u"Buttons.Textures.Button", kTexture, 5},
    {u"Buttons.Textures.Button.W11", kTexture, 5}, {u"Buttons.Textures.CheckBox", kTexture, 15},
    {u"Buttons.Textures.RadioBox", kTexture, 15}, {u"Labels.Colors.Background", kColor, 0},
    {u"Labels.Colors.TextHyperlink", kColor, 0},  {u"Labels.Colors.Line1", kColor, 0},
    {u"Labels.Colors.Line2", kColor, 0},          {u"Labels.Colors.TextShadow", kColor, 0},
    {u"Labels.Colors.Text", kColor, 0},           {u"Labels.Colors.TextDisabled", kColor, 0},
    {u"Labels.Textures.Icons", kTexture, 4},      {u"ProgressBar.Texture", kTexture, 3},
    {u"EditBox.Colors.Content", kColor, 0},       {u"EditBox.Colors.ContentDisabled", kColor, 0},
    {u"EditBox.Colors.Text", kColor, 0},          {u"EditBox.Colors.TextDisabled", kColor, 0},
    {u"EditBox.Textures.Border", kTexture, 4},    {u"Memo.Textures.Border", kTexture, 4},
    {u"ComboBox.Textures.Border", kTexture, 4},   {u"ComboBox.Textures.Arrow", kTexture, 3},
    {u"ScrollBar.Textures.Track", kTexture, 2},   {u"ScrollBar.Textures.ThumbVert", kTexture, 4},
    {u"ScrollBar.Textures.ThumbHorz", kTexture, 4}, {u"ScrollBar.Textures.Arrows", kTexture, 16},
    {u"TreeView.Colors.Background", kColor, 0},   {u"TreeView.Colors.Text", kColor, 0},
    {u"TreeView.Colors.Selection", kColor, 0},    {u"TreeView.Colors.SelectionText", kColor, 0},
    {u"TreeView.Textures.Expand", kTexture, 6},   {u"Popup.Colors.Background", kColor, 0},
    {u"Popup.Colors.Border", kColor, 0},          {u"Popup.Colors.Text", kColor, 0},
    {u"Popup.Colors.TextDisabled", kColor, 0},    {u"Popup.Colors.Selection", kColor, 0},
    {u"Popup.Colors.TextSelected", kColor, 0},    {u"Popup.Margins.Borders", kMargins, 0},
    {u"Popup.Margins.Borders.W11", kMargins, 0},  {u"Popup.Margins.CornerRadius", kInteger, 0},
    {u"Popup.Margins.CornerRadius.W11", kInteger, 0}, {u"Slider.Textures.Thumb", kTexture, 5},
    {u"Slider.Textures.Thumb.W11", kTexture, 5},  {u"Slider.Textures.Track", kTexture, 3},
};

class DefaultSkins : public ::testing::TestWithParam<const char16_t*> {};

TEST_P(DefaultSkins, EveryIdentifierResolvesToItsKind) {
  const auto skin = LoadSkin(GetParam());
  for (const TLookup& lookup : kLookups) {
    const std::string id = Utf16ToUtf8(lookup.id);
    TDRXResource* resource = skin->GetResource(lookup.id, *lookup.resourceClass);
    ASSERT_NE(resource, nullptr) << id;
    EXPECT_EQ(&resource->ClassType(), lookup.resourceClass) << id;
    if (lookup.resourceClass != kTexture) continue;
    auto* texture = static_cast<TDRXResourceTexture*>(resource);
    const TDRXSkinImageSet& set = texture->ActiveSet();
    ASSERT_EQ(set.Count(), 4) << id;
    for (int i = 0; i < set.Count(); ++i) {
      EXPECT_EQ(set.Items(i).DPI(), std::vector<int>({96, 120, 144, 192})[size_t(i)]) << id;
      EXPECT_FALSE(set.Items(i).Empty()) << id;
    }
    for (const int dpi : {96, 120, 144, 192}) {
      texture->SetTargetDPI(dpi);
      EXPECT_EQ(texture->FrameCount(), lookup.frames) << id << " at " << dpi;
      EXPECT_EQ(texture->Image().DPI(), dpi) << id;
    }
    // The frames of 144 DPI are one and a half times those of 96 DPI.
    EXPECT_EQ(set.Items(2).FrameWidth() * 2, set.Items(0).FrameWidth() * 3) << id;
    EXPECT_EQ(set.Items(2).FrameHeight() * 2, set.Items(0).FrameHeight() * 3) << id;
  }
}

TEST_P(DefaultSkins, FontsDeriveFromTheDefault) {
  const auto skin = LoadSkin(GetParam());
  const auto* font = skin->Find<TDRXResourceFont>(u"Common.Fonts.Default");
  const auto* bold = skin->Find<TDRXResourceFont>(u"Common.Fonts.Bold");
  const auto* disabled = skin->Find<TDRXResourceFont>(u"Common.Fonts.Disabled");
  EXPECT_EQ(font->Name(), u"Segoe UI");
  EXPECT_EQ(font->Height(), -11);
  EXPECT_EQ(font->Size(), 8);
  EXPECT_EQ(font->Color(), skin->Find<TDRXResourceColor>(u"Common.Colors.Text")->Value());
  EXPECT_EQ(bold->Name(), u"Segoe UI");
  EXPECT_EQ(bold->Height(), -11);
  EXPECT_EQ(bold->Style(), fsBold);
  EXPECT_EQ(disabled->Height(), -11);
  EXPECT_EQ(disabled->Style(), 0);
  EXPECT_EQ(disabled->Color(), skin->Find<TDRXResourceColor>(u"Common.Colors.TextDisabled")->Value());
  EXPECT_NE(disabled->Color(), font->Color());
}

TEST_P(DefaultSkins, PopupMarginsAndTheWindows11Variants) {
  const auto windows10 = LoadSkin(GetParam());
  const auto windows11 = LoadSkin(GetParam());
  ApplyWindows11Variants(*windows11);
  int borders = 0;
  for (int i = 0; i < windows10->Count(); ++i) borders += windows10->Items(i).ID() == u"Popup.Margins.Borders";
  EXPECT_EQ(borders, 2);
  EXPECT_EQ(windows10->Find<TDRXResourceMargins>(u"Popup.Margins.Borders")->All(), 2);  // the later item
  EXPECT_EQ(windows10->Find<TDRXResourceInteger>(u"Popup.Margins.CornerRadius")->Value(), 0);
  EXPECT_EQ(windows11->Find<TDRXResourceInteger>(u"Popup.Margins.CornerRadius")->Value(), 7);
  EXPECT_EQ(windows11->Find<TDRXResourceMargins>(u"Popup.Margins.Borders")->All(), 4);
  for (const char16_t* id : {u"Buttons.Textures.Button", u"Slider.Textures.Thumb"}) {
    auto* plain = windows10->Find<TDRXResourceTexture>(id);
    auto* rounded = windows11->Find<TDRXResourceTexture>(id);
    EXPECT_TRUE(plain->Overriden());
    EXPECT_FALSE(rounded->Overriden());
    EXPECT_EQ(&rounded->ActiveSet(), &windows11->Find<TDRXResourceTexture>(UString(id) + u".W11")->ImageSet());
  }
}

// Checked boxes and the focus ring are drawn in the skin's accent.
TEST_P(DefaultSkins, CheckedAndFocusedFramesUseTheAccent) {
  const auto skin = LoadSkin(GetParam());
  const TDRXAlphaColor accent = skin->Find<TDRXResourceColor>(u"Common.Colors.Accent")->Value();
  auto pixel = [](TDRXSkinImage& image, int frame, int x, int y) {
    image.SetPremultiplied(true);
    const TRect r = image.FrameRect(frame);
    const uint8_t* p = image.Bits() + (size_t(r.Top + y) * image.Width() + r.Left + x) * 4;
    return TDRXAlphaColor(p[3]) << 24 | TDRXAlphaColor(p[2]) << 16 | TDRXAlphaColor(p[1]) << 8 | p[0];
  };
  for (const char16_t* id : {u"Buttons.Textures.CheckBox", u"Buttons.Textures.RadioBox"}) {
    TDRXSkinImageSet& set = skin->Find<TDRXResourceTexture>(id)->ImageSet();
    for (int i = 0; i < set.Count(); ++i) {
      TDRXSkinImageSetItem& item = set.Items(i);
      const int inside = item.FrameWidth() / 5;  // in the box, off the mark
      EXPECT_EQ(pixel(item, 5, inside, item.FrameHeight() / 4), accent) << Utf16ToUtf8(id) << " " << item.DPI();
    }
  }
  TDRXSkinImageSetItem& button = skin->Find<TDRXResourceTexture>(u"Buttons.Textures.Button")->ImageSet().Items(0);
  EXPECT_EQ(pixel(button, 4, 1, 8), accent);
  EXPECT_NE(pixel(button, 0, 1, 8), accent);
}

TEST_P(DefaultSkins, ATextureWhoseIDNamesAColourFindsNoMaster) {
  const auto skin = LoadSkin(GetParam());
  TDRXResourceCollectionItem& item = skin->Add();
  item.SetResourceClassName(u"Texture");
  item.Resource()->SetID(u"Common.Colors.Text");
  EXPECT_EQ(item.Resource()->Master(), nullptr);
  item.Resource()->SetID(u"Buttons.Textures.Button");
  EXPECT_NE(item.Resource()->Master(), nullptr);
}

TEST_P(DefaultSkins, SavedAndReadAgainTheSkinStaysTheSame) {
  const auto skin = LoadSkin(GetParam());
  TMemoryStream first, second;
  skin->SaveToStream(first);
  first.SetPosition(0);
  TDRXCustomResourceCollection again;
  again.LoadFromStream(first);
  again.SaveToStream(second);
  EXPECT_EQ(first.Bytes(), second.Bytes());
  EXPECT_EQ(again.Count(), skin->Count());
}

TEST_P(DefaultSkins, TexturesScaleFromTheBestImageToTheTargetDPI) {
  const auto skin = LoadSkin(GetParam());
  auto* box = skin->Find<TDRXResourceTexture>(u"Buttons.Textures.CheckBox");
  auto* memo = skin->Find<TDRXResourceTexture>(u"Memo.Textures.Border");
  auto* edit = skin->Find<TDRXResourceTexture>(u"EditBox.Textures.Border");
  box->SetTargetDPI(168);  // drawn from the 144-DPI image, scaled by 168 / 144
  EXPECT_EQ(box->Image().DPI(), 144);
  EXPECT_EQ(box->FrameWidth(), 28);
  EXPECT_EQ(box->ToString(), u"28x28");
  box->SetScalable(TDRXBoolean::False);
  EXPECT_EQ(box->FrameWidth(), 24);
  box->SetTargetDPI(480);
  EXPECT_EQ(box->Image().DPI(), 192);
  // A texture with a master draws from the master's images and, by default, scales as the master does.
  memo->SetTargetDPI(168);
  EXPECT_FALSE(memo->Overriden());
  EXPECT_EQ(&memo->ActiveSet(), &edit->ImageSet());
  EXPECT_EQ(memo->Margins(), (TDRXMargins{7, 7, 7, 7}));  // 6 at 144 DPI
  edit->SetScalable(TDRXBoolean::False);
  EXPECT_EQ(memo->Margins(), (TDRXMargins{6, 6, 6, 6}));
  memo->SetScalable(TDRXBoolean::True);
  EXPECT_EQ(memo->Margins(), (TDRXMargins{7, 7, 7, 7}));
  memo->SetOverriden(true);  // its own images: none
  EXPECT_EQ(memo->ID(), u"");
  EXPECT_EQ(memo->ToString(), u"No Image");
}

// A style with the memo's border slot.
class TMemoBorderStyle : public TDRXStyle {
 public:
  TMemoBorderStyle() { AddTexture(0, u"Memo.Textures.Border"); }
};

TEST_P(DefaultSkins, AStyleSlotDrawsThroughTwoMasters) {
  // The slot takes the skin's "Memo.Textures.Border", which takes "EditBox.Textures.Border".
  const auto skin = LoadSkin(GetParam());
  TMemoBorderStyle style;
  style.SetCollection(skin.get());
  const TDRXResourceTexture& border = style.Textures(0);
  ASSERT_NE(border.Master(), nullptr);
  EXPECT_EQ(border.Master()->ID(), u"EditBox.Textures.Border");
  EXPECT_EQ(&border.ActiveSet(), &skin->Find<TDRXResourceTexture>(u"EditBox.Textures.Border")->ImageSet());
  EXPECT_EQ(border.FrameCount(), 4);
}

INSTANTIATE_TEST_SUITE_P(, DefaultSkins, ::testing::Values(u"light", u"dark"),
                         [](const auto& info) { return Utf16ToUtf8(info.param); });

TEST(DefaultSkinsCompared, BothSkinsHaveTheSameIdentifiersAndClasses) {
  const auto light = LoadSkin(u"light");
  const auto dark = LoadSkin(u"dark");
  ASSERT_EQ(light->Count(), dark->Count());
  for (int i = 0; i < light->Count(); ++i) {
    EXPECT_EQ(light->Items(i).ID(), dark->Items(i).ID());
    EXPECT_EQ(light->Items(i).ResourceClassName(), dark->Items(i).ResourceClassName());
  }
  EXPECT_NE(light->Find<TDRXResourceColor>(u"Common.Colors.Background")->Value(),
            dark->Find<TDRXResourceColor>(u"Common.Colors.Background")->Value());
  EXPECT_EQ(light->Find<TDRXResourceColor>(u"Common.Colors.Accent")->Value(), 0xFFDE8C33u);
  EXPECT_EQ(dark->Find<TDRXResourceColor>(u"Common.Colors.Accent")->Value(), 0xFFAC671Cu);
}

}  // namespace
