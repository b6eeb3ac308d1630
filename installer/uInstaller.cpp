#include "uInstaller.h"

#include <exception>

#include "DRX.Exceptions.h"

namespace {
TErrorDisplay& ErrorDisplay() {
  static TErrorDisplay display;
  return display;
}

bool gMessageBoxesSuppressed = false;

UString& SetupParamsValue() {
  static UString params;
  return params;
}
}  // namespace

const UString& SetupParams() { return SetupParamsValue(); }
void SetSetupParams(UString params) { SetupParamsValue() = std::move(params); }

void SetErrorDisplay(TErrorDisplay display) { ErrorDisplay() = std::move(display); }

TExitCode RunGuarded(const std::function<TExitCode()>& sequence) {
  try {
    return sequence();
  } catch (const Exception& error) {
    ShowSetupError(error.Message());
  } catch (const std::exception& error) {
    // Not one of ours (out of memory on a damaged package, say): still a message, never a crash.
    ShowSetupError(Utf8ToUtf16(error.what()));
  }
  return ecError;
}

void ShowSetupError(const UString& message) {
  if (ErrorDisplay() && !gMessageBoxesSuppressed) ErrorDisplay()(message);
}

void SetMessageBoxesSuppressed(bool suppressed) { gMessageBoxesSuppressed = suppressed; }
