#include "DRX.FileFormats.INI.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "TestSupport.h"

using namespace std::literals;

namespace {

// The document's text as saved, without the byte-order mark.
UString Saved(const TDRXIniFile& ini) {
  TMemoryStream stream;
  ini.SaveToStream(stream);
  return DecodeText(TDRXEncoding::Utf16LE(), stream.Bytes().substr(2));
}

std::unique_ptr<TDRXIniFile> Parse(UStringView text) {
  auto ini = std::make_unique<TDRXIniFile>();
  ini->LoadFromText(text);
  return ini;
}

std::vector<UString> Keys(const TDRXIniFile& ini, UStringView section) {
  TDRXStringList list;
  ini.ReadKeys(section, list);
  std::vector<UString> keys;
  for (int i = 0; i < list.Count(); ++i) keys.push_back(list.Strings(i));
  return keys;
}

std::string Utf8(UStringView text) { return Utf16ToUtf8(text); }

// File bytes, the encoding they are read in and the value of ("S", "k").
struct TEncodingCase {
  std::string_view bytes;
  TDRXEncoding encoding;
  UStringView value;
};

}  // namespace

TEST(IniFile, ParsingKeepsLinesVerbatimAndLosesOnlyWhatTheFormatCannotHold) {
  const struct {
    UStringView text, saved;
  } cases[] = {
      {u"[A]\r\nx=1\r\n[a]\r\ny=2", u"[A]\r\nx=1\r\ny=2\r\n\r\n"},
      {u"lost=1\r\n\r\n[S]\r\n\r\n  k = v \r\n;note\r\n", u"[S]\r\n  k = v \r\n;note\r\n\r\n"},
      {u"[Empty]\r\n[Full]\nx", u"[Full]\r\nx\r\n\r\n"},
      {u"[S]\rcr\nlf\n\rlfcr\u2028ls\u2028\r\nlscrlf", u"[S]\r\ncr\r\nlf\r\nlfcr\r\nls\r\nlscrlf\r\n\r\n"},
      {u"[Setup)\r\na\r\n[Setup]\r\nb", u"[Setup]\r\na\r\nb\r\n\r\n"},
      {u"[\r\na\r\n[]\r\nb\r\n[x\r\nc", u"[]\r\na\r\nb\r\nc\r\n\r\n"},
      {u"[S]\r\n[not a header\r\n", u""},
      {u"[S] x\r\n1", u"[S] ]\r\n1\r\n\r\n"},
      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8(Saved(*Parse(c.text))), Utf8(c.saved)) << Utf8(c.text);

  const auto ini = Parse(u"[S] x\r\n1\r\n[]\r\n2");
  ASSERT_EQ(ini->SectionCount(), 2);
  EXPECT_EQ(ini->SectionNames(0), u"S] ") << "the header drops its first and last character, whatever they are";
  EXPECT_EQ(ini->SectionNames(1), u"");
  EXPECT_EQ(ini->SectionNames(2), u"");
}

TEST(IniFile, KeysAreTheTextBeforeTheFirstEqualsSign) {
  const auto ini = Parse(u"[S]\r\nk = v\r\na=b=c\r\nplain\r\n;x=comment\r\nK2=first\r\nk2=second\r\n=empty key");
  const struct {
    UStringView key;
    UStringView value;
  } found[] = {
      {u"k ", u" v"}, {u"a", u"b=c"}, {u";x", u"comment"}, {u"k2", u"first"}, {u"K2", u"first"}, {u"", u"plain"},
  };
  for (const auto& c : found) {
    UString value;
    EXPECT_TRUE(ini->ReadString(u"s", c.key, value)) << Utf8(c.key);
    EXPECT_EQ(value, c.value) << Utf8(c.key);
  }
  for (const UStringView missing : {u"k"sv, u"a=b"sv, u"plain"sv, u"x"sv}) {
    EXPECT_EQ(ini->ReadString(u"S", missing, u"default"), u"default") << Utf8(missing);
    EXPECT_FALSE(ini->KeyExists(u"S", missing)) << Utf8(missing);
  }
  EXPECT_EQ(ini->ReadString(u"Missing", u"a", u"d"), u"d");
  EXPECT_EQ(Keys(*ini, u"S"), (std::vector<UString>{u"k ", u"a", u";x", u"K2", u"k2"}));
  EXPECT_TRUE(Keys(*ini, u"Missing").empty());
}

