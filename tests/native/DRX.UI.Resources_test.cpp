// Resources, collections, masters and the stream form of skins.
#include "DRX.UI.Resources.h"

#include <gtest/gtest.h>

#include "DRX.UI.Resources.Collections.h"
#include "DRX.UI.Resources.Font.h"
#include "DRX.UI.Resources.Root.h"
#include "DRX.UI.Resources.Text.h"
#include "DRX.UI.Resources.Values.h"
#include "TestSupport.h"

namespace {

void Load(TDRXCustomResourceCollection& collection, UStringView text) {
  collection.LoadFromComponent(ReadSkinText(text));
}

// Counts what a notifier tells, in order.
struct TRecorder : IDRXResourceListener {
  std::string log;
  void ResourceNotify(TDRXResourceNotifier&, TDRXResourceNotification n) override {
    static const char* const kNames[] = {"begin ", "end ", "removing ", "changed "};
    log += kNames[n];
  }
};

constexpr UStringView kBaseSkin = uR"(
[Common.Colors.Text] Color
Value = xFF202020
[Common.Colors.TextDisabled] Color
Value = claGray
[Common.Fonts.Default] Font
Name = "Segoe UI"
Height = -11
ColorID = "Common.Colors.Text"
[Common.Fonts.Bold] Font
ID = "Common.Fonts.Default"
Style = [fsBold]
[Common.Fonts.Disabled] Font
ID = "Common.Fonts.Default"
ColorID = "Common.Colors.TextDisabled"
[Labels.Colors.TextShadow] Color
ID = "Common.Colors.Text"
Opacity = 128
[Popup.Margins.Borders] Margins
All = 1
[Popup.Margins.Borders] Margins
Left = 2
Top = -4
Right = 2
Bottom = 3
[Popup.Margins.CornerRadius] Integer
Value = 0
[Popup.Margins.CornerRadius.W11] Integer
Value = 7
[Popup.Margins.Borders.W11] Margins
All = 6
)";

TEST(ResourceColors, TableAndIdentifierForms) {
  EXPECT_EQ(NamedColorCount(), 148);
  struct Case {
    const char16_t* ident;
    bool found;
    TDRXAlphaColor color;
  };
  const Case cases[] = {
      {u"claWhitesmoke", true, 0xFFF5F5F5}, {u"claAliceblue", true, 0xFFF0F8FF}, {u"claYellowgreen", true, 0xFF9ACD32},
      {u"claNull", true, 0},                {u"CLAWHITE", true, 0xFFFFFFFF},      {u"xFF0078D7", true, 0xFF0078D7},
      {u"x80ff0000", true, 0x80FF0000},     {u"clRed", true, 0xFFFF0000},         {u"clWhitesmoke", true, 0xFFF5F5F5},
      {u"xFF0078D", false, 0},              {u"xFF0078DZ", false, 0},             {u"clx", false, 0},
      {u"claRedd", false, 0},               {u"Red", false, 0},                   {u"", false, 0}};
  for (const Case& c : cases) {
    TDRXAlphaColor color = 0x12345678;
    EXPECT_EQ(IdentToAlphaColor(c.ident, color), c.found) << Utf16ToUtf8(c.ident);
    if (c.found) {
      EXPECT_EQ(color, c.color) << Utf16ToUtf8(c.ident);
    }
  }
  EXPECT_EQ(AlphaColorToIdent(0xFFF5F5F5), u"claWhitesmoke");
  EXPECT_EQ(AlphaColorToIdent(0), u"claNull");
  EXPECT_EQ(AlphaColorToIdent(0x80FF0000), u"x80FF0000");
}

