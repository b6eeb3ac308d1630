#include "uInstaller.UI.Controls.h"

#include <gtest/gtest.h>

namespace {

TEST(RichViewerZoom, PercentagesToSixtyFourths) {
  const std::pair<int32_t, int32_t> cases[] = {
      {100, 64}, {125, 80}, {150, 96}, {200, 128}, {175, 112},
      {101, 65},   // 64.64
      {50, 32},    // 32.5: the half goes to the even 32
      {90, 58},    // 57.7
      {30, 20},    // 19.9
      {1, 2},      // 1.63, the smallest zoom there is
      {0, 0},      // 1: below the range
      {-5, 0},
      {6399, 4095},  // 4095.36
      {6400, 0},     // 4096: above the range
  };
  for (const auto& [percent, numerator] : cases) EXPECT_EQ(RichViewerZoomNumerator(percent), numerator) << percent;
}

TEST(RichViewerLinks, OnlyARangeWithACharacterIsRead) {
  EXPECT_FALSE(IsLinkRangeReadable(10, 10));
  EXPECT_TRUE(IsLinkRangeReadable(10, 11));
  EXPECT_TRUE(IsLinkRangeReadable(0, 40));
  EXPECT_FALSE(IsLinkRangeReadable(11, 10));
}

TEST(RichViewerLinks, TargetsWithoutASchemeBecomeWebAddresses) {
  EXPECT_EQ(LinkShellTarget(u"www.ovix.example/help", false), u"http://www.ovix.example/help");
  EXPECT_EQ(LinkShellTarget(u"https://ovix.example", false), u"https://ovix.example");
  EXPECT_EQ(LinkShellTarget(u"file://C:/readme.txt", false), u"file://C:/readme.txt");
  EXPECT_EQ(LinkShellTarget(u"C:\\Program Files\\Ovix", true), u"C:\\Program Files\\Ovix");
  EXPECT_EQ(LinkShellTarget(u"", false), u"");
}

}  // namespace
