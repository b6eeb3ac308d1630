#include "DRX.Graphics.SkinImage.Set.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<int> DPIs(const TDRXSkinImageSet& set) {
  std::vector<int> dpis;
  for (int i = 0; i < set.Count(); ++i) dpis.push_back(set.Items(i).DPI());
  return dpis;
}

// A set of exactly these items (an image `dpi / 24` pixels square at each DPI),
// made through the stored form so that it need not hold a 96-DPI item.
void Fill(TDRXSkinImageSet& set, std::initializer_list<int> dpis) {
  TMemoryStream stream;
  for (int dpi : dpis) {
    if (dpi != *dpis.begin()) stream.WriteBuffer("NEXT", 4);
    TDRXSkinImageSetItem item(dpi);
    item.SetSize(dpi / 24, dpi / 24);
    item.SaveToStream(stream);
  }
  stream.SetPosition(0);
  set.LoadFromStream(stream);
}

std::string Save(const TDRXSkinImageSet& set) {
  TMemoryStream stream;
  set.SaveToStream(stream);
  return std::string(stream.Bytes());
}

}  // namespace

TEST(SkinImageSet, ANewSetHoldsOneEmpty96DpiItem) {
  TDRXSkinImageSet set;
  EXPECT_EQ(DPIs(set), std::vector<int>{96});
  EXPECT_TRUE(set.Items(0).Empty());
}

TEST(SkinImageSet, ItemsStayInDpiOrderAndAddReplacesTheSameDpi) {
  TDRXSkinImageSet set;
  set.NewItem(192);
  set.NewItem(120);
  set.NewItem(480);
  EXPECT_EQ(DPIs(set), (std::vector<int>{96, 120, 192, 480}));
  TDRXSkinImageSetItemRef replacement = TDRXSkinImageSetItemRef::Create(120);
  replacement->SetSize(7, 7);
  set.Add(replacement);
  EXPECT_EQ(DPIs(set), (std::vector<int>{96, 120, 192, 480}));
  EXPECT_EQ(set.Items(1).Width(), 7);
  EXPECT_EQ(replacement->RefCount(), 2);
  try {
    set.NewItem(192);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"Image for 192 dpi is already exists.");
  }
  for (int bad : {95, 481, 0}) {
    try {
      set.NewItem(bad);
      FAIL();
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), u"The " + IntToStr(bad) + u" dpi is not valid.");
    }
  }
}

TEST(SkinImageSet, BestItemForATargetDpi) {
  struct Case {
    std::initializer_list<int> dpis;
    int target, expected;
  } cases[] = {
      {{96, 144, 192}, 150, 144}, {{96, 144, 192}, 191, 144}, {{96, 144, 192}, 240, 192},
      {{96, 144, 192}, 100, 96},  {{96, 144, 192}, 96, 96},   {{96, 144, 192}, 144, 144},
      {{120, 192}, 96, 120},      {{120, 192}, 120, 120},     {{120, 192}, 480, 192},
  };
  for (const Case& c : cases) {
    TDRXSkinImageSet set;
    Fill(set, c.dpis);
    EXPECT_EQ(set.BestItem(c.target).DPI(), c.expected) << c.target;
    EXPECT_EQ(&set.ItemFor(c.target, TDRXColorSchema{}), &set.BestItem(c.target));
  }
}

TEST(SkinImageSet, StoredFormSeparatesItemsWithNext) {
  TDRXSkinImageSet set;
  Fill(set, {96, 144, 192});
  set.Items(2).SetFrameCount(2);
  const std::string form = Save(set);
  size_t separators = 0;
  for (size_t at = form.find("NEXT"); at != std::string::npos; at = form.find("NEXT", at + 4)) ++separators;
  EXPECT_EQ(separators, 2u);
  EXPECT_EQ(form.substr(form.size() - 10), std::string("XDPI\x02\0\0\0\xC0\0", 10));

  // Followed by other data, loading stops in front of it; at the end, the position is the end.
  TMemoryStream stream(form + "tail");
  TDRXSkinImageSet loaded;
  loaded.LoadFromStream(stream);
  EXPECT_EQ(stream.Position(), static_cast<int64_t>(form.size()));
  EXPECT_EQ(DPIs(loaded), (std::vector<int>{96, 144, 192}));
  EXPECT_TRUE(loaded.Equals(set));
  EXPECT_EQ(loaded.Items(2).FrameCount(), 2);
  TMemoryStream exact(form);
  loaded.LoadFromStream(exact);
  EXPECT_EQ(exact.Position(), exact.Size());
  TMemoryStream shortTail(form + "NE");
  loaded.LoadFromStream(shortTail);
  EXPECT_EQ(shortTail.Position(), static_cast<int64_t>(form.size()));
}

