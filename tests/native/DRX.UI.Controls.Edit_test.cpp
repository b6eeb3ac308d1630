#include "DRX.UI.Controls.Edit.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

std::ostream& operator<<(std::ostream& out, const TRect& r) {
  return out << "(" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << ")";
}

TEST(EditLayout, ButtonsAtTheRightEndInSlotOrder) {
  const TRect area = Rect(3, 3, 537, 18);
  struct Case {
    const char* name;
    std::vector<TDRXEditButtonSlot> slots;
    int32_t gap;
    TRect text;
    std::vector<TRect> buttons;
  } cases[] = {
      {"no buttons", {}, 2, area, {}},
      {"the Browse button", {{100}}, 2, Rect(3, 3, 435, 18), {Rect(437, 3, 537, 18)}},
      {"two buttons, left to right", {{20}, {30}}, 0, Rect(3, 3, 487, 18), {Rect(487, 3, 507, 18), Rect(507, 3, 537, 18)}},
      {"a hidden button takes no room", {{20}, {30, false}}, 1, Rect(3, 3, 516, 18),
       {Rect(517, 3, 537, 18), TRect()}},
      {"only hidden buttons: no gap", {{40, false}}, 5, area, {TRect()}},
      {"buttons wider than the area are cut at its left", {{500}, {100}}, 2, Rect(3, 3, 3, 18),
       {Rect(3, 3, 437, 18), Rect(437, 3, 537, 18)}},
      {"a negative width counts as none", {{-10}}, 0, area, {Rect(537, 3, 537, 18)}},
  };
  for (const auto& c : cases) {
    const auto layout = CalculateEditLayout(area, c.slots, c.gap);
    EXPECT_EQ(layout.Text, c.text) << c.name;
    EXPECT_EQ(layout.Buttons, c.buttons) << c.name;
  }
}

TEST(EditLayout, AnInvertedAreaGivesNothingInverted) {
  const std::vector<TDRXEditButtonSlot> slots = {{30}};
  const auto layout = CalculateEditLayout(Rect(50, 0, 40, 10), slots, 2);
  EXPECT_EQ(layout.Text, Rect(50, 0, 50, 10));
  EXPECT_EQ(layout.Buttons[0], Rect(50, 0, 50, 10));
}

TEST(EditLayout, BorderFrameByState) {
  EXPECT_EQ(EditBorderFrame(true, false, false), ebfNormal);
  EXPECT_EQ(EditBorderFrame(true, false, true), ebfHover);
  EXPECT_EQ(EditBorderFrame(true, true, true), ebfFocused);
  EXPECT_EQ(EditBorderFrame(false, true, true), ebfDisabled);
}
