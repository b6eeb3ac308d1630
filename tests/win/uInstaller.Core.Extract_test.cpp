#include "uInstaller.Core.Extract.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "DRX.Classes.Thread.h"
#include "DRX.FileFormats.INI.h"
#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Registry.h"
#include "DRX.Utils.Shell.h"
#include "TestDialogs.h"
#include "TestInstaller.h"
#include "TestSupport.h"
#include "uInstaller.Core.Exceptions.h"
#include "uInstaller.Core.FileUtils.h"
#include "uInstaller.Core.Package.h"
#include "uInstaller.Core.Repository.h"
#include "uInstaller.Core.Script.h"

namespace {

const UString kUninstallRoot = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

const char kEnglish[] =
    "[File]\r\nName=English\r\nLangId=1033\r\nFamily=EN\r\n[Common]\r\nA4=Extracting files\r\n"
    "A7=Writing uninstall data\r\nE1=Aborted at %s\r\nE3=Cannot create folder %s\r\nQM2=Cannot write %s\r\n";

// Setup entries whose script names `product` and lists the given components.
TTestEntries SetupEntries(const UString& product, const std::string& components) {
  TTestEntries entries = DefaultSetupEntries();
  entries[u"English.lng"] = kEnglish;
  entries[u"Install.xml"] =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<setup-script><product><Settings>"
      "<Item name=\"ProductName\" value=\"" + Utf16ToUtf8(product) + "\"/>"
      "<Item name=\"Publisher\" value=\"Ovix Team\"/><Item name=\"ProductVersionNo\" value=\"5.01.0\"/>"
      "<Item name=\"HomePage\" value=\"https://ovix.example/\"/></Settings>"
      "<Components>" + components + "</Components></product></setup-script>\n";
  return entries;
}

const TTestEntries kPayloads = {{u"player.bin", "NEW"}, {u"readme.en", "README"}, {u"helper.bin", "HELPER"},
                                {u"Russian.lng", "RUSSIAN"}};

struct TEvent {
  int code;
  int current;  // inProgress: the action's own progress
  UString text;  // inStatusText
  std::vector<bool> present;  // which of the watched files existed at that moment
};

class TEventLog : public IInstallerNotify {
 public:
  std::vector<UString> Watched;
  std::vector<TEvent> Events;
  void Notify(int code, intptr_t data) override {
    if (code != inProgress && code != inStatusText) return;
    std::vector<bool> present;
    for (const UString& file : Watched) present.push_back(FileExists(file));
    Events.push_back({code, code == inProgress ? int(data & 0xFFFF) : 0,
                      code == inStatusText ? NotifyText(data) : UString(), present});
  }
};

class Extraction : public ::testing::Test {
 protected:
  Extraction()
      : product(u"OvixExtractTest-" + IntToStr(GetCurrentProcessId()) + u"-" + IntToStr(GetTickCount64() % 100000)),
        outside(PlatformTempFolder() + product + u"\\") {}
  ~Extraction() override {
    TInstallerExtractHelper::Question = AskAbortRetryIgnore;
    installer.reset();
    TInstallerApplicationRepository::Unregister(product);
    DeleteFolderTree(outside);
  }

  void Create(const std::string& components, const UString& switches = u"") {
    installer = std::make_unique<TInstaller>(u"/AUTO=\"" + destination.Path() + u"\" /SILENT " + switches,
                                             TestPackages(SetupEntries(product, components), kPayloads));
    installer->Resources().InitializeLanguages([] { return UString(u"English.lng"); });
  }
  // Runs the extraction as the only action of an installation.
  void RunAction() {
    TTestProductInfo::ActionClasses = {ActionClass<TInstallerActionExtract>()};
    installer->AddListener(&log);
    installer->Start(true);
    installer->RemoveListener(&log);
  }
  void Extract(const UString& name, const UString& source) {
    TInstallerScriptFile file;
    file.Name = name;
    file.Source = source;
    installer->ExtractHelper().ExtractFile(file);
  }
  bool Registered() {
    TDRXRegistryKey key;
    return key.Open(HKEY_LOCAL_MACHINE, kUninstallRoot + product, KEY_READ);
  }
  std::unique_ptr<TDRXIniFile> ReadUninstallIni() {
    TSetupPackageReader package(destination.File(u"Uninstall.dat"));
    std::unique_ptr<TMemoryStream> stream;
    EXPECT_TRUE(package.Extract(u"Uninstall.ini", stream));
    if (!stream) return nullptr;
    EXPECT_EQ(stream->Bytes().substr(0, 2), "\xFF\xFE") << "saved as UTF-16LE with its mark";
    auto ini = std::make_unique<TDRXIniFile>();
    ini->LoadFromStream(*stream);
    return ini;
  }