TEST(ResourceColors, OpacityAndColoration) {
  TDRXCustomResourceCollection skin;
  Load(skin, uR"(
[Black] Color
Value = claBlack
Opacity = 128
[Base] Color
Value = xFF102030
AllowColoration = False
[Derived] Color
ID = "Base"
Opacity = 51
[Own] Color
AllowColoration = True
[Unset] Color
)");
  EXPECT_EQ(skin.Find<TDRXResourceColor>(u"Black")->Value(), 0x80000000u);
  EXPECT_EQ(skin.Find<TDRXResourceColor>(u"Derived")->Value(), 0x33102030u);
  EXPECT_FALSE(skin.Find<TDRXResourceColor>(u"Derived")->IsColorationAllowed());
  EXPECT_TRUE(skin.Find<TDRXResourceColor>(u"Own")->IsColorationAllowed());
  EXPECT_TRUE(skin.Find<TDRXResourceColor>(u"Unset")->IsColorationAllowed());
  EXPECT_EQ(MessageOf<EReadError>([&] { Load(skin, u"[C] Color\nValue = claNotAColour\n"); }), "Invalid property value");
  EXPECT_EQ(MessageOf<EReadError>([&] { Load(skin, u"[C] Color\nOpacity = 256\n"); }), "Invalid property value");
  EXPECT_EQ(MessageOf<EReadError>([&] { Load(skin, u"[C] Color\nValue = \"claRed\"\n"); }), "Invalid property value");
}

TEST(ResourceFonts, BoldAndDisabledDeriveFromTheDefault) {
  TDRXCustomResourceCollection skin;
  Load(skin, kBaseSkin);
  const auto* bold = skin.Find<TDRXResourceFont>(u"Common.Fonts.Bold");
  const auto* disabled = skin.Find<TDRXResourceFont>(u"Common.Fonts.Disabled");
  ASSERT_TRUE(bold && disabled);
  EXPECT_EQ(bold->Name(), u"Segoe UI");
  EXPECT_EQ(bold->Height(), -11);
  EXPECT_EQ(bold->Size(), 8);
  EXPECT_EQ(bold->Style(), fsBold);
  EXPECT_EQ(bold->Color(), 0xFF202020u);
  EXPECT_EQ(bold->AssignedValues(), rfavStyle);
  EXPECT_EQ(disabled->Name(), u"Segoe UI");
  EXPECT_EQ(disabled->Style(), 0);
  EXPECT_EQ(disabled->Color(), 0xFF808080u);
  // A change of the base colour reaches the fonts that take it.
  TRecorder recorder;
  bold->Master()->AddListener(&recorder);
  skin.Find<TDRXResourceColor>(u"Common.Colors.Text")->SetValue(claBlack);
  EXPECT_EQ(bold->Color(), claBlack);
  EXPECT_EQ(recorder.log, "changed ");
  skin.Find<TDRXResource>(u"Common.Fonts.Default")->RemoveListener(&recorder);
}

TEST(ResourceFonts, SizeHeightAndTheDefaultGUIFont) {
  EXPECT_EQ(FontHeightToSize(-11), 8);
  EXPECT_EQ(FontHeightToSize(-16), 12);
  EXPECT_EQ(FontSizeToHeight(9), -12);
  EXPECT_EQ(FontSizeToHeight(8), -11);
  TDRXCustomResourceCollection skin;
  Load(skin, u"[Sized] Font\nSize = 12\nQuality = fqClearType\n[Plain] Font\n[Lost] Font\nID = \"Nowhere\"\n");
  const auto* sized = skin.Find<TDRXResourceFont>(u"Sized");
  EXPECT_EQ(sized->Height(), -16);
  EXPECT_EQ(sized->Quality(), fqClearType);
  EXPECT_EQ(sized->Name(), DefaultGUIFont().Name);
  for (const char16_t* id : {u"Plain", u"Lost"}) {
    const auto* font = skin.Find<TDRXResourceFont>(id);
    EXPECT_EQ(font->Name(), DefaultGUIFont().Name);
    EXPECT_EQ(font->Height(), DefaultGUIFont().Height);
    EXPECT_EQ(font->Color(), DefaultGUIFont().Color);
  }
  EXPECT_EQ(MessageOf<EReadError>([&] { Load(skin, u"[F] Font\nStyle = [fsHeavy]\n"); }), "Invalid property value");
}

