// The root collection in the program's own module (this test carries the two
// compiled skins as RCDATA, as OvixSetup.exe does), the app theme read from the
// registry of the prefix, and the reload that WM_SETTINGCHANGE
// "ImmersiveColorSet" to a skinned window sets off.
#include "DRX.UI.Resources.Root.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "DRX.UI.Resources.Styles.h"
#include "DRX.Utils.Registry.h"
#include "DRX.Utils.Shell.h"

namespace {

const UString kPersonalize = u"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
constexpr TDRXAlphaColor kLightBackground = 0xFFFFFFFF;
constexpr TDRXAlphaColor kDarkBackground = 0xFF262626;

// The app theme as a user sets it; the prefix starts without the key, and each test leaves it so.
class TAppTheme {
 public:
  TAppTheme() { Forget(); }
  ~TAppTheme() { Forget(); }
  void Set(uint32_t appsUseLightTheme) {
    TDRXRegistryKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kPersonalize, KEY_SET_VALUE));
    ASSERT_TRUE(key.WriteInteger(u"AppsUseLightTheme", appsUseLightTheme));
  }
  void KeyWithoutValue() {
    TDRXRegistryKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kPersonalize, KEY_SET_VALUE));
  }
  static void Forget() { RegDeleteKeyW(HKEY_CURRENT_USER, W(kPersonalize)); }
};

// What a skinned form does with WM_SETTINGCHANGE: its own handling, then the application's.
LRESULT CALLBACK SkinnedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_SETTINGCHANGE) TDRXApplication::SettingChangeMessage(lParam);
  return result;
}

class TSkinnedWindow {
 public:
  TSkinnedWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = SkinnedWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TDRXResourcesTestForm";
    RegisterClassW(&windowClass);
    handle_ = CreateWindowExW(0, windowClass.lpszClassName, L"Skinned", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                              nullptr, windowClass.hInstance, nullptr);
  }
  ~TSkinnedWindow() { DestroyWindow(handle_); }
  void SettingChange(const wchar_t* text) { SendMessageW(handle_, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(text)); }
  HWND Handle() const { return handle_; }

 private:
  HWND handle_;
};

struct TThemeListener : IDRXApplicationListener {
  int told = 0;
  void ApplicationDarkModeChanged() override { ++told; }
};

struct TRecorder : IDRXResourceListener {
  std::string log;
  void ResourceNotify(TDRXResourceNotifier&, TDRXResourceNotification n) override {
    static const char* const kNames[] = {"begin ", "end ", "removing ", "changed "};
    log += kNames[n];
  }
};

struct TLabelStyle : TDRXStyle, IDRXStyleOwner {
  int changes = 0;
  TLabelStyle() : TDRXStyle(this) { AddColor(0, u"Labels.Colors.Background"); }
  void StyleChanged(TDRXStyle&) override { ++changes; }
};

TDRXAlphaColor RootBackground() {
  return RootResourceCollection()->Find<TDRXResourceColor>(u"Common.Colors.Background")->Value();
}

TEST(AppTheme, FromTheRegistryOfTheCurrentUser) {
  TAppTheme theme;
  EXPECT_FALSE(SystemAppsUseDarkTheme());  // no key
  theme.KeyWithoutValue();
  EXPECT_FALSE(SystemAppsUseDarkTheme());  // no value: light
  theme.Set(1);
  EXPECT_FALSE(SystemAppsUseDarkTheme());
  theme.Set(0);
  EXPECT_TRUE(SystemAppsUseDarkTheme());
}

TEST(RootCollection, LoadsTheLightSkinThenTheDarkOneWhenTheThemeChanges) {
  TAppTheme theme;
  TDRXApplication::UpdateDarkMode();
  ASSERT_FALSE(TDRXApplication::DarkMode());
  TDRXRootResourceCollectionImpl* root = RootResourceCollection();
  ASSERT_NE(root, nullptr);
  root->Load();
  EXPECT_FALSE(root->LoadedDark());
  EXPECT_EQ(RootBackground(), kLightBackground);
  EXPECT_GT(root->Count(), 50);

  TSkinnedWindow window;
  ASSERT_NE(window.Handle(), nullptr);
  TThemeListener listener;
  TRecorder recorder;
  TLabelStyle style;
  TDRXApplication::AddListener(&listener);
  root->AddListener(&recorder);
  EXPECT_EQ(style.Colors(0).Value(), kLightBackground);
  style.changes = 0;

  theme.Set(0);
  window.SettingChange(L"Environment");  // another setting: nothing is read again
  EXPECT_FALSE(TDRXApplication::DarkMode());
  window.SettingChange(L"ImmersiveColorSet");
  EXPECT_TRUE(TDRXApplication::DarkMode());
  EXPECT_TRUE(root->LoadedDark());
  EXPECT_EQ(RootBackground(), kDarkBackground);
  EXPECT_EQ(style.Colors(0).Value(), kDarkBackground);
  EXPECT_EQ(listener.told, 1);
  EXPECT_EQ(style.changes, 1);
  EXPECT_EQ(recorder.log, "begin changed end ");

  window.SettingChange(L"ImmersiveColorSet");  // still dark: nobody is told
  EXPECT_EQ(listener.told, 1);
  EXPECT_EQ(recorder.log, "begin changed end ");

  theme.Set(1);
  window.SettingChange(L"ImmersiveColorSet");
  EXPECT_FALSE(root->LoadedDark());
  EXPECT_EQ(style.Colors(0).Value(), kLightBackground);
  EXPECT_EQ(listener.told, 2);
  EXPECT_EQ(style.changes, 2);
  root->RemoveListener(&recorder);
  TDRXApplication::RemoveListener(&listener);
}

TEST(RootCollection, Windows11TakesTheRoundedVariants) {
  TAppTheme theme;
  TDRXApplication::UpdateDarkMode();
  TDRXRootResourceCollectionImpl* root = RootResourceCollection();
  struct Case {
    TDRXOSVersion version;
    int cornerRadius;
    bool variants;
  };
  for (const Case& c : {Case{{10, 0, 19045}, 0, false}, Case{{10, 0, 22000}, 7, true}, Case{{6, 1, 7601}, 0, false}}) {
    TDRXOSVersionOverride os(c.version);
    root->Load();
    EXPECT_EQ(root->Find<TDRXResourceInteger>(u"Popup.Margins.CornerRadius")->Value(), c.cornerRadius) << c.version.Build;
    auto* button = root->Find<TDRXResourceTexture>(u"Buttons.Textures.Button");
    EXPECT_EQ(button->Overriden(), !c.variants) << c.version.Build;
    EXPECT_EQ(button->ID(), c.variants ? u"Buttons.Textures.Button.W11" : u"") << c.version.Build;
  }
  root->Load();
}

TEST(RootCollection, AModuleWithoutSkinsGivesAnEmptyRoot) {
  EXPECT_NE(PlatformDefaultSkin(false), nullptr);
  EXPECT_NE(PlatformDefaultSkin(true), nullptr);
  SetDefaultSkinSource([](bool) { return std::unique_ptr<TStream>(); });
  RootResourceCollection()->Load();
  EXPECT_EQ(RootResourceCollection()->Count(), 0);
  SetDefaultSkinSource({});
  RootResourceCollection()->Load();
  EXPECT_GT(RootResourceCollection()->Count(), 50);
}

}  // namespace
