// Styles, the root collection and the application's dark mode, natively with
// skins read from text.
#include "DRX.UI.Resources.Styles.h"

#include <gtest/gtest.h>

#include "DRX.UI.Application.h"
#include "DRX.UI.Resources.Root.h"
#include "DRX.UI.Resources.Text.h"

namespace {

constexpr UStringView kLight = u"[Common.Colors.Text] Color\nValue = claBlack\n[Buttons.Colors.Text] Color\nID = \"Common.Colors.Text\"\n";
constexpr UStringView kDark = u"[Common.Colors.Text] Color\nValue = claWhite\n[Buttons.Colors.Text] Color\nID = \"Common.Colors.Text\"\n";

bool darkSetting = false;
bool ReadDarkSetting() { return darkSetting; }

std::unique_ptr<TStream> SkinOf(UStringView text) {
  auto stream = std::make_unique<TMemoryStream>();
  WriteComponentStream(*stream, ReadSkinText(text));
  stream->SetPosition(0);
  return stream;
}

// The root collection reads the two skins above and follows darkSetting.
class RootSkin : public ::testing::Test {
 protected:
  void SetUp() override {
    darkSetting = false;
    TDRXApplication::SetDarkModeReader(&ReadDarkSetting);
    TDRXApplication::UpdateDarkMode();
    SetDefaultSkinSource([](bool dark) { return SkinOf(dark ? kDark : kLight); });
    if (TDRXRootResourceCollectionImpl* root = RootResourceCollection()) root->Load();
  }
  void TearDown() override {
    darkSetting = false;
    TDRXApplication::UpdateDarkMode();
  }
};

struct TButtonStyle : TDRXStyle {
  explicit TButtonStyle(IDRXStyleOwner* owner) : TDRXStyle(owner) {
    AddColor(0, u"Buttons.Colors.Text");
    AddColor(1, u"Buttons.Colors.TextHover");
  }
};

struct TControl : IDRXStyleOwner {
  TDRXCustomResourceCollection* offered = nullptr;
  int changes = 0;
  TDRXCustomResourceCollection* StyleResourceCollection() override { return offered; }
  void StyleChanged(TDRXStyle&) override { ++changes; }
};

struct TThemeListener : IDRXApplicationListener {
  int told = 0;
  void ApplicationDarkModeChanged() override { ++told; }
};

TEST_F(RootSkin, StylesLookInTheirCollectionThenTheControlsThenTheRoot) {
  TControl control;
  TButtonStyle style(&control);
  EXPECT_EQ(style.Colors(0).Value(), claBlack);
  TDRXCustomResourceCollection offered, own;
  offered.LoadFromComponent(ReadSkinText(u"[Buttons.Colors.Text] Color\nValue = claRed\n"));
  own.LoadFromComponent(ReadSkinText(u"[Buttons.Colors.Text] Color\nValue = claLime\n"));
  control.offered = &offered;
  style.ResolveSlots();
  EXPECT_EQ(style.Colors(0).Value(), 0xFFFF0000u);
  style.SetCollection(&own);
  EXPECT_EQ(style.Colors(0).Value(), 0xFF00FF00u);
  // A slot whose identifier names nothing in the collection in use has no master.
  EXPECT_EQ(style.Colors(1).Master(), nullptr);
  control.offered = nullptr;
  style.SetCollection(nullptr);
  EXPECT_EQ(style.Colors(0).Value(), claBlack);
}

TEST_F(RootSkin, ACollectionThatGoesIsLeftForTheNext) {
  TControl control;
  TButtonStyle style(&control);
  {
    TDRXCustomResourceCollection own;
    own.LoadFromComponent(ReadSkinText(u"[Buttons.Colors.Text] Color\nValue = claLime\n"));
    style.SetCollection(&own);
    EXPECT_EQ(style.Colors(0).Value(), 0xFF00FF00u);
  }
  EXPECT_EQ(style.Collection(), nullptr);
  EXPECT_EQ(style.Colors(0).Value(), claBlack);
}

TEST_F(RootSkin, DarkModeReloadsTheRootAndTellsEachListenerOnce) {
  TControl control;
  TButtonStyle style(&control);
  TThemeListener listener;
  TDRXApplication::AddListener(&listener);
  TDRXApplication::AddListener(&listener);
  control.changes = 0;
  darkSetting = true;
  TDRXApplication::SettingChange(u"Policy");
  EXPECT_EQ(listener.told, 0);
  TDRXApplication::SettingChange(u"ImmersiveColorSet");
  EXPECT_TRUE(TDRXApplication::DarkMode());
  EXPECT_TRUE(RootResourceCollection()->LoadedDark());
  EXPECT_EQ(style.Colors(0).Value(), claWhite);
  EXPECT_EQ(listener.told, 1);
  EXPECT_EQ(control.changes, 1);
  TDRXApplication::SettingChange(u"ImmersiveColorSet");  // no change, nothing told
  EXPECT_EQ(listener.told, 1);
  EXPECT_EQ(control.changes, 1);
  TDRXApplication::RemoveListener(&listener);
  darkSetting = false;
  TDRXApplication::UpdateDarkMode();
  EXPECT_EQ(listener.told, 1);
  EXPECT_EQ(style.Colors(0).Value(), claBlack);
}

TEST_F(RootSkin, EveryListenerIsToldWhenOneFails) {
  struct TFailing : IDRXApplicationListener {
    void ApplicationDarkModeChanged() override { throw Exception(u"listener failed"); }
  } failing;
  TThemeListener after;
  TDRXApplication::AddListener(&failing);
  TDRXApplication::AddListener(&after);
  darkSetting = true;
  EXPECT_THROW(TDRXApplication::UpdateDarkMode(), Exception);
  EXPECT_EQ(after.told, 1);
  EXPECT_TRUE(RootResourceCollection()->LoadedDark());
  TDRXApplication::RemoveListener(&failing);
  TDRXApplication::RemoveListener(&after);
}

// A control that owns its style is still being built when the style is: the
// style must not ask it anything before its slots are created.
TEST_F(RootSkin, AStyleThatIsItsOwnOwner) {
  struct TSelfOwned : TDRXStyle, IDRXStyleOwner {
    TDRXCustomResourceCollection offered;
    TSelfOwned() : TDRXStyle(this) {
      offered.LoadFromComponent(ReadSkinText(u"[Buttons.Colors.Text] Color\nValue = claRed\n"));
      AddColor(0, u"Buttons.Colors.Text");
    }
    TDRXCustomResourceCollection* StyleResourceCollection() override { return &offered; }
  } style;
  EXPECT_EQ(style.Colors(0).Value(), 0xFFFF0000u);
}

TEST_F(RootSkin, TargetDPIReachesEverySlot) {
  TButtonStyle style(nullptr);
  style.SetTargetDPI(144);
  EXPECT_EQ(style.Colors(0).TargetDPI(), 144);
  EXPECT_EQ(style.Colors(1).TargetDPI(), 144);
  EXPECT_THROW(style.Colors(7), std::out_of_range);
}

TEST_F(RootSkin, ATextureSlotGetsItsDefaultIdentifierBack) {
  struct TTextureStyle : TDRXStyle {
    TTextureStyle() { AddTexture(0, u"Buttons.Textures.Button"); }
  } style;
  TDRXResourceTexture& texture = style.Textures(0);
  texture.SetOverriden(true);
  EXPECT_EQ(texture.ID(), u"");
  texture.SetOverriden(false);
  EXPECT_EQ(texture.ID(), u"Buttons.Textures.Button");
}

// Last: after the library's shutdown there is no root collection any more.
TEST_F(RootSkin, NoRootAfterShutdown) {
  TButtonStyle style(nullptr);
  FinalizeRootResourceCollection();
  EXPECT_EQ(RootResourceCollection(), nullptr);
  EXPECT_EQ(style.Colors(0).Master(), nullptr);
  style.ResolveSlots();
  EXPECT_EQ(style.Colors(0).Value(), claNull);
}

}  // namespace
