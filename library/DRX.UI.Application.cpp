#include "DRX.UI.Application.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <vector>

#include "DRX.Exceptions.h"
#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"

namespace {

struct TApplicationState {
  bool known = false;
  bool darkMode = false;
  TDRXApplication::TDarkModeReader reader = &SystemAppsUseDarkTheme;
  bool contrastKnown = false;
  TDRXContrastScheme contrast;
  TDRXApplication::THighContrastReader contrastReader = &SystemContrastScheme;
  std::vector<IDRXApplicationListener*> listeners;
  TDRXApplication::TExceptionReporter reporter;
  void* mainWindow = nullptr;
  bool titleSet = false;
  UString title;
  std::atomic<int> modalLevel{0};
};

// Never destroyed: collections and forms that live in statics unregister at
// exit in any order.
TApplicationState& State() {
  static TApplicationState* state = new TApplicationState;
  return *state;
}

bool Listening(IDRXApplicationListener* listener) {
  const auto& listeners = State().listeners;
  return std::find(listeners.begin(), listeners.end(), listener) != listeners.end();
}

// Every listener is told even when one fails; the first failure is raised afterwards.
void NotifyListeners(void (IDRXApplicationListener::*event)()) {
  std::exception_ptr failure;
  const std::vector<IDRXApplicationListener*> snapshot = State().listeners;
  for (IDRXApplicationListener* listener : snapshot) {
    if (!Listening(listener)) continue;
    try {
      (listener->*event)();
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  }
  if (failure) std::rethrow_exception(failure);
}

const TDRXContrastScheme& ContrastScheme() {
  TApplicationState& state = State();
  if (!state.contrastKnown) {
    state.contrast = state.contrastReader();
    state.contrastKnown = true;
  }
  return state.contrast;
}

}  // namespace

bool TDRXApplication::DarkMode() {
  TApplicationState& state = State();
  if (!state.known) {
    state.darkMode = state.reader();
    state.known = true;
  }
  return state.darkMode;
}

void TDRXApplication::UpdateDarkMode() {
  TApplicationState& state = State();
  const bool darkMode = state.reader();
  if (state.known && darkMode == state.darkMode) return;
  const bool wasKnown = state.known;
  state.darkMode = darkMode;
  state.known = true;
  if (wasKnown) NotifyListeners(&IDRXApplicationListener::ApplicationDarkModeChanged);
}

bool TDRXApplication::HighContrast() { return ContrastScheme().On; }

TColor TDRXApplication::SystemColor(TDRXSystemColor color) {
  if (color >= kSystemColorCount) return clBlack;
  return ContrastScheme().Colors[color];
}

void TDRXApplication::UpdateHighContrast() {
  TApplicationState& state = State();
  const TDRXContrastScheme scheme = state.contrastReader();
  const bool wasKnown = state.contrastKnown;
  // New colours matter only to a high-contrast look.
  const bool changed = scheme.On != state.contrast.On || (scheme.On && scheme.Colors != state.contrast.Colors);
  state.contrast = scheme;
  state.contrastKnown = true;
  if (wasKnown && changed) NotifyListeners(&IDRXApplicationListener::ApplicationHighContrastChanged);
}

void TDRXApplication::SettingChange(UStringView parameterText) {
  if (parameterText == u"ImmersiveColorSet") UpdateDarkMode();
}

void TDRXApplication::AddListener(IDRXApplicationListener* listener) {
  if (listener && !Listening(listener)) State().listeners.push_back(listener);
}

void TDRXApplication::RemoveListener(IDRXApplicationListener* listener) {
  auto& listeners = State().listeners;
  listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
}

void TDRXApplication::SetDarkModeReader(TDarkModeReader reader) {
  State().reader = reader ? reader : &SystemAppsUseDarkTheme;
}

void TDRXApplication::SetHighContrastReader(THighContrastReader reader) {
  State().contrastReader = reader ? reader : &SystemContrastScheme;
}

UString ExceptionMessage(std::exception_ptr exception) {
  try {
    if (exception) std::rethrow_exception(exception);
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return Utf8ToUtf16(e.what());
  } catch (...) {
  }
  return u"Unknown exception";
}

void TDRXApplication::HandleException(std::exception_ptr exception) noexcept {
  try {
    const TExceptionReporter& reporter = State().reporter;
    if (reporter)
      reporter(exception);
    else
      PlatformReportException(ExceptionMessage(exception));
  } catch (...) {
  }
}

void TDRXApplication::SetExceptionReporter(TExceptionReporter reporter) { State().reporter = std::move(reporter); }

void* TDRXApplication::MainWindow() { return State().mainWindow; }
void TDRXApplication::SetMainWindow(void* window) { State().mainWindow = window; }

UString TDRXApplication::Title() {
  const TApplicationState& state = State();
  if (state.titleSet) return state.title;
  return ChangeFileExt(ExtractFileName(PlatformProgramFileName()), u"");
}

void TDRXApplication::SetTitle(UString title) {
  State().title = std::move(title);
  State().titleSet = true;
}

void TDRXApplication::ModalStarted() { ++State().modalLevel; }
void TDRXApplication::ModalFinished() { --State().modalLevel; }
int TDRXApplication::ModalLevel() { return State().modalLevel.load(); }
