#include "DRX.UI.Application.h"

#include <gtest/gtest.h>

TEST(Application, TitleModalLevelAndMainWindow) {
  EXPECT_FALSE(TDRXApplication::Title().empty()) << "the program's name by default";
  TDRXApplication::SetTitle(u"Ovix Setup");
  EXPECT_EQ(TDRXApplication::Title(), u"Ovix Setup");
  EXPECT_EQ(TDRXApplication::ModalLevel(), 0);
  {
    const TDRXModalDialogScope outer;
    const TDRXModalDialogScope inner;
    EXPECT_EQ(TDRXApplication::ModalLevel(), 2);
  }
  EXPECT_EQ(TDRXApplication::ModalLevel(), 0);
  int window = 0;
  TDRXApplication::SetMainWindow(&window);
  EXPECT_EQ(TDRXApplication::MainWindow(), &window);
  TDRXApplication::SetMainWindow(nullptr);
}

namespace {

TDRXContrastScheme gScheme;
TDRXContrastScheme ReadScheme() { return gScheme; }

struct TContrastListener : IDRXApplicationListener {
  int told = 0;
  void ApplicationDarkModeChanged() override {}
  void ApplicationHighContrastChanged() override { ++told; }
};

}  // namespace

TEST(Application, HighContrastTellsListenersWhenTheFlagOrItsColoursChange) {
  gScheme = {};
  gScheme.Colors[scWindow] = clWhite;
  TDRXApplication::SetHighContrastReader(&ReadScheme);
  TDRXApplication::UpdateHighContrast();
  TContrastListener listener;
  TDRXApplication::AddListener(&listener);
  struct TStep {
    bool on;
    TColor window;
    int told;
    const char* what;
  };
  const TStep steps[] = {
      {false, clBlack, 0, "new colours while off matter to nobody"},
      {true, clBlack, 1, "turned on"},
      {true, clBlack, 1, "nothing changed"},
      {true, RGBColor(1, 2, 3), 2, "new colours while on"},
      {false, RGBColor(1, 2, 3), 3, "turned off"},
  };
  for (const TStep& step : steps) {
    gScheme.On = step.on;
    gScheme.Colors[scWindow] = step.window;
    TDRXApplication::UpdateHighContrast();
    EXPECT_EQ(listener.told, step.told) << step.what;
    EXPECT_EQ(TDRXApplication::HighContrast(), step.on) << step.what;
    EXPECT_EQ(TDRXApplication::SystemColor(scWindow), step.window) << step.what;
  }
  EXPECT_EQ(TDRXApplication::SystemColor(static_cast<TDRXSystemColor>(200)), clBlack) << "no such colour";
  TDRXApplication::RemoveListener(&listener);
  TDRXApplication::SetHighContrastReader(nullptr);
  TDRXApplication::UpdateHighContrast();
  EXPECT_FALSE(TDRXApplication::HighContrast()) << "natively off";
}
