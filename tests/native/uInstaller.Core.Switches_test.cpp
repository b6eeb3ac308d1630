#include "uInstaller.Core.Switches.h"

#include <gtest/gtest.h>

#include "DRX.Utils.CommandLine.h"

TEST(Switches, WrittenSwitchesGoInFrontAndWin) {
  const UString received = u"/PATH=\"X:\\missing\\\" /AUTO /SKIPUAC=7";

  const UString restart = FormatPathParams(u"C:\\Program Files\\Ovix\\", received);
  EXPECT_EQ(restart, u"/PATH=\"C:\\Program Files\\Ovix\\\" " + received);
  UString value;
  EXPECT_TRUE(CommandLineGetSwitchValue(restart, kSwitchPath, value));
  EXPECT_EQ(value, u"C:\\Program Files\\Ovix\\");
  EXPECT_TRUE(CommandLineHasSwitch(restart, kSwitchAuto));

  const UString elevated = FormatSkipUacParams(1234567, received);
  EXPECT_EQ(elevated, u"/SKIPUAC=1234567 " + received);
  EXPECT_TRUE(CommandLineGetSwitchValue(elevated, kSwitchSkipUac, value));
  EXPECT_EQ(value, u"1234567");

  EXPECT_TRUE(CommandLineGetSwitchValue(FormatSkipUacParams(0, u""), kSwitchSkipUac, value));
  EXPECT_EQ(value, u"0");
}
