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