TEST(IniFile, NamesMatchIgnoringCaseWithTheirFullLength) {
  const UString prefix(64, u'p');
  auto ini = Parse(u"[\u00C4rger]\r\n\u0416=cyrillic\r\n" + prefix + u"A=long a\r\n" + prefix + u"B=long b\r\nab=1\r\na=2");
  EXPECT_TRUE(ini->SectionExists(u"\u00E4RGER"));
  EXPECT_FALSE(ini->SectionExists(u"\u00C4rge"));
  EXPECT_EQ(ini->ReadString(u"\u00E4rger", u"\u0436", u""), u"cyrillic");
  EXPECT_EQ(ini->ReadString(u"\u00C4rger", prefix + u"b", u""), u"long b") << "names alike in their first 64 characters";
  EXPECT_EQ(ini->ReadString(u"\u00C4rger", u"a", u""), u"2");
  EXPECT_EQ(IniNameHash(u"abc"), IniNameHash(u"ABC"));
  EXPECT_EQ(IniNameHash(u"ABC"), 0x4563u);
  EXPECT_EQ(IniNameHash(prefix + u"x"), IniNameHash(prefix + u"y"));
}

TEST(IniFile, IntegersAcceptDecimalAndHexadecimalOnly) {
  const struct {
    UStringView text;
    int32_t expected;  // -99 is the default
  } cases[] = {
      {u"12", 12},         {u"  12", 12},        {u"-5", -5},           {u"+7", 7},
      {u"08", 8},          {u"$1F", 31},         {u"x1f", 31},          {u"X1F", 31},
      {u"0x1F", 31},       {u"0X1f", 31},        {u"-$10", -16},        {u"$FFFFFFFF", -1},
      {u"2147483647", INT32_MAX}, {u"-2147483648", INT32_MIN}, {u"$00000000010", 16},
      {u"2147483648", -99}, {u"-2147483649", -99}, {u"$100000000", -99}, {u"", -99},
      {u" ", -99},         {u"12 ", -99},        {u"1.5", -99},         {u"\t5", -99},
      {u"- 5", -99},       {u"$", -99},          {u"0x", -99},          {u"$G", -99},
      {u"1e3", -99},       {u"true", -99},       {u"99999999999999999999", -99},
  };
  TDRXIniFile ini;
  for (const auto& c : cases) {
    ini.WriteString(u"S", u"n", c.text);
    EXPECT_EQ(ini.ReadInteger(u"S", u"n", -99), c.expected) << Utf8(c.text);
    EXPECT_EQ(ini.Sections(0)->ReadInteger(u"n", -99), c.expected) << Utf8(c.text);
  }
  EXPECT_EQ(ini.ReadInteger(u"S", u"missing", 3), 3);
}

TEST(IniFile, BooleansAreNumbersWithTheDefaultAsFallback) {
  const struct {
    UStringView text;
    bool defaultValue, expected;
  } cases[] = {
      {u"1", false, true},    {u"2", false, true},  {u"-1", false, true}, {u"0", true, false},
      {u"true", false, false}, {u"true", true, true}, {u"", true, true},    {u"$0", true, false},
  };
  TDRXIniFile ini;
  for (const auto& c : cases) {
    ini.WriteString(u"S", u"b", c.text);
    EXPECT_EQ(ini.ReadBool(u"S", u"b", c.defaultValue), c.expected) << Utf8(c.text);
  }
  EXPECT_TRUE(ini.ReadBool(u"S", u"missing", true));
  ini.WriteBool(u"S", u"b", true);
  ini.WriteBool(u"S", u"c", false);
  ini.WriteInteger(u"S", u"i", -42);
  EXPECT_EQ(Saved(ini), u"[S]\r\nb=1\r\nc=0\r\ni=-42\r\n\r\n");
}

