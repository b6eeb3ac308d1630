#pragma once
// The application object of the component library: the dark-mode flag that
// follows the system's app theme (read by every skinned form and by the root
// resource collection), the high-contrast flag with the system colours that
// the controls paint with instead of the skin while it is on, the report of exceptions that escape event handlers,
// the main window, the title and the count of open modal dialogs. Interface
// thread only, except where a member says otherwise.

#include <array>
#include <cstdint>
#include <exception>
#include <functional>

#include "DRX.Graphics.Types.h"
#include "DRX.Strings.h"

// The system colours a high-contrast look is painted with.
enum TDRXSystemColor : uint8_t {
  scWindow,         // backgrounds of pages, edits and lists
  scWindowText,     // text and frames on them
  scButtonFace,     // push buttons, scroll bars, progress tracks
  scButtonText,     // text and frames on them
  scHighlight,      // selections, the progress bar, a pressed button
  scHighlightText,  // text on them
  scHotLight,       // links
  scGrayText,       // disabled text and frames
};
inline constexpr int kSystemColorCount = scGrayText + 1;

// Whether the system's high-contrast mode is on, and its colours.
struct TDRXContrastScheme {
  bool On = false;
  std::array<TColor, kSystemColorCount> Colors{};
  bool operator==(const TDRXContrastScheme&) const = default;
};

class IDRXApplicationListener {
 public:
  virtual void ApplicationDarkModeChanged() = 0;
  // The high-contrast flag changed, or its colours did while it is on.
  virtual void ApplicationHighContrastChanged() {}

 protected:
  ~IDRXApplicationListener() = default;
};

class TDRXApplication {
 public:
  // Read from the system on first use, before any form asks.
  static bool DarkMode();
  // Reads the flag again; when it differs from the stored one it is stored and
  // every listener is told, one after the other (a listener's failure is raised
  // once all have been told).
  static void UpdateDarkMode();
  // What a skinned form does after its own handling of WM_SETTINGCHANGE: the
  // parameter text "ImmersiveColorSet" means the app theme may have changed.
  static void SettingChange(UStringView parameterText);
#ifdef _WIN32
  // The same, from the message's lParam (a text or null).
  static void SettingChangeMessage(intptr_t lParam);
#endif

  // Whether controls paint with the system colours instead of the skin; read
  // from the system on first use.
  static bool HighContrast();
  // One of the scheme's colours (also while high contrast is off).
  static TColor SystemColor(TDRXSystemColor color);
  // Reads the scheme again (a form does on WM_SETTINGCHANGE and
  // WM_SYSCOLORCHANGE); listeners are told as for the dark mode when the flag
  // changed, or the colours did while it is on.
  static void UpdateHighContrast();

  // Listeners that are added twice are told once; removal during a
  // notification takes effect at once.
  static void AddListener(IDRXApplicationListener* listener);
  static void RemoveListener(IDRXApplicationListener* listener);

  // What a window procedure does with an exception that reached it (none may
  // cross into the system): hands it to the reporter. The default reporter
  // shows the exception's message in an error box (natively: on stderr). A
  // failing reporter is ignored.
  static void HandleException(std::exception_ptr exception) noexcept;
  using TExceptionReporter = std::function<void(std::exception_ptr)>;
  // An empty reporter gives back the default one.
  static void SetExceptionReporter(TExceptionReporter reporter);

  // Tests: where the flag comes from; null gives back the system's reader.
  using TDarkModeReader = bool (*)();
  static void SetDarkModeReader(TDarkModeReader reader);
  // Tests: where the high-contrast scheme comes from; null gives back the system's.
  using THighContrastReader = TDRXContrastScheme (*)();
  static void SetHighContrastReader(THighContrastReader reader);

  // The window that owns dialogs shown without an owner (the main form's; an
  // HWND on Windows), null until the program names one.
  static void* MainWindow();
  static void SetMainWindow(void* window);
  // The caption of the application's own reports; the program file's name
  // without its extension until the program sets one.
  static UString Title();
  static void SetTitle(UString title);

  // Modal dialogs bracket their run with ModalStarted and ModalFinished (see
  // TDRXModalDialogScope); ModalLevel counts the open ones and may be read
  // from any thread.
  static void ModalStarted();
  static void ModalFinished();
  static int ModalLevel();
};

// Marks a modal dialog as open for as long as it lives.
class TDRXModalDialogScope {
 public:
  TDRXModalDialogScope() { TDRXApplication::ModalStarted(); }
  ~TDRXModalDialogScope() { TDRXApplication::ModalFinished(); }
  TDRXModalDialogScope(const TDRXModalDialogScope&) = delete;
  TDRXModalDialogScope& operator=(const TDRXModalDialogScope&) = delete;
};

// The system's app theme: true when the DWORD "AppsUseLightTheme" under the
// current user's "Software\Microsoft\Windows\CurrentVersion\Themes\Personalize"
// is 0. A missing value reads as light; a key that cannot be opened gives
// false. Natively always false.
bool SystemAppsUseDarkTheme();
// SPI_GETHIGHCONTRAST's HCF_HIGHCONTRASTON and GetSysColor's colours.
// Natively: off, with the classic light colours.
TDRXContrastScheme SystemContrastScheme();

// The message of an exception as a report shows it: an Exception's message, a
// standard exception's what(), else a fixed text.
UString ExceptionMessage(std::exception_ptr exception);
// The default report: an error box with the message (Windows), stderr natively.
void PlatformReportException(const UString& message);
