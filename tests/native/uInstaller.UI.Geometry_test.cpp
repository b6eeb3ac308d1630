#include "uInstaller.UI.Geometry.h"

#include <gtest/gtest.h>

namespace {

const TRect kClient96{0, 0, 640, 480};

TEST(WizardFormRects, TheFrameAt96And144DPI) {
  struct TCase {
    int32_t numerator;
    TRect client;
    TInstallerFormRects expected;
  };
  const TCase cases[] = {
      {96, kClient96,
       {{0, 0, 640, 53}, {0, 53, 640, 63}, {0, 436, 640, 480}, {144, 6, 624, 41}, {0, 67, 640, 436}, {0, 0, 640, 436}}},
      // 53 × 1.5 = 79.5 rounds up, as MulDiv does.
      {144, {0, 0, 960, 720},
       {{0, 0, 960, 80}, {0, 80, 960, 95}, {0, 654, 960, 720}, {216, 9, 936, 62}, {0, 101, 960, 654}, {0, 0, 960, 654}}},
  };
  for (const TCase& c : cases) {
    const TInstallerFormRects rects = CalculateFormRects(c.client, {c.numerator, 96});
    EXPECT_EQ(rects.Header, c.expected.Header) << c.numerator;
    EXPECT_EQ(rects.StepBar, c.expected.StepBar) << c.numerator;
    EXPECT_EQ(rects.Footer, c.expected.Footer) << c.numerator;
    EXPECT_EQ(rects.HeaderText, c.expected.HeaderText) << c.numerator;
    EXPECT_EQ(rects.Page, c.expected.Page) << c.numerator;
    EXPECT_EQ(rects.FullScreenPage, c.expected.FullScreenPage) << c.numerator;
  }
}

TEST(WizardFormRects, LinesOfHeaderAndFooter) {
  const TInstallerFormRects rects = CalculateFormRects(kClient96, {});
  EXPECT_EQ(HeaderAccentLine(rects.Header, {}), (TRect{0, 52, 640, 53}));
  EXPECT_EQ(HeaderAccentLine({0, 0, 960, 80}, {144, 96}), (TRect{0, 78, 960, 80})) << "1.5 pixels round to 2";
  EXPECT_EQ(FooterUpperLine(rects.Footer), (TRect{0, 436, 640, 437}));
  EXPECT_EQ(FooterLowerLine(rects.Footer), (TRect{0, 437, 640, 438}));
  EXPECT_EQ(HeaderTitleRect(rects.HeaderText, 20), (TRect{144, 6, 624, 26}));
  EXPECT_EQ(HeaderDescriptionRect(rects.HeaderText, 15), (TRect{144, 26, 624, 41}));
}

TInstallerStepBar StepBarOf(int pageCount, int32_t numerator = 96) {
  TInstallerStepBar bar;
  const TRect client{0, 0, MulDivRounded(640, numerator, 96), MulDivRounded(480, numerator, 96)};
  bar.Calculate(CalculateFormRects(client, {numerator, 96}).StepBar, pageCount, {numerator, 96});
  return bar;
}

TEST(WizardStepBar, SevenPagesAt96DPI) {
  const TInstallerStepBar bar = StepBarOf(7);
  EXPECT_EQ(bar.Bounds, (TRect{0, 53, 640, 63}));
  EXPECT_EQ(bar.Content, (TRect{0, 55, 640, 61}));
  EXPECT_EQ(bar.StepWidth, 106);

  const TInstallerStepMarks setup = bar.Marks(2, 0);
  EXPECT_EQ(setup.Band, (TRect{0, 55, 212, 61}));
  ASSERT_EQ(setup.Dashes.size(), 17u);
  EXPECT_EQ(setup.Dashes.front(), (TRect{212, 55, 215, 61}));
  EXPECT_EQ(setup.Dashes[1].Left, 218);
  EXPECT_EQ(setup.Dashes.back(), (TRect{308, 55, 311, 61}));

  EXPECT_EQ(bar.Marks(4, 0).Band.Right, 424);
  const std::pair<int, int32_t> progress[] = {{0, 530}, {50, 583}, {99, 635}, {100, 636}};
  for (const auto& [percent, right] : progress) {
    const TInstallerStepMarks install = bar.Marks(5, percent);
    EXPECT_EQ(install.Band, (TRect{0, 55, right, 61})) << percent;
    EXPECT_EQ(install.Dashes.front().Left, 530);
  }
}

TEST(WizardStepBar, TwoPagesShowOnlyTheBackground) {
  const TInstallerStepBar bar = StepBarOf(2);
  EXPECT_EQ(bar.StepWidth, 0);
  for (const int index : {0, 1}) {
    const TInstallerStepMarks marks = bar.Marks(index, 60);
    EXPECT_TRUE(marks.Dashes.empty());
    EXPECT_TRUE(marks.Band.IsEmpty());
  }
}

TEST(WizardStepBar, FewPagesKeepTheStepWidthOfTheLastCalculation) {
  TInstallerStepBar bar = StepBarOf(7);
  bar.Calculate(bar.Bounds, 2, {});
  EXPECT_EQ(bar.StepWidth, 106);
  bar.Calculate(bar.Bounds, 3, {});
  EXPECT_EQ(bar.StepWidth, 320);
}

TEST(WizardStepBar, At144DPIMarginsScaleButDashesDoNot) {
  const TInstallerStepBar bar = StepBarOf(7, 144);
  EXPECT_EQ(bar.Content, (TRect{0, 83, 960, 92}));
  EXPECT_EQ(bar.StepWidth, 160);
  const TInstallerStepMarks setup = bar.Marks(2, 0);
  EXPECT_EQ(setup.Dashes.size(), 26u);
  EXPECT_EQ(setup.Dashes[1], (TRect{326, 83, 329, 92}));
}

TEST(WizardStepBar, APageOutsideTheListHasNoMarks) {
  const TInstallerStepMarks marks = StepBarOf(7).Marks(-1, 100);
  EXPECT_TRUE(marks.Dashes.empty());
  EXPECT_TRUE(marks.Band.IsEmpty());
}

}  // namespace