TEST(IniFile, WritesReplaceTheFirstMatchingLineWithTheCallersKey) {
  auto ini = Parse(u"[S]\r\nkey=1\r\nKEY=2\r\nother=x");
  EXPECT_EQ(ini->ReadString(u"S", u"Key", u""), u"1");
  ini->WriteString(u"S", u"KEY", u"3");
  EXPECT_EQ(ini->ReadSectionText(u"S"), u"KEY=3\r\nKEY=2\r\nother=x\r\n");
  ini->WriteString(u"s", u"new", u"");
  ini->WriteString(u"T", u"a", u"b");
  EXPECT_EQ(Saved(*ini), u"[S]\r\nKEY=3\r\nKEY=2\r\nother=x\r\nnew=\r\n\r\n[T]\r\na=b\r\n\r\n");

  EXPECT_TRUE(ini->DeleteKey(u"S", u"key"));
  EXPECT_EQ(ini->ReadString(u"S", u"key", u""), u"2") << "the second occurrence is the first now";
  EXPECT_FALSE(ini->DeleteKey(u"S", u"missing"));
  EXPECT_FALSE(ini->DeleteKey(u"Missing", u"key"));

  ini->WriteString(u"S", u"other", u"5", u"5");
  EXPECT_FALSE(ini->KeyExists(u"S", u"other")) << "a value equal to the default deletes the key";
  ini->WriteString(u"S", u"other", u"a", u"A");
  EXPECT_EQ(ini->ReadString(u"S", u"other", u""), u"a") << "the default is compared with case";
}

TEST(IniFile, SectionsAppearDisappearAndKeepTheirLookupsRight) {
  auto ini = Parse(u"[A]\r\nx=1\r\n[B]\r\ny=2\r\nz");
  EXPECT_TRUE(ini->DeleteKey(u"A", u"x"));
  EXPECT_TRUE(ini->SectionExists(u"A")) << "a section without lines lives on until saved";
  EXPECT_EQ(Saved(*ini), u"[B]\r\ny=2\r\nz\r\n\r\n");

  EXPECT_TRUE(ini->SectionExists(u"b"));
  EXPECT_TRUE(ini->DeleteSection(u"B"));
  EXPECT_FALSE(ini->SectionExists(u"b")) << "the last-found section is forgotten";
  EXPECT_FALSE(ini->DeleteSection(u"B"));
  ini->WriteString(u"b", u"y", u"new");
  EXPECT_EQ(ini->SectionNames(1), u"b");
  EXPECT_EQ(ini->ReadString(u"B", u"y", u""), u"new");

  TDRXIniFileSection* section = ini->FindSection(u"B");
  section->Put(0, u"renamed=1");
  section->Insert(0, u"y=inserted", 12345);
  EXPECT_EQ(ini->ReadString(u"B", u"y", u""), u"inserted") << "lines edited in place are looked up afresh";
  EXPECT_EQ(ini->ReadString(u"B", u"renamed", u""), u"1");

  ini->WriteSectionText(u"B", u"p=1\r\nq\r\n\r\n[r=2");
  EXPECT_EQ(ini->ReadSectionText(u"B"), u"p=1\r\nq\r\n\r\n[r=2\r\n");
  ini->WriteSectionText(u"C", u"");
  EXPECT_TRUE(ini->SectionExists(u"C"));
  EXPECT_EQ(ini->ReadSectionText(u"Missing"), u"");
  EXPECT_FALSE(ini->IsEmpty());
  ini->Clear();
  EXPECT_TRUE(ini->IsEmpty());
  EXPECT_FALSE(ini->SectionExists(u"C"));
}

