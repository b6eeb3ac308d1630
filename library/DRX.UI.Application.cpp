#include "DRX.UI.Application.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "DRX.Exceptions.h"

namespace {

struct TApplicationState {
  bool known = false;
  bool darkMode = false;
  TDRXApplication::TDarkModeReader reader = &SystemAppsUseDarkTheme;
  std::vector<IDRXApplicationListener*> listeners;
  TDRXApplication::TExceptionReporter reporter;
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
  if (!wasKnown) return;
  // Every listener is told even when one fails; the first failure is raised afterwards.
  std::exception_ptr failure;
  const std::vector<IDRXApplicationListener*> snapshot = state.listeners;
  for (IDRXApplicationListener* listener : snapshot) {
    if (!Listening(listener)) continue;
    try {
      listener->ApplicationDarkModeChanged();
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  }
  if (failure) std::rethrow_exception(failure);
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
