#include "DRX.Classes.StringList.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using namespace std::literals;

namespace {

std::vector<UString> Lines(const TDRXStringList& list) {
  std::vector<UString> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
  return lines;
}

void Fill(TDRXStringList& list, std::initializer_list<UStringView> lines) {
  list.Clear();
  for (const auto line : lines) list.Add(line);
}

// Counts the hooks, as the INI section that derives from the list does.
class TCountingList : public TDRXStringList {
 public:
  int changes = 0, updates = 0, depth = 0;
  void BeginUpdate() override { ++depth; }
  void EndUpdate() override {
    if (--depth == 0) ++updates;
  }

 protected:
  void Changed() override {
    if (depth == 0) ++changes;
  }
};

struct TTestInterface : IDRXInterface {};

}  // namespace

TEST(StringList, SetTextSplitsAtEveryKindOfLineBreak) {
  const struct {
    UStringView text;
    std::vector<UString> lines;
  } cases[] = {
      {u"a\r\n\r\nb", {u"a", u"", u"b"}},
      {u"a\r\n", {u"a"}},
      {u"", {}},
      {u"\r\n", {u""}},
      {u"a\rb\nc", {u"a", u"b", u"c"}},
      {u"a\n\rb", {u"a", u"", u"b"}},
      {u"a\u2028\r\nb", {u"a", u"b"}},
      {u"a\u2028\nb", {u"a", u"b"}},
      {u"a\u2028\rb", {u"a", u"b"}},
      {u"a\u2028\u2028b", {u"a", u"", u"b"}},
      {u"a\u2028\n\nb", {u"a", u"", u"b"}},
      {u"a\r\n\r", {u"a", u""}},
  };
  TDRXStringList list;
  for (const auto& c : cases) {
    list.Add(u"left over");
    list.SetText(c.text);
    EXPECT_EQ(Lines(list), c.lines) << Utf16ToUtf8(c.text);
  }
}

TEST(StringList, TextEndsEveryLineWithCrLf) {
  TDRXStringList list;
  EXPECT_EQ(list.Text(), u"");
  list.Add(u"");
  EXPECT_EQ(list.Text(), u"\r\n");
  Fill(list, {u"a", u"", u"b"});
  EXPECT_EQ(list.Text(), u"a\r\n\r\nb\r\n");
  EXPECT_EQ(list.GetDelimitedText(u", ", false), u"a, , b");
  EXPECT_EQ(list.GetDelimitedText(u";", true), u"a;;b;");
  list.Clear();
  EXPECT_EQ(list.GetDelimitedText(u";", true), u"");
}

TEST(StringList, NamesAndValuesFollowTheLastMatchingLine) {
  TDRXStringList list;
  Fill(list, {u"x=1", u"plain", u"X=2", u"k=a=b", u"=empty name"});
  EXPECT_EQ(list.Values(u"x"), u"2");
  EXPECT_EQ(list.IndexOfName(u"x"), 2);
  EXPECT_EQ(list.IndexOf(u"X=2"), 2);
  EXPECT_EQ(list.IndexOf(u"x=2"), 2) << "case is ignored by default";
  EXPECT_EQ(list.IndexOf(u"x="), -1) << "a prefix is not the whole line";
  EXPECT_EQ(list.Names(1), u"");
  EXPECT_EQ(list.ValueFromIndex(1), u"plain");
  EXPECT_EQ(list.Names(3), u"k");
  EXPECT_EQ(list.ValueFromIndex(3), u"a=b");
  EXPECT_EQ(list.Values(u""), u"empty name");
  EXPECT_EQ(list.IndexOfName(u"plain"), -1) << "a line without separator has no name";
  EXPECT_EQ(list.Values(u"missing"), u"");

  list.SetValue(u"x", u"3");
  EXPECT_EQ(Lines(list)[0], u"x=1");
  EXPECT_EQ(Lines(list)[2], u"x=3") << "the name is written as given";
  list.SetValue(u"new", u"");
  EXPECT_EQ(list.Strings(list.Count() - 1), u"new=") << "an empty value is stored, not removed";

  list.SetIgnoreCase(false);
  EXPECT_EQ(list.IndexOfName(u"X"), -1);
  EXPECT_EQ(list.IndexOf(u"X=2"), -1);
  list.SetNameValueSeparator(u':');
  list.Add(u"a:b=c");
  EXPECT_EQ(list.Values(u"a"), u"b=c");
}

