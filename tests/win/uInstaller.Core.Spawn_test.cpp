#include "uInstaller.Core.Spawn.h"

#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <memory>

#include "DRX.Classes.Thread.h"
#include "DRX.Exceptions.h"
#include "DRX.Format.h"
#include "DRX.Utils.MessageWindow.h"
#include "TestSupport.h"

namespace {

UString Quoted(const UString& text) { return u"\"" + text + u"\""; }

int32_t WindowValue() { return HandleToLong(TInstallerSpawnService::SpawnWindow()); }

bool FileExists(const UString& fileName) { return GetFileAttributesW(W(fileName)) != INVALID_FILE_ATTRIBUTES; }

bool ProcessRunsWithExeName(const UString& exeName) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry)) {
    found = lstrcmpiW(entry.szExeFile, W(exeName)) == 0;
  }
  CloseHandle(snapshot);
  return found;
}

// A fresh copy of the marker program (bin/spawn_marker.exe) under a name of its
// own, in a folder whose name has a space and a non-ASCII letter. Started, it
// records its parent process and its parameters in "<file>.started".
class TMarker {
 public:
  TMarker() {
    static int counter = 0;
    name_ = Format(u"marker %d-%d.exe", {GetCurrentProcessId(), ++counter});
    folder_ = temp_.Path() + u"Spawn \u00e9\\";
    CreateDirectoryW(W(folder_), nullptr);
    const UString source = BinFolder() + u"spawn_marker.exe";
    if (!CopyFileW(W(source), W(Path()), FALSE)) ADD_FAILURE() << "cannot copy the marker program";
  }

  UString Path() const { return folder_ + name_; }

  // True once the program has been created: it runs, or it has written its record.
  bool WasStarted() const { return ProcessRunsWithExeName(name_) || FileExists(RecordFile()); }

  // Waits for the whole record (both line ends) while messages keep flowing; a safety limit only.
  bool WaitForRecord() {
    for (int round = 0; round < 1500; ++round) {
      const UString text = Utf8ToUtf16(ReadFileBytes(RecordFile()));  // empty while the marker still writes it
      const size_t first = text.find(u'\n');
      const size_t second = first == UString::npos ? UString::npos : text.find(u'\n', first + 1);
      if (second != UString::npos) {
        parent_ = static_cast<DWORD>(StrToIntDef(text.substr(0, first), 0));
        parameters_ = text.substr(first + 1, second - first - 1);
        return true;
      }
      SleepPumping(20);
    }
    return false;
  }

  DWORD Parent() const { return parent_; }
  const UString& Parameters() const { return parameters_; }

 private:
  UString RecordFile() const { return Path() + u".started"; }

  TTempFolder temp_;
  UString folder_;
  UString name_;
  DWORD parent_ = 0;
  UString parameters_;
};

// Starts bin/spawn_peer.exe (the elevated copy's stand-in) and waits for it as
// the first process does: pumping sent messages. Returns its exit code.
DWORD RunPeerPumping(const UString& parameters) {
  UString commandLine = Quoted(BinFolder() + u"spawn_peer.exe") + u" " + parameters;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, W(commandLine), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    ADD_FAILURE() << "cannot start spawn_peer.exe";
    return 99;
  }
  CloseHandle(process.hThread);
  WaitForHandlePumping(process.hProcess);
  DWORD exitCode = 99;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hProcess);
  return exitCode;
}

UString InitializeError(int32_t handle) {
  try {
    TInstallerSpawnService::Initialize(handle);
  } catch (const Exception& error) {
    return error.Message();
  }
  return u"(no error)";
}

class SpawnService : public ::testing::Test {
 protected:
  void SetUp() override { TInstallerSpawnService::ResetForTesting(); }
  void TearDown() override { TInstallerSpawnService::ResetForTesting(); }
};

}  // namespace

TEST_F(SpawnService, InitializeCreatesItsOwnWindowOrKeepsTheFirstProcessesOnce) {
  TInstallerSpawnService::Initialize(0);
  const HWND own = static_cast<HWND>(TInstallerSpawnService::SpawnWindow());
  ASSERT_TRUE(IsWindow(own));
  EXPECT_TRUE(TInstallerSpawnService::OwnsWindow());
  EXPECT_EQ(GetWindowThreadProcessId(own, nullptr), GetCurrentThreadId());
  EXPECT_EQ(FindWindowExW(HWND_MESSAGE, nullptr, L"TInstallerSpawnService", nullptr), own) << "a message-only window";
  EXPECT_NE(TInstallerSpawnService::SpawnToken(), 0u);
  EXPECT_EQ(TInstallerSpawnService::SpawnToken(), RegisterWindowMessageW(L"SpawnToken"));
  EXPECT_EQ(InitializeError(0), u"SpawnService is already initialized");
  EXPECT_EQ(InitializeError(0x1234), u"SpawnService is already initialized");
  EXPECT_EQ(TInstallerSpawnService::SpawnWindow(), own);

  TInstallerSpawnService::ResetForTesting();
  EXPECT_FALSE(IsWindow(own)) << "an owned window goes with the state";
  TInstallerSpawnService::Initialize(-2);  // handles widen with their sign
  EXPECT_EQ(TInstallerSpawnService::SpawnWindow(), reinterpret_cast<void*>(intptr_t{-2}));
  EXPECT_FALSE(TInstallerSpawnService::OwnsWindow());
  EXPECT_EQ(TInstallerSpawnService::SpawnToken(), RegisterWindowMessageW(L"SpawnToken"));
  EXPECT_EQ(InitializeError(0), u"SpawnService is already initialized");
}