TEST(ResourceMargins, ClampedAllAndMasters) {
  TDRXCustomResourceCollection skin;
  Load(skin, kBaseSkin);
  const auto* borders = skin.Find<TDRXResourceMargins>(u"Popup.Margins.Borders");
  EXPECT_EQ(borders->Value(), (TDRXMargins{2, 0, 2, 3}));  // the later item, Top clamped
  EXPECT_EQ(borders->All(), 0);
  EXPECT_EQ(skin.Find<TDRXResourceMargins>(u"Popup.Margins.Borders.W11")->All(), 6);
  EXPECT_EQ(skin.Find<TDRXResourceInteger>(u"Popup.Margins.CornerRadius")->Value(), 0);
}

TEST(ResourceCollections, TheLastItemOfAnIdentifierIsFound) {
  TDRXCustomResourceCollection skin;
  Load(skin, kBaseSkin);
  TDRXResourceCollectionItem* later = skin.FindItem(u"Popup.Margins.Borders");
  ASSERT_EQ(later, &skin.Items(7));
  // Renaming or deleting the later one finds the earlier one again.
  later->SetID(u"Popup.Margins.Other");
  EXPECT_EQ(skin.FindItem(u"Popup.Margins.Borders"), &skin.Items(6));
  later->SetID(u"Popup.Margins.Borders");
  EXPECT_EQ(skin.FindItem(u"Popup.Margins.Borders"), later);
  skin.Delete(7);
  EXPECT_EQ(skin.Find<TDRXResourceMargins>(u"Popup.Margins.Borders")->All(), 1);
}

TEST(ResourceCollections, ResourceClassNames) {
  EXPECT_EQ(FindResourceClass(u"TDRXResourceColor"), &TDRXResourceColor::ClassInfo);
  EXPECT_EQ(FindResourceClass(u"Color"), &TDRXResourceColor::ClassInfo);
  EXPECT_EQ(FindResourceClass(u"margins"), &TDRXResourceMargins::ClassInfo);
  EXPECT_EQ(FindResourceClass(u""), nullptr);
  EXPECT_EQ(MessageOf<EInvalidCast>([] { FindResourceClass(u"TDRXResource"); }), "The TDRXResource is not valid resource");
  EXPECT_EQ(MessageOf<EInvalidCast>([] { FindResourceClass(u"Colour"); }), "The Colour is not valid resource");
  TDRXCustomResourceCollection skin;
  EXPECT_EQ(MessageOf<EInvalidCast>([&] { Load(skin, u"[A] TDRXStyle\n"); }), "The TDRXStyle is not valid resource");
  EXPECT_EQ(MessageOf<EReadError>([&] { Load(skin, u"[A] Color\nWidth = 3\n"); }),
            "Property Resource.Width does not exist");
  // A resource property before the class that creates the resource.
  TDRXStreamComponent early = ReadSkinText(u"[A] Color\nValue = claRed\n");
  auto& properties = early.Properties[0].Value.Items[0].Properties;
  std::swap(properties[1], properties[2]);
  EXPECT_EQ(MessageOf<EReadError>([&] { skin.LoadFromComponent(early); }), "Property Resource.Value does not exist");
  TDRXStreamComponent other;
  other.Properties.push_back({u"Colors", TDRXStreamValue::FromCollection({})});
  EXPECT_EQ(MessageOf<EReadError>([&] { skin.LoadFromComponent(other); }), "Property Colors does not exist");
}

