#include "uInstaller.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "DRX.Exceptions.h"
#include "TestSupport.h"

TEST(ProgramEntry, AnEscapingErrorIsShownOnceAndEndsWithTheErrorCode) {
  std::vector<UString> shown;
  SetErrorDisplay([&](const UString& message) { shown.push_back(message); });
  EXPECT_EQ(RunGuarded([]() -> TExitCode { throw Exception(u"DestPath is empty"); }), ecError);
  EXPECT_EQ(RunGuarded([]() -> TExitCode { throw std::bad_alloc(); }), ecError);
  EXPECT_EQ(RunGuarded([] { return ecSuccess; }), ecSuccess);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], u"DestPath is empty");
  SetErrorDisplay(nullptr);
}

TEST(ProgramEntry, OvixSetupRunsUnderWindowsAndEndsWithSuccess) {
  UString commandLine = u"\"" + BinFolder() + u"OvixSetup.exe\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, W(commandLine), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
  ASSERT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
  DWORD exitCode = 99;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_EQ(exitCode, 0u);
}
