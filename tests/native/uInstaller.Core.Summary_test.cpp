#include "uInstaller.Core.Summary.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {
UString KeyAsText(UStringView section, UStringView key) { return UString(section) + u"." + UString(key); }
}  // namespace

TEST(SummaryBuilder, CaptionsAppearOnlyBeforeTheirFirstItem) {
  TInstallerSummaryBuilder builder(KeyAsText);
  builder.BeginSection(u"Folder:");
  builder.AddItem(u"C:\\Ovix\\");
  builder.BeginSection(u"Unused:");
  builder.BeginSection(u"PageSetup", u"Title");  // replaces the caption not yet written
  builder.AddItem(u"first option");
  builder.AddItem(u"PageSetup", u"CB4");
  builder.BeginSection(u"Never written:");
  EXPECT_EQ(builder.ToString(),
            u"Folder:\r\n    C:\\Ovix\\\r\n\r\nPageSetup.Title\r\n    first option\r\n    PageSetup.CB4\r\n");
}

TEST(SummaryBuilder, VersionIdentifiersReadAsMajorAndHundredths) {
  const std::pair<int, const char16_t*> cases[] = {
      {4800, u"4.80"}, {5031, u"5.03"}, {0, u"0.00"}, {5100, u"5.10"}, {3500, u"3.50"}, {999, u"0.99"}};
  for (const auto& [id, text] : cases) EXPECT_EQ(VersionIdToText(id), text) << id;
}
