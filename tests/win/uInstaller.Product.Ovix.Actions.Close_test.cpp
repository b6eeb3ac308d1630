#include "uInstaller.Product.Ovix.Actions.Close.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "TestOvix.h"
#include "TestSupport.h"
#include "uInstaller.Core.Exceptions.h"

namespace {

class CloseApplications : public ::testing::Test {
 protected:
  CloseApplications() : saved_(TInstallerActionCloseApplications::Timing) {
    TInstallerActionCloseApplications::Timing = {50, 1000, 2000};
    installer = MakeOvixInstaller(u"/AUTO=\"" + destination.Path() + u"\"");
  }
  ~CloseApplications() override { TInstallerActionCloseApplications::Timing = saved_; }

  TInstallerActionCloseApplications::TTiming saved_;
  TOvixProductGuard product;
  TTempFolder destination;
  std::unique_ptr<TInstaller> installer;
};

}  // namespace

TEST_F(CloseApplications, EveryPlayerWindowIsAskedToCloseUntilNoneIsLeft) {
  TPlayerWindow first(u"TOvixMainForm"), second(u"TOvixMainForm"), library(u"TOvixLibMainForm");
  TPlayerWindow stranger(u"TOvixSomethingElse");
  ASSERT_TRUE(first.Shown() && second.Shown() && library.Shown() && stranger.Shown());

  TInstallerActionCloseApplications().Execute();

  EXPECT_EQ(FindWindowW(L"TOvixMainForm", nullptr), nullptr);
  EXPECT_TRUE(first.Ended());
  EXPECT_TRUE(second.Ended());
  EXPECT_TRUE(library.Ended());
  EXPECT_NE(FindWindowW(L"TOvixSomethingElse", nullptr), nullptr) << "not one of the player's classes";
}

TEST_F(CloseApplications, APassThatFindsNoWindowEndsTheActionAtOnce) {
  TInstallerActionCloseApplications::Timing.PassInterval = 5000;
  const ULONGLONG start = GetTickCount64();
  TInstallerActionCloseApplications().Execute();
  EXPECT_LT(GetTickCount64() - start, 2500u) << "no window, so no interval to wait out";
}

TEST_F(CloseApplications, AWindowThatStaysOpenEndsTheActionWithTheProgramsName) {
  TPlayerWindow stubborn(u"TOvixQelForm", true);
  ASSERT_TRUE(stubborn.Shown());
  try {
    TInstallerActionCloseApplications().Execute();
    FAIL() << "expected EInstallerInstallError";
  } catch (const EInstallerInstallError& error) {
    // The language's ("Common", "E6") text, with the program's file name.
    EXPECT_TRUE(StartsWith(error.Message(), u"Still open: ")) << Utf16ToUtf8(error.Message());
    EXPECT_TRUE(EndsWith(error.Message(), u"ovix_window.exe")) << Utf16ToUtf8(error.Message());
  }
  EXPECT_NE(FindWindowW(L"TOvixQelForm", nullptr), nullptr);
}

TEST_F(CloseApplications, CancellingTheRunEndsTheWaiting) {
  TInstallerActionCloseApplications::Timing.GiveUpAfter = 120000;
  TPlayerWindow stubborn(u"TOvixMainForm", true);
  ASSERT_TRUE(stubborn.Shown());
  TInstallerActionCloseApplications action;
  std::thread canceller([&] {
    Sleep(300);
    action.Cancel();
  });
  EXPECT_NO_THROW(action.Execute());
  canceller.join();
}