  TTestProductGuard guard;
  UString product;       // a throwaway name: its registry entry is removed afterwards
  UString outside;       // a folder under $TEMP, outside the destination
  TTempFolder destination;
  TEventLog log;
  std::unique_ptr<TInstaller> installer;
};

// Holds a file open for reading (or with the access given), sharing what it
// is told to, while it lives.
class TOpenFile {
 public:
  TOpenFile(const UString& fileName, DWORD share, DWORD access = GENERIC_READ)
      : handle_(share == kNotOpen ? INVALID_HANDLE_VALUE
                                  : CreateFileW(W(fileName), access, share, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
  ~TOpenFile() { Close(); }
  void Close() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }
  static constexpr DWORD kNotOpen = 0xFFFFFFFF;

 private:
  HANDLE handle_;
};

}  // namespace

TEST_F(Extraction, ATargetThatCannotBeWrittenIsLeftWhenEqualOrMovedAsideOrAskedAbout) {
  Create("");
  const UString target = destination.File(u"Ovix.exe");
  const UString bak = target + u".bak";
  constexpr DWORD kNotOpen = TOpenFile::kNotOpen;
  constexpr DWORD kRead = FILE_SHARE_READ, kReadDelete = FILE_SHARE_READ | FILE_SHARE_DELETE;
  struct Case {
    const char* name;
    const char* existing;   // content before; nullptr: no file
    bool readOnly;
    DWORD openShare;        // the file is held open sharing this (kNotOpen: not held)
    const char* staleBak;   // a .bak left by an earlier run; nullptr: none
    std::vector<int> answers;  // to the questions, in order; IDRETRY on the first closes the holder when marked
    bool releaseOnQuestion;
    const char* expected;      // content afterwards
    const char* expectedBak;   // nullptr: no .bak
    bool aborted;
  };
  const Case cases[] = {
      {"missing", nullptr, false, kNotOpen, nullptr, {}, false, "NEW", nullptr, false},
      {"writable", "old", false, kNotOpen, nullptr, {}, false, "NEW", nullptr, false},
      {"read-only, equal", "NEW", true, kNotOpen, nullptr, {}, false, "NEW", nullptr, false},
      {"read-only, different", "old", true, kNotOpen, nullptr, {}, false, "NEW", "old", false},
      {"open without write sharing, equal", "NEW", false, kRead, nullptr, {}, false, "NEW", nullptr, false},
      {"open, movable, different", "old", false, kReadDelete, nullptr, {}, false, "NEW", "old", false},
      {"open, not movable: retry repeats, ignore skips", "old", false, kRead, nullptr,
       {IDRETRY, IDRETRY, IDIGNORE}, false, "old", nullptr, false},
      {".bak present: ignore skips", "old", false, kReadDelete, "older", {IDIGNORE}, false, "old", "older", false},
      {".bak present: retry once the file is free", "old", false, kReadDelete, "older", {IDRETRY}, true, "NEW",
       "older", false},
      {".bak present: a closed box counts as ignore", "old", false, kReadDelete, "older", {IDCANCEL}, false, "old",
       "older", false},
      {".bak present: abort", "old", false, kReadDelete, "older", {IDABORT}, false, "old", "older", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.existing) WriteFileBytes(target, c.existing);
    if (c.readOnly) {
      ASSERT_TRUE(SetFileAttributesW(W(target), FILE_ATTRIBUTE_READONLY));
    }
    if (c.staleBak) WriteFileBytes(bak, c.staleBak);
    TOpenFile holder(target, c.openShare);
    std::vector<UString> questions;
    TInstallerExtractHelper::Question = [&](const UString& text) {
      questions.push_back(text);
      if (c.releaseOnQuestion) holder.Close();
      return questions.size() <= c.answers.size() ? c.answers[questions.size() - 1] : IDABORT;
    };
    try {
      Extract(u"$DEST\\Ovix.exe", u"player.bin");
      EXPECT_FALSE(c.aborted) << "expected EInstallerInstallError";
    } catch (const EInstallerInstallError& error) {
      EXPECT_TRUE(c.aborted) << error.what();
      EXPECT_EQ(error.Message(), u"Aborted at " + target);
    }
    holder.Close();
    EXPECT_EQ(questions.size(), c.answers.size());
    for (const UString& question : questions) EXPECT_EQ(question, u"Cannot write " + target);
    EXPECT_EQ(ReadFileBytes(target), c.expected);
    EXPECT_EQ(FileExists(bak), c.expectedBak != nullptr);
    if (c.expectedBak) {
      EXPECT_EQ(ReadFileBytes(bak), c.expectedBak);
    }
    for (const UString& file : {target, bak}) {
      SetFileAttributesW(W(file), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(W(file));
    }
  }
}

// A program that may move or delete its file holds it with delete access: the
// comparison must share that, or the installation fails on reading the file.
TEST_F(Extraction, ATargetHeldWithDeleteAccessIsComparedOrMovedAside) {
  Create("");
  const UString target = destination.File(u"Ovix.exe");
  const struct {
    const char* existing;
    const char* expectedBak;  // nullptr: none
  } cases[] = {{"NEW", nullptr}, {"old", "old"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.existing);
    WriteFileBytes(target, c.existing);
    TOpenFile holder(target, FILE_SHARE_READ | FILE_SHARE_DELETE, GENERIC_READ | DELETE);
    ASSERT_TRUE(holder.Held());
    TInstallerExtractHelper::Question = [](const UString&) { return IDABORT; };
    EXPECT_NO_THROW(Extract(u"$DEST\\Ovix.exe", u"player.bin"));
    holder.Close();
    EXPECT_EQ(ReadFileBytes(target), "NEW");
    EXPECT_EQ(FileExists(target + u".bak"), c.expectedBak != nullptr);
    if (c.expectedBak) {
      EXPECT_EQ(ReadFileBytes(target + u".bak"), c.expectedBak);
    }
    DeleteFileW(W(target));
    DeleteFileW(W(target + u".bak"));
  }
}

TEST_F(Extraction, WithMessageBoxesSuppressedALockedTargetIsAnsweredWithAbort) {
  Create("", u"/SUPPRESSMSGBOXES");
  ASSERT_TRUE(installer->SuppressesMessageBoxes());
  const UString target = destination.File(u"Ovix.exe");
  WriteFileBytes(target, "old");
  TOpenFile holder(target, FILE_SHARE_READ);
  int questions = 0;
  TInstallerExtractHelper::Question = [&](const UString&) {
    ++questions;
    return IDIGNORE;
  };
  EXPECT_THROW(Extract(u"$DEST\\Ovix.exe", u"player.bin"), EInstallerInstallError);
  EXPECT_EQ(questions, 0) << "no box: nobody is there to answer it";
  holder.Close();
  EXPECT_EQ(ReadFileBytes(target), "old");
}

TEST_F(Extraction, FailuresNameTheFolderEntryOrFile) {
  Create("");
  WriteFileBytes(destination.File(u"Block"), "a file where a folder should be");
  ASSERT_TRUE(ForceDirectories(destination.File(u"Folder.exe")));
  struct Case {
    UString name, source, message;
  };
  const Case cases[] = {
      {u"$DEST\\Block\\x.txt", u"player.bin", u"Cannot create folder " + destination.File(u"Block\\")},
      {u"$DEST\\Ovix.exe", u"nothing.bin", u"Cannot locate \"nothing.bin\" file in setup archive"},
  };
  for (const Case& c : cases) {
    try {
      Extract(c.name, c.source);
      ADD_FAILURE() << "expected EInstallerInstallError for " << Utf16ToUtf8(c.name);
    } catch (const EInstallerInstallError& error) {
      EXPECT_EQ(error.Message(), c.message);
    }
  }
  try {
    Extract(u"$DEST\\Folder.exe", u"player.bin");
    ADD_FAILURE() << "expected EFCreateError";
  } catch (const EFCreateError& error) {
    EXPECT_TRUE(StartsWith(error.Message(), u"Cannot create file \"" + destination.File(u"Folder.exe") + u"\"."))
        << error.what() << " (the creation's reason, not a failed comparison)";
  }
}

TEST_F(Extraction, AFolderLinkBelowTheDestinationIsNeverWrittenThrough) {
  Create("");
  TTempFolder behind;
  TFolderLink link(destination.File(u"Skins"), behind.Path());
  if (!link.Made()) GTEST_SKIP() << "no folder link could be made here";
  WriteFileBytes(behind.File(u"Default.skin"), "the user's own skin");
  try {
    Extract(u"$DEST\\Skins\\Default.skin", u"player.bin");
    FAIL() << "expected EInstallerInstallError";
  } catch (const EInstallerInstallError& error) {
    EXPECT_EQ(error.Message(), u"Cannot create folder " + destination.File(u"Skins\\"));
  }
  EXPECT_EQ(ReadFileBytes(behind.File(u"Default.skin")), "the user's own skin");
}

TEST_F(Extraction, TheActionWritesTheFilesOfTheFamilyThenUninstallDataAndTheEntry) {
  Create("<File name=\"$DEST\\Ovix.exe\">player.bin</File>"
         "<File name=\"$DEST\\Langs\\Readme.txt\" lang-family=\"EN\">readme.en</File>"
         "<File name=\"$DEST\\Langs\\Russian.lng\" lang-family=\"RU\">Russian.lng</File>"
         "<File name=\"$TEMP\\" + Utf16ToUtf8(product) + "\\Helper.dll\">helper.bin</File>");
  installer->Settings().WriteString(u"System", u"UserMode", u"1");
  installer->Settings().WriteString(u"Uninstall", u"0", u"stale.txt");
  installer->Settings().WriteString(u"Uninstall", u"Count", u"7");
  const UString helper = outside + u"Helper.dll";
  log.Watched = {destination.File(u"Ovix.exe"), destination.File(u"Langs\\Readme.txt"), helper,
                 destination.File(u"Uninstall.dat")};
  RunAction();

  EXPECT_EQ(installer->State(), stFinished);
  EXPECT_EQ(installer->Errors().Count(), 0) << Utf16ToUtf8(installer->Errors().Text());
  EXPECT_EQ(ReadFileBytes(destination.File(u"Ovix.exe")), "NEW");
  EXPECT_EQ(ReadFileBytes(destination.File(u"Langs\\Readme.txt")), "README");
  EXPECT_EQ(ReadFileBytes(helper), "HELPER");
  EXPECT_FALSE(FileExists(destination.File(u"Langs\\Russian.lng"))) << "another family's file";
  EXPECT_EQ(ReadFileBytes(destination.File(u"Uninstall.exe")), ReadFileBytes(PlatformProgramFileName()));

  // Status "A4", each file announced by its progress before it is written, then "A7".
  using P = std::vector<bool>;
  std::vector<std::tuple<int, int, UString, P>> events;
  for (const TEvent& e : log.Events) events.emplace_back(e.code, e.current, e.text, e.present);
  const std::vector<std::tuple<int, int, UString, P>> expected = {
      {inProgress, 0, u"", P{false, false, false, false}},
      {inStatusText, 0, u"Extracting files", P{false, false, false, false}},
      {inProgress, 33, u"", P{false, false, false, false}},
      {inProgress, 66, u"", P{true, false, false, false}},
      {inProgress, 100, u"", P{true, true, false, false}},
      {inStatusText, 0, u"Writing uninstall data", P{true, true, true, false}},
  };
  EXPECT_EQ(events, expected);

  const std::unique_ptr<TDRXIniFile> ini = ReadUninstallIni();
  ASSERT_TRUE(ini);
  TDRXStringList keys;
  ini->ReadKeys(u"Uninstall", keys);
  EXPECT_EQ(ListStrings(keys), (std::vector<UString>{u"0", u"Count", u"1", u"2", u"3", u"4"}));
  const std::vector<UString> entries = {u"Ovix.exe", u"Langs\\Readme.txt", helper, u"Uninstall.dat", u"Uninstall.exe"};
  for (size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(ini->ReadString(u"Uninstall", IntToStr(i), u""), entries[i]);
  EXPECT_EQ(ini->ReadInteger(u"Uninstall", u"Count", 0), 5) << "the stored section is replaced, not merged";
  EXPECT_EQ(ini->ReadString(u"System", u"UserMode", u""), u"1");

  TDRXRegistryKey key;
  ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, kUninstallRoot + product, KEY_READ));
  EXPECT_EQ(key.ReadString(u"DisplayName"), product);
  EXPECT_EQ(key.ReadString(u"UninstallString"), destination.File(u"Uninstall.exe"));
  EXPECT_EQ(key.ReadString(u"InstallPath"), destination.Path());
}

// Files are written while the product package is still being decoded; when
// its check fails, the files that were new go again and what was there stays.
TEST_F(Extraction, FilesWrittenAheadOfADamagedPackagesCheckAreRemovedAgain) {
  for (const bool existingTarget : {false, true}) {
    SCOPED_TRACE(existingTarget ? "a target that exists" : "only new targets");
    // A large entry last, so that the small ones are written long before the check ends.
    TTestEntries payloads = kPayloads;
    std::string& large = payloads[u"zlarge.bin"] = std::string(4 << 20, '\0');
    uint32_t state = 1;
    for (char& c : large) c = static_cast<char>((state = state * 1103515245 + 12345) >> 24);
    std::string stored = BuildTestPackage(payloads);
    // The index names the first entry otherwise: it passes its own check, the package's fails.
    std::string index = MakeSetupPackageIndex(stored);
    index[12 + 4 + 2] ^= 1;
    installer = std::make_unique<TInstaller>(u"/AUTO=\"" + destination.Path() + u"\" /SILENT",
                                             [&] {
                                               TInstallerPackages packages;
                                               packages.Setup = MakeTestPackage(SetupEntries(product,
                                                   "<File name=\"$DEST\\Ovix.exe\">player.bin</File>"
                                                   "<File name=\"$DEST\\Docs\\Readme.txt\">readme.en</File>"
                                                   "<File name=\"$DEST\\Helper.bin\">helper.bin</File>"));
                                               packages.Product = std::make_unique<TSetupPackageReader>(stored, index);
                                               return packages;
                                             });
    installer->Resources().InitializeLanguages([] { return UString(u"English.lng"); });
    if (existingTarget) WriteFileBytes(destination.File(u"Helper.bin"), "OLD");
    RunAction();
    EXPECT_NE(installer->Errors().Text().find(u"Package was corrupted"), UString::npos)
        << Utf16ToUtf8(installer->Errors().Text());
    EXPECT_FALSE(FileExists(destination.File(u"Ovix.exe")));
    EXPECT_FALSE(FileExists(destination.File(u"Docs\\Readme.txt")));
    EXPECT_FALSE(FileExists(destination.File(u"Uninstall.dat")));
    EXPECT_EQ(FileExists(destination.File(u"Helper.bin")), existingTarget);
    if (existingTarget) EXPECT_EQ(ReadFileBytes(destination.File(u"Helper.bin")), "OLD");
    installer.reset();
    DeleteFileW(W(destination.File(u"Helper.bin")));
  }
}

// The first copy may still be on its way to the disk when the second comes.
TEST_F(Extraction, ATargetNamedTwiceEndsWithTheLaterEntry) {
  Create("<File name=\"$DEST\\Ovix.exe\">player.bin</File><File name=\"$DEST\\Readme.txt\">readme.en</File>"
         "<File name=\"$DEST\\Ovix.exe\">helper.bin</File>");
  RunAction();
  EXPECT_EQ(installer->Errors().Count(), 0) << Utf16ToUtf8(installer->Errors().Text());
  EXPECT_EQ(ReadFileBytes(destination.File(u"Ovix.exe")), "HELPER");
  EXPECT_EQ(ReadFileBytes(destination.File(u"Readme.txt")), "README");
}

TEST_F(Extraction, APortableRunWithoutComponentsStillLeavesUninstallDataButNoEntry) {
  Create("", u"/PORTABLE");
  ASSERT_TRUE(installer->HasFlag(ifPortable));
  log.Watched = {destination.File(u"Uninstall.dat")};
  RunAction();
  EXPECT_EQ(installer->Errors().Count(), 0) << Utf16ToUtf8(installer->Errors().Text());
  std::vector<std::pair<int, int>> progress;
  for (const TEvent& e : log.Events) {
    if (e.code == inProgress) progress.push_back({e.current, e.present[0]});
  }
  EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{0, 0}, {100, 1}})) << "100 only once the run is done";
  EXPECT_TRUE(FileExists(destination.File(u"Uninstall.exe")));
  const std::unique_ptr<TDRXIniFile> ini = ReadUninstallIni();
  ASSERT_TRUE(ini);
  EXPECT_EQ(ini->ReadString(u"Uninstall", u"0", u""), u"Uninstall.dat");
  EXPECT_EQ(ini->ReadString(u"Uninstall", u"1", u""), u"Uninstall.exe");
  EXPECT_EQ(ini->ReadInteger(u"Uninstall", u"Count", 0), 2);
  EXPECT_FALSE(Registered());
}