TEST(StringList, OutOfRangeAccessIsHarmless) {
  TDRXStringList list;
  Fill(list, {u"a", u"b", u"c"});
  EXPECT_FALSE(list.Delete(2, 5));
  EXPECT_FALSE(list.Delete(-1));
  EXPECT_FALSE(list.Delete(3));
  EXPECT_FALSE(list.Delete(0, 0));
  EXPECT_FALSE(list.Delete(1, INT_MAX));
  list.Insert(4, u"ignored");
  list.Insert(-1, u"ignored");
  list.Put(3, u"ignored");
  list.SetData(-1, 7);
  EXPECT_EQ(Lines(list), (std::vector<UString>{u"a", u"b", u"c"}));
  EXPECT_EQ(list.Strings(3), u"");
  EXPECT_EQ(list.Strings(-1), u"");
  EXPECT_EQ(list.Data(3), 0);
  EXPECT_EQ(list.Interface(3), nullptr);
  EXPECT_EQ(list.Names(9), u"");

  EXPECT_TRUE(list.Delete(1, 2));
  EXPECT_EQ(Lines(list), (std::vector<UString>{u"a"}));
  list.Insert(1, u"end");
  list.Insert(0, u"start");
  EXPECT_EQ(Lines(list), (std::vector<UString>{u"start", u"a", u"end"}));
}

TEST(StringList, ItemsKeepDataAndInterfaceThroughAssign) {
  auto intf = std::make_shared<TTestInterface>();
  TDRXStringList source;
  source.Add(u"one", INT64_MIN, intf);
  EXPECT_EQ(source.Add(u"two", 0x123456789AB), 1);
  source.SetData(1, -5);

  TDRXStringList copy;
  copy.Add(u"replaced");
  copy.Assign(source);
  copy.Assign(copy);
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Strings(0), u"one");
  EXPECT_EQ(copy.Data(0), INT64_MIN);
  EXPECT_EQ(copy.Interface(0), intf);
  EXPECT_EQ(copy.Data(1), -5);
  EXPECT_EQ(copy.Interface(1), nullptr);
  EXPECT_EQ(intf.use_count(), 3);
  copy.Clear();
  source.Delete(0);
  EXPECT_EQ(intf.use_count(), 1) << "removed items release their interface";
}

TEST(StringList, RemoveDuplicatesKeepsTheFirstOccurrence) {
  TDRXStringList list;
  Fill(list, {u"a", u"A", u"b", u"a", u"ab"});
  EXPECT_EQ(list.RemoveDuplicates(), 2);
  EXPECT_EQ(Lines(list), (std::vector<UString>{u"a", u"b", u"ab"}));
  list.SetIgnoreCase(false);
  Fill(list, {u"a", u"A", u"b"});
  EXPECT_EQ(list.RemoveDuplicates(), 0);
}

TEST(StringList, RemoveDuplicatesKeepsTheFirstOfEachLineWhereverTheOthersStand) {
  struct TCase {
    bool ignoreCase;
    std::vector<UString> lines, kept;
  };
  const TCase cases[] = {
      {true, {u"b", u"A", u"a", u"B", u"c", u"a", u"ab", u"AB", u"", u""}, {u"b", u"A", u"c", u"ab", u""}},
      {false, {u"a", u"A", u"a", u"A", u"b"}, {u"a", u"A", u"b"}},
      {true, {u"x\\y\\", u"x\\z\\", u"X\\Y\\", u"x\\z\\", u"x\\y\\"}, {u"x\\y\\", u"x\\z\\"}},
  };
  for (const TCase& c : cases) {
    TDRXStringList list;
    list.SetIgnoreCase(c.ignoreCase);
    for (const UString& line : c.lines) list.Add(line, static_cast<int64_t>(list.Count()));
    EXPECT_EQ(list.RemoveDuplicates(), static_cast<int>(c.lines.size() - c.kept.size()));
    EXPECT_EQ(Lines(list), c.kept);
    for (int i = 1; i < list.Count(); ++i) EXPECT_LT(list.Data(i - 1), list.Data(i)) << "the lines keep their order";
  }
}

TEST(StringList, CapacityGrowsInStepsAndNeverFallsBelowCount) {
  TDRXStringList list;
  std::vector<int> capacities;
  for (int i = 0; i < 100; ++i) {
    list.Add(u"x");
    if (capacities.empty() || capacities.back() != list.Capacity()) capacities.push_back(list.Capacity());
  }
  EXPECT_EQ(capacities, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95, 118}));
  list.SetCapacity(10);
  EXPECT_EQ(list.Capacity(), 100);
  list.SetCapacity(200);
  EXPECT_EQ(list.Capacity(), 200);
  EXPECT_EQ(list.Count(), 100);
  list.Clear();
  EXPECT_EQ(list.Capacity(), 0);
}

