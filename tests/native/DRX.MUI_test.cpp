#include "DRX.MUI.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"
#include "TestSupport.h"

namespace {

constexpr char kEnglish[] =
    "[File]\r\nName=English\r\nLangId=1033\r\n"
    "[Page]\r\na=A-en\r\nb=B-en\r\n"
    "[Only]\r\nplain line\r\nx=1\r\n";
constexpr char kTranslation[] = "[File]\r\nName=Deutsch\r\n[Page]\r\na=A-de\r\n";

// Points the languages folder at a fresh temporary folder for each test.
class Localization : public testing::Test {
 protected:
  void SetUp() override { SetLangsFolder(folder_.Path()); }
  void TearDown() override {
    SetLangsFolder(savedFolder_);
    SetDRXCodePage(0);
  }
  void WriteLang(UStringView name, std::string_view text) { WriteFileBytes(folder_.File(name), text); }

  TTempFolder folder_;
  UString savedFolder_ = LangsFolder();
};

class TRecordingListener : public IDRXLocalizationListener3 {
 public:
  TRecordingListener(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
  void LangInitialize() override { Record("init"); }
  void LangApply() override { Record("apply"); }
  void LangChanged() override { Record("changed"); }
  std::function<void()> OnInitialize;

 private:
  void Record(const char* what) {
    log_.push_back(name_ + ":" + what);
    if (OnInitialize && std::string(what) == "init") OnInitialize();
  }
  std::string name_;
  std::vector<std::string>& log_;
};

class TPlainListener : public IDRXLocalizationListener {
 public:
  explicit TPlainListener(std::vector<std::string>& log) : log_(log) {}
  void LangChanged() override { log_.push_back("plain:changed"); }

 private:
  std::vector<std::string>& log_;
};

class TSecondListener : public IDRXLocalizationListener2 {
 public:
  explicit TSecondListener(std::vector<std::string>& log) : log_(log) {}
  void LangInitialize() override { log_.push_back("second:init"); }
  void LangChanged() override { log_.push_back("second:changed"); }

