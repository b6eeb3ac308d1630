#include "DRX.UI.Controls.ImageComboBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Texts(const TDRXImageComboBoxItems& items) {
  std::vector<std::string> texts;
  for (const auto& item : items.Items()) texts.push_back(Utf16ToUtf8(item.Text) + "/" + std::to_string(item.Data));
  return texts;
}

}  // namespace

TEST(ImageComboBoxItems, SortedInsertionIgnoresCaseAndKeepsEqualNamesInOrder) {
  TDRXImageComboBoxItems items;
  const char16_t* names[] = {u"Русский", u"english", u"Deutsch", u"English", u"", u"ENGLISH", u"Zulu", u"deutsch"};
  intptr_t data = 0;
  for (const char16_t* name : names) items.AddSorted({name, -1, 0, data++});
  EXPECT_EQ(Texts(items), (std::vector<std::string>{"/4", "Deutsch/2", "deutsch/7", "english/1", "English/3",
                                                    "ENGLISH/5", "Zulu/6", "Русский/0"}));
}

TEST(ImageComboBoxItems, InsertionIndexAgainstAFixedList) {
  const std::vector<TDRXImageComboBoxItem> list = {{u"b"}, {u"B"}, {u"d"}};
  struct Case {
    const char16_t* text;
    int index;
  } cases[] = {{u"a", 0}, {u"b", 2}, {u"B", 2}, {u"c", 2}, {u"D", 3}, {u"e", 3}, {u"", 0}, {u"bb", 2}};
  for (const auto& c : cases) EXPECT_EQ(SortedInsertionIndex(list, c.text), c.index) << Utf16ToUtf8(c.text);
  EXPECT_EQ(SortedInsertionIndex({}, u"x"), 0);
}

TEST(ImageComboBoxItems, ChangesAreToldAndLookupsFindTheFirstMatch) {
  TDRXImageComboBoxItems items;
  std::vector<std::pair<int, int>> told;
  items.OnChange = [&](TDRXImageComboBoxItems::TChange change, int index) { told.emplace_back(change, index); };
  items.Add({u"one", 3, 1033, 10});
  items.Insert(-5, {u"zero", -1, 1049, 11});
  items.Insert(99, {u"two", 0, 1033, 12});
  items.AddSorted({u"a", 1, 7, 13});
  EXPECT_EQ(Texts(items), (std::vector<std::string>{"a/13", "zero/11", "one/10", "two/12"}));
  EXPECT_EQ(items.IndexOfTag(1033), 2);
  EXPECT_EQ(items.IndexOfTag(5), -1);
  EXPECT_EQ(items.IndexOfData(12), 3);
  EXPECT_EQ(items.IndexOfData(99), -1);
  EXPECT_EQ(items[2].ImageIndex, 3);
  EXPECT_THROW(items[4], std::out_of_range);
  items.Delete(4);
  items.Delete(1);
  items.Clear();
  using C = TDRXImageComboBoxItems;
  EXPECT_EQ(told, (std::vector<std::pair<int, int>>{{C::chInserted, 0}, {C::chInserted, 0}, {C::chInserted, 2},
                                                    {C::chInserted, 0}, {C::chDeleted, 1}, {C::chCleared, -1}}));
  EXPECT_EQ(items.Count(), 0);
}

TEST(ImageComboBoxItems, TheSelectionFollowsInsertionsAndDeletions) {
  using C = TDRXImageComboBoxItems;
  struct Case {
    int selected;
    C::TChange change;
    int index;
    int after;
  } cases[] = {
      {2, C::chInserted, 0, 3}, {2, C::chInserted, 2, 3}, {2, C::chInserted, 3, 2}, {2, C::chDeleted, 0, 1},
      {2, C::chDeleted, 2, -1}, {2, C::chDeleted, 5, 2},  {2, C::chCleared, -1, -1}, {-1, C::chInserted, 0, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SelectionAfterChange(c.selected, c.change, c.index), c.after) << c.selected << " " << c.index;
}
