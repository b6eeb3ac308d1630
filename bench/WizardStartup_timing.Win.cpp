// Where the wizard's start-up goes, under Wine or Windows: takes the steps by
// which OvixSetup.exe brings up its first page, in this process, with the
// packages, the default skin and the form read from the resources of the
// OvixSetup.exe named on the command line, and times each with the performance
// counter; then times full repaints of the form (RedrawWindow with
// RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN) at 96 and at 192 DPI.
//   WizardStartup_timing.exe SETUP.exe
// Prints one "step milliseconds" line per step, in the order taken; the
// repaints are medians of kRepaints; a second number on each line is the time
// since the process was created. The language dialog is made, shown and
// painted, then closed with its default choice, as a click on OK would.
// One process is one cold start: bench/wizard-startup runs it several times.
// Exit code: 0 when every step ran, 1 otherwise.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "BenchClock.h"
#include "DRX.Classes.Streams.h"
#include "DRX.Exceptions.h"
#include "DRX.UI.FormLayout.h"
#include "DRX.UI.Resources.Root.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Product.Ovix.h"
#include "uInstaller.UI.Dialogs.Main.h"
#include "uInstaller.h"

namespace {

constexpr int kRepaints = 15;
constexpr int kHighDPI = 192;

// From the creation of this process until now: the loader and the runtime's start.
double MillisecondsSinceProcessStart() {
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimeAsFileTime(&now);
  const auto ticks = [](const FILETIME& time) {
    return (static_cast<int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  return (ticks(now) - ticks(created)) / 10000.0;
}

// Prints a step as it is timed: a step that fails later still has its line.
class TStepReport {
 public:
  void Add(const char* step, double milliseconds) {
    std::printf("%s %.2f %.2f\n", step, milliseconds, MillisecondsSinceProcessStart());
    std::fflush(stdout);
  }
  // Runs the step and prints its time.
  template <class F>
  void Time(const char* step, F&& run) {
    clock_.Restart();
    run();
    Add(step, clock_.Milliseconds());
  }

 private:
  TBenchClock clock_;
};

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void PaintNow(HWND window) {
  UpdateWindow(window);
  GdiFlush();
}

double MedianRepaint(HWND window) {
  std::vector<double> times;
  TBenchClock clock;
  for (int i = 0; i < kRepaints; ++i) {
    clock.Restart();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    times.push_back(clock.Milliseconds());
  }
  return Median(times);
}

// The language dialog as StartSequence shows it: made (it reads every language
// file), shown and painted; closed with its default choice.
UString ChooseLanguageTimed(TStepReport& report) {
  TInstallerResources& resources = Installer->Resources();
  std::unique_ptr<TInstallerLanguageDialog> dialog;
  report.Time("language_dialog", [&] {
    dialog = std::make_unique<TInstallerLanguageDialog>(resources, GetUserDefaultUILanguage());
  });
  report.Time("language_dialog_paint", [&] {
    dialog->Show();
    PaintNow(dialog->Handle());
  });
  PumpMessages();
  const UString chosen = dialog->SelectedFileName(resources);
  // What the end of ShowModal and the dialog's destructor do; under Wine without a
  // window manager the hide waits for one to withdraw the window (two seconds).
  report.Time("language_dialog_close", [&] {
    dialog->Hide();
    dialog.reset();
  });
  return chosen;
}

void TimeRepaints(TStepReport& report, TInstallerForm& form) {
  PumpMessages();
  report.Add("repaint_96", MedianRepaint(form.Handle()));
  report.Time("dpi_change_192", [&] { form.ChangeDPI(kHighDPI); });
  report.Time("repaint_192_first", [&] { PaintNow(form.Handle()); });
  PumpMessages();
  report.Add("repaint_192", MedianRepaint(form.Handle()));
}

int Run(const UString& setupExe) {
  TStepReport report;
  report.Add("process_to_main", MillisecondsSinceProcessStart());
  const HMODULE setup =
      LoadLibraryExW(W(setupExe), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!setup) {
    std::fprintf(stderr, "WizardStartup_timing: cannot open %ls (error %lu)\n", W(setupExe), GetLastError());
    return 1;
  }
  UseOvixProduct();
  SetSetupParams(u"");
  SetDefaultSkinSource([setup](bool dark) -> std::unique_ptr<TStream> {
    const UString name(dark ? kDefaultDarkSkinName : kDefaultSkinName);
    return std::make_unique<TResourceStream>(setup, name);
  });

  // The packages are read inside the installer's constructor: timed apart from the rest of it.
  double packagesMilliseconds = 0;
  const TInstallerPackageSource packages = [&] {
    TInstallerPackages read;
    TBenchClock clock;
    read.Setup = std::make_unique<TSetupPackageReader>(setup, u"SETUP");
    const double setupMilliseconds = clock.Milliseconds();
    report.Add("setup_package", setupMilliseconds);
    read.Product = ReadProductPackage(setup, *read.Setup);  // as the program reads it
    packagesMilliseconds = clock.Milliseconds();
    report.Add("product_package", packagesMilliseconds - setupMilliseconds);
    return read;
  };
  std::unique_ptr<TInstaller> installer;
  TBenchClock clock;
  installer = std::make_unique<TInstaller>(SetupParams(), packages);
  report.Add("installer", clock.Milliseconds() - packagesMilliseconds);

  report.Time("skin", [] { RootResourceCollection(); });
  double dialogMilliseconds = 0;
  clock.Restart();
  installer->Resources().InitializeLanguages([&] {
    TBenchClock dialogClock;
    const UString chosen = ChooseLanguageTimed(report);
    dialogMilliseconds = dialogClock.Milliseconds();
    return chosen;
  });
  report.Add("languages", clock.Milliseconds() - dialogMilliseconds);

  TDRXFormLayout layout;
  report.Time("form_layout", [&] {
    TResourceStream stream(setup, u"TINSTALLERFORM");
    layout = ReadFormLayout(stream);
  });
  std::unique_ptr<TInstallerForm> form;
  report.Time("form", [&] { form = std::make_unique<TInstallerForm>(layout); });
  report.Time("form_window", [&] { form->Handle(); });
  report.Time("first_paint", [&] {
    form->Show();
    PaintNow(form->Handle());
  });
  report.Add("process_to_first_paint", MillisecondsSinceProcessStart());
  TimeRepaints(report, *form);
  form.reset();
  installer.reset();
  return 0;
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count != 2) {
    std::fprintf(stderr, "usage: WizardStartup_timing.exe SETUP.exe\n");
    return 1;
  }
  const UString setupExe = FromW(arguments[1]);
  LocalFree(arguments);
  try {
    return Run(setupExe);
  } catch (const Exception& error) {
    std::fprintf(stderr, "WizardStartup_timing: %ls\n", W(error.Message()));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "WizardStartup_timing: %s\n", error.what());
  }
  return 1;
}