// "AQ" and "BA" share their hash (65 * 16 + 81 = 66 * 16 + 65): the names decide.
TEST(IniFile, SectionsWhoseNamesHashAlikeAreToldApartByTheirNames) {
  ASSERT_EQ(IniNameHash(u"AQ"), IniNameHash(u"ba"));
  auto ini = Parse(u"[AQ]\r\nk=1\r\n[BA]\r\nk=2\r\n[x]\r\nk=3\r\n[aq]\r\nk=4\r\n");
  EXPECT_EQ(ini->SectionCount(), 3) << "a repeated header continues its section, whatever its case";
  EXPECT_EQ(ini->ReadSectionText(u"aQ"), u"k=1\r\nk=4\r\n");
  EXPECT_EQ(ini->ReadString(u"ba", u"k", u""), u"2");
  EXPECT_EQ(ini->ReadString(u"Aq", u"k", u""), u"1");
  EXPECT_FALSE(ini->SectionExists(u"AQ ")) << "same hash and letters, other length";

  EXPECT_TRUE(ini->DeleteSection(u"aq"));
  EXPECT_FALSE(ini->SectionExists(u"AQ"));
  EXPECT_EQ(ini->ReadString(u"BA", u"k", u""), u"2") << "the other name of that hash stays";
  ini->WriteString(u"aq", u"k", u"5");
  EXPECT_EQ(ini->SectionNames(2), u"aq") << "a section written anew goes to the end";
  EXPECT_TRUE(ini->DeleteSection(u"BA"));
  EXPECT_EQ(ini->ReadString(u"AQ", u"k", u""), u"5");
  EXPECT_EQ(Saved(*ini), u"[x]\r\nk=3\r\n\r\n[aq]\r\nk=5\r\n\r\n");

  ini->Clear();
  EXPECT_FALSE(ini->SectionExists(u"aq"));
  ini->LoadFromText(u"[BA]\r\nk=6\r\n");
  EXPECT_FALSE(ini->SectionExists(u"AQ")) << "loading starts from an empty index";
  EXPECT_EQ(ini->ReadString(u"ba", u"k", u""), u"6");
}

TEST(IniFile, ManySectionsAreEachFoundByTheirOwnName) {
  UString text;
  constexpr int kSections = 20000;
  for (int i = 0; i < kSections; ++i) text += u"[Section" + IntToStr(i) + u"]\r\nv=" + IntToStr(i) + u"\r\n";
  auto ini = Parse(text);
  ASSERT_EQ(ini->SectionCount(), kSections);
  for (int i = 0; i < kSections; i += 997) {
    EXPECT_EQ(ini->ReadString(u"SECTION" + IntToStr(i), u"v", u""), IntToStr(i));
    EXPECT_EQ(ini->SectionNames(i), u"Section" + IntToStr(i));
  }
  EXPECT_FALSE(ini->SectionExists(u"Section" + IntToStr(kSections)));
}

TEST(IniFile, BinaryValuesAreHexadecimal) {
  TDRXIniFile ini;
  TMemoryStream source("\x00\x01\xAB\xFF"sv);
  source.SetPosition(3);
  ini.WriteStream(u"S", u"bin", source);
  EXPECT_EQ(ini.ReadString(u"S", u"bin", u""), u"0001ABFF");
  EXPECT_EQ(source.Position(), 3);

  TMemoryStream target("xy");
  target.SetPosition(1);
  ini.WriteString(u"S", u"lower", u"abcd");
  EXPECT_TRUE(ini.ReadStream(u"S", u"lower", target));
  EXPECT_EQ(target.Bytes(), "x\xAB\xCD"sv) << "written at the stream's position";
  EXPECT_EQ(target.Position(), 0);

  for (const UStringView bad : {u""sv, u"ABC"sv, u"0G"sv, u"12 4"sv, u"-1"sv}) {
    ini.WriteString(u"S", u"bad", bad);
    TMemoryStream untouched("keep");
    untouched.SetPosition(2);
    EXPECT_FALSE(ini.ReadStream(u"S", u"bad", untouched)) << Utf8(bad);
    EXPECT_EQ(untouched.Bytes(), "keep");
    EXPECT_EQ(untouched.Position(), 2);
  }
  TMemoryStream any;
  EXPECT_FALSE(ini.ReadStream(u"S", u"missing", any));

  TMemoryStream empty;
  ini.WriteStream(u"S", u"bin", empty);
  EXPECT_FALSE(ini.KeyExists(u"S", u"bin")) << "an empty stream deletes the key";
}

