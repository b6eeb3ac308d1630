#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include "uInstaller.h"

#include <memory>

#include "DRX.Platform.h"
#include "DRX.UI.Application.h"
#include "DRX.UI.Dialogs.h"
#include "DRX.Utils.CommandLine.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "uInstaller.Core.Exceptions.h"
#include "uInstaller.Core.FileUtils.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Core.ProductInfo.h"
#include "uInstaller.Core.Switches.h"
#include "uInstaller.UI.Dialogs.Main.h"

namespace {

void ShowErrorBox(const UString& message) { ShowMessageBox(nullptr, message, u"Setup", MB_ICONERROR); }

// The elevated copy receives the first process's spawn window; an unelevated
// process on Vista or later restarts itself elevated and waits for the copy.
bool ElevateIfNeeded(const TSetupSystem& system, TExitCode& exitCode) {
  if (!IsWindowsVistaOrLater()) return false;
  UString window;
  if (CommandLineGetSwitchValue(SetupParams(), kSwitchSkipUac, window)) {
    int32_t handle = 0;
    if (!TryStrToInt(window, handle)) handle = 0;
    TInstallerSpawnService::Initialize(handle);
    return false;
  }
  if (system.IsAdmin()) return false;
  exitCode = system.RelaunchElevated(SetupParams()).ProcessExitCode();
  return true;
}

// The temporary folder may be named in its short form (8.3 names), the program's own path in its long one.
bool IsRunningFromTempFolder() {
  return SameText(IncludeTrailingBackslash(ExpandLongFileName(PlatformTempFolder())),
                  IncludeTrailingBackslash(ExpandLongFileName(ExtractFilePath(PlatformProgramFileName()))));
}

// True when this process goes on to uninstall; false when its copy in the
// temporary folder does the work.
bool PrepareUninstall() {
  UString path;
  if (CommandLineGetSwitchValue(SetupParams(), kSwitchPath, path) && DirectoryExists(path)) {
    // A relative PATH names the folder it names now, not one below a later current folder.
    Installer->SetDestPath(ExpandFileName(path));
    return true;
  }
  if (IsRunningFromTempFolder()) throw EInstallerMysteryError(u"Cannot Start the Uninstaller");
  RunUninstallerFromTemp();
  return false;
}

TExitCode RunSilent() {
  Installer->Start(true);
  if (Installer->HasErrors()) throw EInstallerInstallError(Installer->Errors().Text());
  Installer->RunPostInstallActions();
  return ecSuccess;
}

// The wizard as the main form, until it closes: a wizard left before the
// installer finished was cancelled; a finished run reports its errors.
TExitCode RunWizard() {
  auto form = std::make_unique<TInstallerForm>();
  // An error inside an event handler is the application's report, over the
  // wizard (the main window) and captioned like it; the wizard stays on its page.
  struct TReporterScope {
    ~TReporterScope() { TDRXApplication::SetExceptionReporter(nullptr); }
  } reporterScope;
  TDRXExceptionMessageDialog::Install();
  form->RunAsMainForm();
  // The quit message the closed main form posted belongs to this loop.
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  const bool cancelled = form->Cancelled() || Installer->State() != stFinished;
  form.reset();  // runs the programs chosen on the finish page
  if (cancelled) return ecCancelled;
  return Installer->HasErrors() ? ecError : ecSuccess;
}

}  // namespace

TSetupSystem DefaultSetupSystem() {
  return TSetupSystem{[] { return IsUserAnAdmin() != FALSE; },
                      [](const UString& params) { return RelaunchElevated(params); }, LoadModulePackages};
}

TExitCode StartSequence(const TSetupSystem& system) {
  // Until the installer has decided whether the run is silent, the switches as given decide.
  const UString& params = SetupParams();
  SetMessageBoxesSuppressed(CommandLineHasSwitch(params, kSwitchSuppressMsgBoxes) &&
                            CommandLineHasSwitch(params, kSwitchAuto) && CommandLineHasSwitch(params, kSwitchSilent));
  if (!ProductInfoClass) throw EInstallerGeneralError(u"ProductInfoClass is nil");
  TExitCode exitCode = ecSuccess;
  if (ElevateIfNeeded(system, exitCode)) return exitCode;
  if (!system.IsAdmin()) throw EInstallerNoAdminRightsError();
  const auto installer = std::make_unique<TInstaller>(params, system.Packages);
  SetMessageBoxesSuppressed(installer->SuppressesMessageBoxes());
  if (installer->Mode() == imUninstall && !PrepareUninstall()) return ecSuccess;
  installer->Resources().InitializeLanguages();
  return installer->HasFlag(ifSilent) ? RunSilent() : RunWizard();
}

void RunUninstallerFromTemp() {
  const UString program = PlatformProgramFileName();
  const UString copy = CopyToTempFolder(program);
  CopyToTempFolder(ChangeFileExt(program, u".dat"));
  const UString folder = ExtractFilePath(copy);
  SetCurrentDirectoryW(W(folder));
  const UString params = FormatPathParams(ExtractFilePath(program), SetupParams());
  const auto started = reinterpret_cast<intptr_t>(ShellExecuteW(nullptr, L"open", W(copy), W(params), L"", SW_SHOW));
  // A copy that does not start would leave the installation in place with nothing reported.
  if (started <= 32) throw EInstallerMysteryError(u"Cannot Start the Uninstaller");
}

TExitCode RunSetup() {
  SetSetupParams(GetCommandLineParams());
  SetErrorDisplay(ShowErrorBox);
  return RunGuarded([] { return StartSequence(DefaultSetupSystem()); });
}