TEST(SkinImageSet, LoadingSignalsOnceAndRefusesInvalidDpis) {
  TDRXSkinImageSet source;
  Fill(source, {96, 120});
  std::string form = Save(source);
  TDRXSkinImageSet set;
  int changes = 0;
  set.OnChange = [&changes] { ++changes; };
  TMemoryStream stream(form);
  set.LoadFromStream(stream);
  EXPECT_EQ(changes, 1);
  form[form.size() - 2] = 0x10;  // the last XDPI: 0x10 + 256 × 0 = 16
  TMemoryStream bad(form);
  try {
    set.LoadFromStream(bad);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"The 16 dpi is not valid.");
  }
  EXPECT_EQ(changes, 2);
}

TEST(SkinImageSet, ItemChangesReachTheOwner) {
  TDRXSkinImageSet set;
  set.NewItem(144);
  int changes = 0;
  set.OnChange = [&changes] { ++changes; };
  set.Items(1).SetStretchMode(smTile);
  EXPECT_EQ(changes, 1);
  set.Clear();
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(DPIs(set), std::vector<int>{96});
}

TEST(SkinImageSet, ItemsOnlyTheSetHoldsGoDormant) {
  TDRXSkinImageSet set;
  set.Items(0).SetSize(8, 8);
  {
    TDRXSkinImageSetItemRef drawn(&set.BestItem(96));  // a texture drawing it
    drawn->Bits();
    EXPECT_FALSE(drawn->IsDormant());
  }
  EXPECT_TRUE(set.Items(0).IsDormant());
  SetSkinImageDormantEnabled(false);
  {
    TDRXSkinImageSetItemRef drawn(&set.BestItem(96));
    drawn->Bits();
  }
  EXPECT_FALSE(set.Items(0).IsDormant());
  SetSkinImageDormantEnabled(true);
}

TEST(SkinImageSet, AssignSharesItemsAndClearNeverClearsASharedOne) {
  TDRXSkinImageSet a, b;
  Fill(a, {96, 192});
  b.Assign(a);
  EXPECT_EQ(&b.Items(1), &a.Items(1));
  EXPECT_EQ(a.Items(0).RefCount(), 2);
  b.Clear();
  EXPECT_EQ(a.Items(0).Width(), 4);  // a keeps its image
  EXPECT_TRUE(b.Items(0).Empty());
  EXPECT_EQ(DPIs(a), (std::vector<int>{96, 192}));

  TDRXSkinImage image;
  image.SetSize(3, 5);
  a.Assign(image);
  EXPECT_EQ(DPIs(a), std::vector<int>{96});
  EXPECT_EQ(a.Items(0).Height(), 5);
}

TEST(SkinImageSet, EqualityAndTextForms) {
  TDRXSkinImageSet a, b;
  Fill(a, {96, 144});
  Fill(b, {96, 144});
  EXPECT_TRUE(a.Equals(b));
  EXPECT_EQ(a.HashCode(), 2);
  b.Items(1).SetMargins({1, 1, 1, 1});
  EXPECT_FALSE(a.Equals(b));
  EXPECT_EQ(a.Items(1).ToString(), u"150% / 144 dpi - 6x6");
  a.Items(0).SetSize(0, 0);
  EXPECT_EQ(a.Items(0).ToString(), u"100% / 96 dpi - 0x0");
  TDRXSkinImageSetItem item(120);
  EXPECT_EQ(item.ToString(), u"125% / 120 dpi - 0x0");
  TDRXSkinImageSetItem copy;
  copy.Assign(a.Items(1));
  EXPECT_EQ(copy.DPI(), 144);
}
