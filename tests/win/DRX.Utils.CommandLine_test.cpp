#include "DRX.Utils.CommandLine.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "DRX.Format.h"
#include "TestSupport.h"

namespace {

constexpr wchar_t kReportVariable[] = L"OVIX_COMMAND_LINE_REPORT";

// Runs this test program again with the given parameters; the child writes its
// GetCommandLineParams() into the report file.
UString ParamsSeenByChild(const UString& params) {
  TTempFolder folder;
  const UString report = folder.File(u"params.txt");
  UString commandLine = Format(u"\"%swin.DRX.Utils.CommandLine_test.exe\" %s", {BinFolder(), params});
  SetEnvironmentVariableW(kReportVariable, W(report));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(nullptr, W(commandLine), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
  SetEnvironmentVariableW(kReportVariable, nullptr);
  if (!started) return u"<not started>";
  WaitForSingleObject(process.hProcess, 60000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return Utf8ToUtf16(ReadFileBytes(report));
}

}  // namespace

// The child's half: runs only when started by ParamsSeenByChild.
TEST(CommandLineChild, ReportsItsParams) {
  wchar_t report[MAX_PATH];
  if (GetEnvironmentVariableW(kReportVariable, report, MAX_PATH) == 0) GTEST_SKIP() << "started by the parent test only";
  WriteFileBytes(FromW(report), Utf16ToUtf8(GetCommandLineParams()));
}

TEST(CommandLine, ProcessParamsAreTheCommandLineAfterTheProgramPath) {
  const UString params = u"--gtest_filter=CommandLineChild.* /AUTO=\"C:\\Program Files\\Ovix\\\"  /SILENT";
  const UString seen = ParamsSeenByChild(u"  " + params + u"  ");
  EXPECT_EQ(seen, params);
  UString folder;
  EXPECT_TRUE(CommandLineGetSwitchValue(seen, u"AUTO", folder));
  EXPECT_EQ(folder, u"C:\\Program Files\\Ovix\\");
}