TEST(IniFile, ObjectsLoadFromDecodedValuesAndSwallowTheirErrors) {
  auto ini = Parse(u"[S]\r\nicon=4F4B\r\nbad=4\r\nempty=");
  std::string loaded;
  const auto loader = [&](TStream& stream) { loaded = ReadRemainingBytes(stream); };
  EXPECT_TRUE(ini->ReadObject(u"S", u"icon", loader));
  EXPECT_EQ(loaded, "OK");
  loaded.clear();
  for (const UStringView key : {u"bad"sv, u"empty"sv, u"missing"sv}) EXPECT_FALSE(ini->ReadObject(u"S", key, loader));
  EXPECT_EQ(loaded, "") << "the loader is not called for malformed values";
  EXPECT_FALSE(ini->ReadObject(u"S", u"icon", [](TStream&) { throw EReadError(u"not an icon"); }));
}

TEST(IniFile, MergeAddsKeysAndCopiesMissingSectionsWhole) {
  const UStringView base = u"[A]\r\nx=1\r\n[B]\r\nkeep";
  const auto other = Parse(u"[a]\r\nx=2\r\ny=3\r\nY=4\r\nplain\r\n[C]\r\nno key\r\nz=5");
  const struct {
    bool overwrite;
    UStringView saved;
  } cases[] = {
      {false, u"[A]\r\nx=1\r\ny=3\r\n\r\n[B]\r\nkeep\r\n\r\n[C]\r\nno key\r\nz=5\r\n\r\n"},
      {true, u"[A]\r\nx=2\r\nY=3\r\n\r\n[B]\r\nkeep\r\n\r\n[C]\r\nno key\r\nz=5\r\n\r\n"},
  };
  for (const auto& c : cases) {
    auto ini = Parse(base);
    ini->Merge(*other, c.overwrite);
    EXPECT_EQ(Utf8(Saved(*ini)), Utf8(c.saved)) << c.overwrite;
    ini->Merge(*ini, true);
    EXPECT_EQ(Utf8(Saved(*ini)), Utf8(c.saved)) << "merging with itself changes nothing";
  }

  TTempFolder folder;
  WriteFileBytes(folder.File(u"other.ini"), "[B]\r\nk=v\r\n");
  auto ini = Parse(base);
  ini->Merge(folder.File(u"other.ini"), false);
  ini->Merge(folder.File(u"missing.ini"), true);
  EXPECT_EQ(ini->ReadString(u"B", u"k", u""), u"v");
  EXPECT_EQ(ini->ReadSectionText(u"B"), u"keep\r\nk=v\r\n");
}

TEST(IniFile, AssignAndEqualsWorkOnTheSavedForm) {
  const auto source = Parse(u"[A]\r\nx=1\r\n[Empty]\r\n[B]\r\ny");
  TDRXIniFile copy;
  copy.SetEncoding(TDRXEncoding::Utf8());
  copy.WriteString(u"Old", u"k", u"v");
  copy.Assign(*source);
  EXPECT_EQ(Saved(copy), u"[A]\r\nx=1\r\n\r\n[B]\r\ny\r\n\r\n");
  EXPECT_TRUE(copy.Equals(*source));
  EXPECT_FALSE(copy.SectionExists(u"Empty"));
  EXPECT_EQ(copy.Encoding(), TDRXEncoding::Utf8()) << "the encoding stays the document's own";
  copy.WriteString(u"A", u"x", u"2");
  EXPECT_FALSE(copy.Equals(*source));
  EXPECT_TRUE(TDRXIniFile().Equals(*Parse(u"[Empty]")));
}

