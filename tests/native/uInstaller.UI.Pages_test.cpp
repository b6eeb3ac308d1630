#include "uInstaller.UI.Pages.h"

#include <gtest/gtest.h>

namespace {

TEST(WizardPages, TheSectionIsTheClassNameWithoutItsPrefix) {
  EXPECT_EQ(PageSectionName(u"TInstallerPageSetup"), u"PageSetup");
  EXPECT_EQ(PageSectionName(u"TInstallerPageUninstallFinish"), u"PageUninstallFinish");
  EXPECT_EQ(PageSectionName(u"TInstallerX"), u"X");
  EXPECT_EQ(PageSectionName(u"TInstaller"), u"");
  EXPECT_EQ(PageSectionName(u"TPage"), u"");
}

TEST(WizardPages, TheFinishPagesBoxesStandOneUnderTheOther) {
  EXPECT_EQ(FinishActionBoxBounds(1), Bounds(210, 120, 320, 17));
  EXPECT_EQ(FinishActionBoxBounds(2), Bounds(210, 144, 320, 17));
  EXPECT_EQ(FinishActionBoxBounds(5), Bounds(210, 216, 320, 17));
}

}  // namespace