TEST_F(Extraction, TheQuestionIsAskedOnTheMainThreadAndAbortEndsTheRunWithE1) {
  Create("<File name=\"$DEST\\Ovix.exe\">player.bin</File>");
  const UString target = destination.File(u"Ovix.exe");
  WriteFileBytes(target, "old");
  WriteFileBytes(target + u".bak", "older");
  TOpenFile holder(target, FILE_SHARE_READ | FILE_SHARE_DELETE);
  std::vector<bool> askedOnMainThread;
  TInstallerExtractHelper::Question = [&](const UString&) {
    askedOnMainThread.push_back(IsMainThread());
    return askedOnMainThread.size() < 2 ? IDRETRY : IDABORT;
  };
  RunAction();
  EXPECT_EQ(askedOnMainThread, (std::vector<bool>{true, true}));
  ASSERT_EQ(installer->Errors().Count(), 1);
  EXPECT_EQ(installer->Errors().Strings(0), u"Aborted at " + target);
  holder.Close();
  EXPECT_EQ(ReadFileBytes(target), "old");
  EXPECT_FALSE(FileExists(destination.File(u"Uninstall.dat"))) << "the run ended at the file";
  EXPECT_FALSE(Registered());
}

TEST(AskAbortRetryIgnore, AWarningThatDisablesTheThreadsWindowsWithRetryPreselected) {
  // Not shown: Wine without a window manager waits two seconds for every hidden window.
  const HWND form = CreateWindowExW(0, L"STATIC", L"form", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                    nullptr, nullptr);
  ASSERT_NE(form, nullptr);
  struct {
    UString caption, text;
    std::vector<int> defaultIds;  // the buttons drawn as the default one
    BOOL formEnabled = TRUE;
  } box;
  TWindowDriver answerer(u"#32770", [&](HWND dialog) {
    box.caption = WindowText(dialog);
    // The task dialog's text has no fixed control identifier.
    for (HWND child : ChildWindows(dialog, u"Static")) {
      if (!WindowText(child).empty()) box.text = WindowText(child);
    }
    for (const int id : {IDABORT, IDRETRY, IDIGNORE}) {
      const LONG_PTR style = GetWindowLongPtrW(GetDlgItem(dialog, id), GWL_STYLE);
      if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) box.defaultIds.push_back(id);
    }
    box.formEnabled = IsWindowEnabled(form);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDABORT, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDABORT)));
  });
  const int answer = AskAbortRetryIgnore(u"Cannot write C:\\Ovix\\Ovix.exe");
  EXPECT_TRUE(answerer.Finish());
  EXPECT_EQ(answer, IDABORT);
  EXPECT_EQ(box.caption, u"Warning");
  EXPECT_EQ(box.text, u"Cannot write C:\\Ovix\\Ovix.exe");
  EXPECT_EQ(box.defaultIds, std::vector<int>{IDRETRY});
  EXPECT_FALSE(box.formEnabled) << "modal: the window behind it cannot be used";
  EXPECT_TRUE(IsWindowEnabled(form));
  DestroyWindow(form);
}