TEST(StringList, LogicalOrderComparesDigitRunsAsNumbers) {
  const struct {
    UStringView a, b;
    int order;
  } cases[] = {
      {u"file2", u"file10", -1},
      {u"File10", u"file2", 1},
      {u"v1.9", u"v1.10", -1},
      {u"a", u"A", 0},
      {u"abc", u"ab", 1},
      {u"", u"a", -1},
      {u"", u"", 0},
      {u"x007", u"x7", 0},
      {u"x7b", u"x07a", 1},
      {u"99999999999999999999999", u"100000000000000000000000", -1},
      {u"1", u"a", -1},
      {u"a1", u"ab", -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompareLogical(c.a, c.b), c.order) << Utf16ToUtf8(c.a) << " vs " << Utf16ToUtf8(c.b);
    EXPECT_EQ(CompareLogical(c.b, c.a), -c.order) << Utf16ToUtf8(c.b) << " vs " << Utf16ToUtf8(c.a);
  }
}

TEST(StringList, SortsKeepItemsTogether) {
  TDRXStringList list;
  Fill(list, {u"track10", u"track2", u"album", u"track1"});
  for (int i = 0; i < list.Count(); ++i) list.SetData(i, i);
  list.SortLogical();
  EXPECT_EQ(Lines(list), (std::vector<UString>{u"album", u"track1", u"track2", u"track10"}));
  EXPECT_EQ(list.Data(3), 0);
  list.Sort();
  EXPECT_EQ(Lines(list), (std::vector<UString>{u"album", u"track1", u"track10", u"track2"}));
  EXPECT_EQ(list.Data(1), 3);
}

TEST(StringList, StreamsRoundTripWithByteOrderMarks) {
  const UString text = u"caf\u00E9\r\n\u0416=\U0001F600\r\n";
  const struct {
    TDRXEncoding encoding;
    std::string_view start;
  } cases[] = {
      {TDRXEncoding::Utf8(), "\xEF\xBB\xBF" "caf\xC3\xA9"},
      {TDRXEncoding::Utf16LE(), "\xFF\xFE" "c\0"sv},
      {TDRXEncoding::Utf16BE(), "\xFE\xFF\0c"sv},
  };
  for (const auto& [encoding, start] : cases) {
    TDRXStringList list;
    list.SetText(text);
    TMemoryStream stream;
    list.SaveToStream(stream, encoding);
    EXPECT_EQ(stream.Bytes().substr(0, start.size()), start);
    stream.SetPosition(0);
    TDRXStringList loaded;
    loaded.LoadFromStream(stream, TDRXEncoding::Ansi(1252));
    EXPECT_EQ(loaded.Text(), text);
  }
  TDRXStringList list;
  list.Add(u"a");
  TMemoryStream stream;
  list.SaveToStream(stream);
  EXPECT_EQ(stream.Bytes(), "\xFF\xFE" "a\0\r\0\n\0"sv) << "UTF-16LE with its mark by default";

  TDRXStringList empty;
  TMemoryStream markOnly;
  empty.SaveToStream(markOnly);
  markOnly.SetPosition(0);
  list.LoadFromStream(markOnly);
  EXPECT_EQ(list.Count(), 0) << "an empty list reads back empty";
}

TEST(StringList, LoadingWithoutMarkUsesTheGivenEncodingOrAnsi) {
  TDRXStringList list;
  TMemoryStream utf8("\xC3\xA9t\xC3\xA9\nx");
  list.LoadFromStream(utf8, TDRXEncoding::Utf8());
  EXPECT_EQ(Lines(list), (std::vector<UString>{u"\u00E9t\u00E9", u"x"}));

  TMemoryStream broken("caf\xE9");
  list.LoadFromStream(broken, TDRXEncoding::Utf8());
  EXPECT_EQ(list.Strings(0).size(), 4u) << "invalid UTF-8 is read again as ANSI";

  TMemoryStream skipped("skip\nkeep");
  skipped.SetPosition(5);
  list.LoadFromStream(skipped);
  EXPECT_EQ(Lines(list), (std::vector<UString>{u"keep"})) << "loading starts at the stream's position";

  TMemoryStream empty;
  list.LoadFromStream(empty);
  EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, BulkOperationsRunInsideOneUpdate) {
  TCountingList list;
  list.SetText(u"a\nb\nc\nb");
  EXPECT_EQ(list.changes, 0);
  EXPECT_EQ(list.updates, 1);
  EXPECT_EQ(list.RemoveDuplicates(), 1);
  TDRXStringList other;
  other.Add(u"z");
  list.Assign(other);
  EXPECT_EQ(list.updates, 3);
  EXPECT_EQ(list.changes, 0);

  list.Add(u"y");
  list.Put(0, u"w");
  list.SetValue(u"n", u"v");
  list.Delete(0);
  list.SortLogical();
  list.SetData(0, 1);
  EXPECT_EQ(list.changes, 5) << "every single change is reported, setting data is not a change";
}