 private:
  std::vector<std::string>& log_;
};

class TRecordingIcon : public IDRXLangIcon {
 public:
  void LoadFromStream(TStream& stream) override {
    const std::string bytes = ReadRemainingBytes(stream);
    if (bytes == "bad") throw EReadError(u"not an icon");
    loaded = bytes;
  }
  void Clear() override { cleared = true; }
  std::string loaded;
  bool cleared = false;
};

}  // namespace

TEST(LangsFolder, IsBesideTheRunningProgram) {
  const UString program = PlatformProgramFileName();
  EXPECT_TRUE(StartsWith(ExtractFileName(program), u"native.DRX.MUI_test")) << Utf16ToUtf8(program);
  EXPECT_EQ(LangsFolder(), ExtractFilePath(program) + u"Langs" + PathDelim);
}

TEST_F(Localization, TranslationsAreCompletedFromEnglishExceptEnglishAndRussian) {
  WriteLang(u"English.lng", kEnglish);
  const struct {
    UStringView file;
    bool completed;
  } cases[] = {{u"German.lng", true}, {u"RUSSIAN.LNG", false}, {u"Missing.lng", true}};
  for (const auto& c : cases) {
    WriteLang(u"German.lng", kTranslation);
    WriteLang(u"RUSSIAN.LNG", kTranslation);
    TDRXLocalization lang(UString{c.file});
    EXPECT_EQ(lang.FileName(), folder_.File(c.file));
    EXPECT_EQ(lang.ReadString(u"Page", u"b", u"none"), c.completed ? u"B-en" : u"none") << Utf16ToUtf8(c.file);
    EXPECT_EQ(lang.ReadSectionText(u"Only"), c.completed ? u"plain line\r\nx=1\r\n" : u"")
        << "missing sections are copied whole";
    if (c.file != u"Missing.lng") {
      EXPECT_EQ(lang.ReadString(u"Page", u"a", u""), u"A-de");
    }
  }

  TDRXLocalization lang;
  TMemoryStream stream(kTranslation);
  lang.LoadFromStream(stream);
  EXPECT_EQ(lang.ReadString(u"Page", u"b", u""), u"B-en") << "a stream without a file name is completed too";

  std::filesystem::remove(folder_.Native() / "English.lng");
  lang.LoadFromFile(u"German.lng");
  EXPECT_EQ(lang.ReadString(u"Page", u"b", u"none"), u"none") << "without English nothing is added";
  EXPECT_EQ(lang.ReadString(u"File", u"Name", u""), u"Deutsch");
}

TEST_F(Localization, BackslashNReadsAsALineBreak) {
  WriteLang(u"English.lng", "[S]\r\ntext=one\\ntwo\\n\r\nn=\\\\n\r\nnum=\\n5\r\n");
  TDRXLocalization lang(u"English.lng");
  EXPECT_EQ(lang.ReadString(u"S", u"text", u""), u"one\r\ntwo\r\n");
  EXPECT_EQ(lang.ReadString(u"S", u"n", u""), u"\\\r\n");
  EXPECT_EQ(lang.ReadInteger(u"S", u"num", 7), 7);
  EXPECT_EQ(lang.ReadSectionText(u"S"), u"text=one\\ntwo\\n\r\nn=\\\\n\r\nnum=\\n5\r\n") << "stored as written";
}

TEST_F(Localization, LoadingSetsTheProcessWideCodePage) {
  const struct {
    std::string_view text;
    uint32_t codePage;
  } cases[] = {
      {"[File]\r\nANSICP=1251", 1251},
      {"[File]\r\nName=x", 0},
      {"[File]\r\nANSICP=-5", 0},
      {"[File]\r\nANSICP=$3A4", 932},
  };
  TDRXLocalization lang;
  for (const auto& c : cases) {
    SetDRXCodePage(1);
    TMemoryStream stream(c.text);
    lang.LoadFromStream(stream);
    EXPECT_EQ(GetDRXCodePage(), c.codePage) << c.text;
  }
  SetDRXCodePage(1);
  lang.LoadFromFile(u"Missing.lng");
  EXPECT_EQ(GetDRXCodePage(), 0u) << "a missing file has no code page of its own";
}

TEST_F(Localization, InfoComesFromTheFileSection) {
  const struct {
    std::string_view text;
    TDRXLocalizationInfo info;
    std::string icon;
    bool cleared;
  } cases[] = {
      {"[File]\r\nName=Deutsch\r\nAuthor=Me\r\nLangId=1031\r\nVersionId=$10\r\nIcon=49434F", {u"Me", 1031, u"Deutsch", 16}, "ICO", false},
      {"[File]\r\nName=N\r\nIcon=4", {u"", 0, u"N", 0}, "", true},
      {"[File]\r\nLangId=x\r\nIcon=626164", {u"", 0, u"", 0}, "", true},
      {"[Other]\r\nName=N", {u"", 0, u"", 0}, "", true},
  };
  for (const auto& c : cases) {
    TDRXIniFile lang;
    TMemoryStream stream(c.text);
    lang.LoadFromStream(stream);
    TDRXLocalizationInfo info{u"old", 5, u"old", 5};
    TRecordingIcon icon;
    EXPECT_TRUE(LangGetInfo(lang, info, &icon));
    EXPECT_EQ(info.Author, c.info.Author) << c.text;
    EXPECT_EQ(info.LangId, c.info.LangId) << c.text;
    EXPECT_EQ(info.Name, c.info.Name) << c.text;
    EXPECT_EQ(info.VersionId, c.info.VersionId) << c.text;
    EXPECT_EQ(icon.loaded, c.icon) << c.text;
    EXPECT_EQ(icon.cleared, c.cleared) << c.text;
    EXPECT_TRUE(LangGetInfo(lang, info));
  }
}

TEST_F(Localization, ItemsTakeTheirIndexedTexts) {
  TMemoryStream stream("[List]\r\ni[1]=Second\\nline\r\ni[3]=beyond\r\n");
  LangFile().LoadFromStream(stream);
  TDRXStringList items;
  items.Add(u"first", 10);
  items.Add(u"second", 11);
  items.Add(u"third", 12);
  LangApplyToItems(u"list", items);
  EXPECT_EQ(items.Text(), u"first\r\nSecond\r\nline\r\nthird\r\n");
  EXPECT_EQ(items.Count(), 3);
  EXPECT_EQ(items.Data(1), 11);
  EXPECT_EQ(LangGet(u"List", u"i[1]"), u"Second\r\nline");
  EXPECT_EQ(LangGet(u"List", u"missing", u"d"), u"d");
  LangApplyToItems(u"Missing", items);
  EXPECT_EQ(items.Strings(0), u"first");
}

TEST_F(Localization, ListenersAreCalledInPhases) {
  std::vector<std::string> log;
  TPlainListener plain(log);
  TRecordingListener third("third", log);
  TSecondListener second(log);
  TDRXLocalization lang;
  lang.AddListener(&plain);
  lang.AddListener(&third);
  lang.AddListener(&second);
  lang.AddListener(&third);
  TMemoryStream stream("[File]\r\nName=x");
  lang.LoadFromStream(stream);
  EXPECT_EQ(log, (std::vector<std::string>{"third:init", "second:init", "third:apply", "plain:changed", "third:changed",
                                           "second:changed"}));

  log.clear();
  lang.LoadFromFile(u"Missing.lng");
  EXPECT_EQ(log.size(), 6u) << "a missing file is a change of language too";

  log.clear();
  lang.RemoveListener(&plain);
  lang.LangChanged();
  EXPECT_EQ(log, (std::vector<std::string>{"third:init", "second:init", "third:apply", "third:changed", "second:changed"}));
}

TEST_F(Localization, ListenersMayLeaveWhileNotified) {
  std::vector<std::string> log;
  TRecordingListener first("first", log), second("second", log), third("third", log);
  TDRXLocalization lang;
  for (auto* listener : {&first, &second, &third}) lang.AddListener(listener);
  first.OnInitialize = [&] {
    lang.RemoveListener(&first);
    lang.RemoveListener(&third);
    lang.RemoveListener(&third);
  };
  lang.LangChanged();
  EXPECT_EQ(log, (std::vector<std::string>{"first:init", "second:init", "second:apply", "second:changed"}));

  log.clear();
  second.OnInitialize = [&] { lang.AddListener(&third); };
  lang.LangChanged();
  EXPECT_EQ(log, (std::vector<std::string>{"second:init", "third:init", "second:apply", "third:apply",
                                           "second:changed", "third:changed"}));
}