TEST_F(SpawnService, TheFirstProcessStartsWhatTheElevatedCopyAsksForInsideItsWait) {
  TMarker marker;
  TTempFolder temp;
  TInstallerSpawnService::Initialize(0);
  const UString parameters = Format(u"/SKIPUAC=%d 5 %s %s", {WindowValue(), Quoted(temp.File(u"peer.txt")), Quoted(marker.Path())});
  EXPECT_EQ(RunPeerPumping(parameters), 5u);
  // The copy's send returned only after this process had started the program.
  EXPECT_TRUE(marker.WasStarted());
  ASSERT_TRUE(marker.WaitForRecord());
  EXPECT_EQ(marker.Parent(), GetCurrentProcessId());
  EXPECT_EQ(marker.Parameters(), u"");
}

TEST_F(SpawnService, TheSpawnWindowStartsOnlyWellFormedTaggedRequests) {
  TMarker marker;
  TInstallerSpawnService::Initialize(0);
  const HWND window = static_cast<HWND>(TInstallerSpawnService::SpawnWindow());
  UString path = marker.Path();
  const DWORD bytes = static_cast<DWORD>(path.size() * 2);
  struct TCase {
    const char* what;
    ULONG_PTR tag;
    DWORD size;
    void* data;
  };
  const TCase ignored[] = {
      {"another tag", TInstallerSpawnService::SpawnToken() + 1, bytes, path.data()},
      {"no characters", TInstallerSpawnService::SpawnToken(), 1, path.data()},
      {"no data block", TInstallerSpawnService::SpawnToken(), bytes, nullptr},
  };
  for (const TCase& request : ignored) {
    COPYDATASTRUCT data{request.tag, request.size, request.data};
    SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    EXPECT_FALSE(marker.WasStarted()) << request.what;
  }
  SendMessageW(window, WM_COPYDATA, 0, 0);  // no COPYDATASTRUCT at all
  COPYDATASTRUCT good{TInstallerSpawnService::SpawnToken(), bytes, path.data()};
  SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&good));
  EXPECT_TRUE(marker.WasStarted());
  ASSERT_TRUE(marker.WaitForRecord());
  EXPECT_EQ(marker.Parent(), GetCurrentProcessId());
}

// Explorer started by this process starts the program in turn: the program's
// parent is then Explorer, never this process.
TEST_F(SpawnService, WithoutAnElevatedCopyRunGoesThroughExplorer) {
  for (const bool ownWindow : {false, true}) {
    SCOPED_TRACE(ownWindow ? "first process with its own window" : "no service");
    TInstallerSpawnService::ResetForTesting();
    if (ownWindow) TInstallerSpawnService::Initialize(0);
    TMarker marker;
    TInstallerSpawnService::Run(marker.Path());
    ASSERT_TRUE(marker.WaitForRecord());
    EXPECT_NE(marker.Parent(), 0u);
    EXPECT_NE(marker.Parent(), GetCurrentProcessId());
    EXPECT_EQ(marker.Parameters(), u"");
  }
}

TEST_F(SpawnService, ARequestToAWindowThatIsGoneIsLostWithoutError) {
  auto window = std::make_unique<TDRXMessageWindow>(u"TSpawnTestGoneWindow", nullptr);
  const int32_t gone = HandleToLong(window->Handle());
  window.reset();
  TMarker marker;
  TInstallerSpawnService::Initialize(gone);
  EXPECT_NO_THROW(TInstallerSpawnService::Run(marker.Path()));
  EXPECT_FALSE(marker.WasStarted());
}

// Wine has no elevation prompt: "runas" starts the program as it is.
TEST_F(SpawnService, RelaunchElevatedRunsTheCopyWithSkipUacAndReturnsItsExitCode) {
  TMarker marker;
  TTempFolder temp;
  const UString record = temp.File(u"peer.txt");
  const UString params = Format(u"7 %s %s", {Quoted(record), Quoted(marker.Path())});
  const TElevatedRun run = RelaunchElevatedProgram(BinFolder() + u"spawn_peer.exe", params);
  EXPECT_TRUE(run.Started);
  EXPECT_EQ(run.ExitCode, 7u);
  EXPECT_EQ(run.ProcessExitCode(), static_cast<TExitCode>(7));
  EXPECT_TRUE(TInstallerSpawnService::OwnsWindow());
  EXPECT_EQ(Utf8ToUtf16(ReadFileBytes(record)), Format(u"/SKIPUAC=%d %s", {WindowValue(), params}));
  EXPECT_TRUE(marker.WasStarted());
  ASSERT_TRUE(marker.WaitForRecord());
  EXPECT_EQ(marker.Parent(), GetCurrentProcessId());
  EXPECT_EQ(TElevatedRun{}.ProcessExitCode(), ecCancelled) << "a refused prompt ends the first process as cancelled";
}

TEST_F(SpawnService, RelaunchElevatedRaisesWhenTheProgramCannotBeStarted) {
  TTempFolder temp;
  try {
    RelaunchElevatedProgram(temp.File(u"missing.exe"), u"");
    ADD_FAILURE() << "no error";
  } catch (const EOSError& error) {
    EXPECT_EQ(error.ErrorCode(), static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
  }
}
