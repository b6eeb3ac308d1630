#pragma once
// The application-wide theme of the component library: the dark-mode flag that
// follows the system's app theme, read by every skinned form and by the root
// resource collection. Interface thread only.

#include <cstdint>
#include <exception>
#include <functional>

#include "DRX.Strings.h"

class IDRXApplicationListener {
 public:
  virtual void ApplicationDarkModeChanged() = 0;

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
};

// The system's app theme: true when the DWORD "AppsUseLightTheme" under the
// current user's "Software\Microsoft\Windows\CurrentVersion\Themes\Personalize"
// is 0. A missing value reads as light; a key that cannot be opened gives
// false. Natively always false.
bool SystemAppsUseDarkTheme();

// The message of an exception as a report shows it: an Exception's message, a
// standard exception's what(), else a fixed text.
UString ExceptionMessage(std::exception_ptr exception);
// The default report: an error box with the message (Windows), stderr natively.
void PlatformReportException(const UString& message);