TEST(IniFile, ChangesAreSignalledOnceAtTheOutermostEndUpdate) {
  TDRXIniFile ini;
  int changes = 0;
  ini.OnChanged = [&] { ++changes; };
  ini.WriteString(u"S", u"k", u"v");
  ini.WriteString(u"S", u"k", u"v");
  EXPECT_EQ(changes, 2) << "a write is a change even when the text stays the same";
  EXPECT_TRUE(ini.Modified());

  ini.BeginUpdate();
  ini.BeginUpdate();
  ini.WriteInteger(u"S", u"a", 1);
  ini.DeleteKey(u"S", u"k");
  ini.EndUpdate();
  EXPECT_EQ(changes, 2);
  ini.EndUpdate();
  EXPECT_EQ(changes, 3);
  ini.EndUpdate();
  ini.BeginUpdate();
  ini.EndUpdate();
  EXPECT_EQ(changes, 3) << "no change inside, no signal; an extra EndUpdate is harmless";

  ini.FindSection(u"S")->Add(u"direct");
  ini.WriteSectionText(u"S", u"a\r\nb\r\nc");
  ini.DeleteSection(u"S");
  ini.Clear();
  ini.LoadFromText(u"[S]\r\na\r\nb");
  EXPECT_EQ(changes, 8);
  EXPECT_FALSE(ini.DeleteSection(u"Missing"));
  EXPECT_EQ(ini.ReadString(u"S", u"", u""), u"a");
  EXPECT_EQ(changes, 8) << "failed deletes and reads are no changes";

  ini.OnChanged = [&] { throw EInvalidOperation(u"handler failed"); };
  EXPECT_THROW(ini.WriteString(u"S", u"k", u"v"), EInvalidOperation);
  ini.OnChanged = [&] { ++changes; };
  ini.WriteString(u"S", u"k", u"w");
  EXPECT_EQ(changes, 9) << "a failing handler leaves no update open";
}

TEST(IniFile, EncodingIsDetectedAndKeptOnSave) {
  const TEncodingCase cases[] = {
      {"[S]\r\nk=caf\xE9\r\n\r\n", TDRXEncoding::Ansi(), u"caf\u00E9"},
      {"\xEF\xBB\xBF[S]\r\nk=\xD0\x96\r\n\r\n", TDRXEncoding::Utf8(), u"\u0416"},
      {"\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\x16\x04\r\0\n\0\r\0\n\0"sv, TDRXEncoding::Utf16LE(), u"\u0416"},
      {"\xFE\xFF\0[\0S\0]\0\r\0\n\0k\0=\x04\x16\0\r\0\n\0\r\0\n"sv, TDRXEncoding::Utf16BE(), u"\u0416"},
  };
  TTempFolder folder;
  const UString file = folder.File(u"a.ini");
  for (const auto& c : cases) {
    WriteFileBytes(file, c.bytes);
    TDRXIniFile ini(file);
    EXPECT_EQ(ini.Encoding(), c.encoding);
    EXPECT_EQ(ini.ReadString(u"S", u"k", u""), c.value);
    ini.WriteString(u"S", u"k", c.value);
    EXPECT_TRUE(ini.UpdateFile());
    EXPECT_EQ(ReadFileBytes(file), c.bytes) << "saved in the encoding it was loaded in";
  }

  const TEncodingCase odd[] = {
      {"\xEF\xBB", TDRXEncoding::Ansi(), u""},
      {"\xFF\xFE", TDRXEncoding::Utf16LE(), u""},
      {"\xEF\xBB\xBF[S]\nk=caf\xE9", TDRXEncoding::Utf8(), u"caf\u00E9"},
      {"\xFF\xFE[\0S\0]\0\n\0k\0=\0v\0!"sv, TDRXEncoding::Utf16LE(), u"v"},
  };
  for (const auto& c : odd) {
    TMemoryStream stream;
    stream.WriteBuffer("skip", 4);
    stream.WriteBuffer(c.bytes.data(), static_cast<int64_t>(c.bytes.size()));
    stream.SetPosition(4);
    TDRXIniFile ini;
    ini.LoadFromText(u"[Gone]\r\nx");
    ini.LoadFromStream(stream);
    EXPECT_EQ(ini.Encoding(), c.encoding) << c.bytes;
    EXPECT_FALSE(ini.SectionExists(u"Gone")) << "the content is replaced";
    EXPECT_EQ(ini.ReadString(u"S", u"k", u""), c.value) << c.bytes;
  }
}