TEST(ResourceMasters, ResolutionByClassForwardAndInLoops) {
  TDRXCustomResourceCollection skin;
  Load(skin, uR"(
[Early] Color
ID = "Late"
[FontOnColor] Font
ID = "Late"
[Late] Color
Value = claRed
[A] Integer
ID = "B"
Value = 1
[B] Integer
ID = "A"
Value = 2
[Self] Integer
ID = "Self"
Value = 3
)");
  EXPECT_EQ(skin.Find<TDRXResourceColor>(u"Early")->Value(), 0xFFFF0000u);
  EXPECT_EQ(skin.Find<TDRXResourceFont>(u"FontOnColor")->Master(), nullptr);
  const auto* a = skin.Find<TDRXResourceInteger>(u"A");
  const auto* b = skin.Find<TDRXResourceInteger>(u"B");
  EXPECT_TRUE((a->Master() == nullptr) != (b->Master() == nullptr));
  EXPECT_EQ(a->Value(), b->Value());
  EXPECT_EQ(skin.Find<TDRXResourceInteger>(u"Self")->Value(), 3);
}

TEST(ResourceMasters, AMasterThatGoesIsLookedUpAgain) {
  TDRXCustomResourceCollection skin;
  Load(skin, u"[Base] Color\nValue = claRed\n[Base] Color\nValue = claBlue\n[Derived] Color\nID = \"Base\"\n");
  auto* derived = skin.Find<TDRXResourceColor>(u"Derived");
  EXPECT_EQ(derived->Value(), 0xFF0000FFu);
  TRecorder recorder;
  derived->AddListener(&recorder);
  skin.Delete(1);
  EXPECT_EQ(derived->Value(), 0xFFFF0000u);
  skin.Items(0).SetResourceClassName(u"Integer");
  EXPECT_EQ(derived->Master(), nullptr);
  EXPECT_EQ(derived->Value(), claNull);
  EXPECT_EQ(recorder.log, "changed changed ");
  derived->RemoveListener(&recorder);
}

TEST(ResourceCollections, ALoadIsToldOnce) {
  TDRXCustomResourceCollection skin;
  TRecorder recorder;
  skin.AddListener(&recorder);
  Load(skin, kBaseSkin);
  EXPECT_EQ(recorder.log, "begin changed end ");
  skin.RemoveListener(&recorder);
}

TEST(ResourceCollections, SavedSkinReadsBackToTheSameBytes) {
  TDRXCustomResourceCollection skin;
  Load(skin, kBaseSkin);
  TMemoryStream saved;
  skin.SaveToStream(saved);
  saved.SetPosition(0);
  TDRXCustomResourceCollection again;
  again.LoadFromStream(saved);
  TMemoryStream resaved;
  again.SaveToStream(resaved);
  EXPECT_EQ(resaved.Bytes(), saved.Bytes());
  EXPECT_EQ(again.Count(), skin.Count());
  EXPECT_EQ(again.Find<TDRXResourceFont>(u"Common.Fonts.Disabled")->Color(), 0xFF808080u);
  EXPECT_EQ(again.Find<TDRXResourceColor>(u"Labels.Colors.TextShadow")->Value(), 0x80202020u);
}

TEST(ResourceCollections, Windows11Variants) {
  TDRXCustomResourceCollection windows10, windows11;
  Load(windows10, kBaseSkin);
  Load(windows11, kBaseSkin);
  ApplyWindows11Variants(windows11);
  EXPECT_EQ(windows10.Find<TDRXResourceInteger>(u"Popup.Margins.CornerRadius")->Value(), 0);
  EXPECT_EQ(windows11.Find<TDRXResourceInteger>(u"Popup.Margins.CornerRadius")->Value(), 7);
  EXPECT_EQ(windows11.Find<TDRXResourceMargins>(u"Popup.Margins.Borders")->All(), 6);
  EXPECT_EQ(windows11.Find<TDRXResourceMargins>(u"Popup.Margins.Borders")->ID(), u"Popup.Margins.Borders.W11");
  EXPECT_EQ(windows11.Items(6).Resource()->ID(), u"");  // the earlier item is not the one found
}

}  // namespace