TEST(IniFile, NewDocumentsAreSavedAsUtf16WithMark) {
  TTempFolder folder;
  const UString file = folder.File(u"new.ini");
  TDRXIniFile ini(file);
  EXPECT_TRUE(ini.IsEmpty()) << "a missing file loads as an empty document";
  EXPECT_EQ(ini.FileName(), file);
  ini.WriteString(u"S", u"k", u"v");
  EXPECT_TRUE(ini.UpdateFile());
  EXPECT_EQ(ReadFileBytes(file), "\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0\r\0\n\0"sv);
  ini.DeleteSection(u"S");
  EXPECT_TRUE(ini.UpdateFile());
  EXPECT_EQ(ReadFileBytes(file), "\xFF\xFE");
  EXPECT_EQ(TDRXIniFile(file).Encoding(), TDRXEncoding::Utf16LE()) << "an emptied document keeps its encoding";
  TDRXIniFile ansi;
  ansi.WriteString(u"S", u"k", u"\u00E9\u0416");
  EXPECT_TRUE(ansi.SaveToFile(file, TDRXEncoding::Ansi(1252)));
  EXPECT_EQ(ReadFileBytes(file), "[S]\r\nk=\xE9?\r\n\r\n");
}

TEST(IniFile, UpdateFileWritesOnlyModifiedBoundDocuments) {
  TTempFolder folder;
  const UString file = folder.File(u"a.ini");
  TDRXIniFile unbound;
  unbound.WriteString(u"S", u"k", u"v");
  EXPECT_FALSE(unbound.UpdateFile());

  WriteFileBytes(file, "[S]\r\nk=v");
  {
    TDRXIniFile ini(file, true);
    EXPECT_FALSE(ini.Modified());
    EXPECT_TRUE(ini.UpdateFile());
    EXPECT_EQ(ReadFileBytes(file), "[S]\r\nk=v") << "an unmodified document is not written";
  }
  EXPECT_EQ(ReadFileBytes(file), "[S]\r\nk=v") << "nor saved by AutoSave";
  {
    TDRXIniFile ini(file, true);
    ini.WriteString(u"S", u"k", u"w");
  }
  EXPECT_EQ(ReadFileBytes(file), "[S]\r\nk=w\r\n\r\n") << "AutoSave saves on destruction";
  {
    TDRXIniFile ini(file);
    ini.WriteString(u"S", u"k", u"x");
  }
  EXPECT_EQ(ReadFileBytes(file), "[S]\r\nk=w\r\n\r\n") << "without AutoSave nothing is saved";

  TDRXIniFile ini(file);
  ini.WriteString(u"S", u"k", u"y");
  namespace fs = std::filesystem;
  const fs::path native = folder.Native() / "a.ini";
  fs::permissions(native, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_TRUE(ini.UpdateFile()) << "a read-only file is overwritten";
  EXPECT_NE(fs::status(native).permissions() & fs::perms::owner_write, fs::perms::none);
  EXPECT_FALSE(ini.Modified());
  EXPECT_EQ(ReadFileBytes(file), "[S]\r\nk=y\r\n\r\n");

  ini.WriteString(u"S", u"k", u"z");
  ini.LoadFromFile(folder.File(u"missing\\dir/b.ini"));
  EXPECT_TRUE(ini.IsEmpty());
  EXPECT_FALSE(ini.Modified());
  ini.WriteString(u"S", u"k", u"z");
  EXPECT_FALSE(ini.UpdateFile()) << "a file that cannot be created";
  EXPECT_TRUE(ini.Modified());
  EXPECT_FALSE(ini.SaveToFile(folder.Path(), TDRXEncoding::Utf16LE())) << "a folder is no file";
}

TEST(IniFile, ValuesWithLineBreaksComeBackAsSeparateLines) {
  TDRXIniFile ini;
  ini.WriteString(u"S", u"k", u"one\r\ntwo=2");
  EXPECT_EQ(ini.ReadString(u"S", u"k", u""), u"one\r\ntwo=2");
  TMemoryStream stream;
  ini.SaveToStream(stream);
  stream.SetPosition(0);
  TDRXIniFile reloaded;
  reloaded.LoadFromStream(stream);
  EXPECT_EQ(reloaded.ReadString(u"S", u"k", u""), u"one");
  EXPECT_EQ(reloaded.ReadString(u"S", u"two", u""), u"2");
}
