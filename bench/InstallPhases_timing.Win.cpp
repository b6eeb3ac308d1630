// Where a silent installation or uninstallation spends its time: runs the
// installer core of a release in this process, step by step as the program's
// own silent run does, and prints one line per phase, "NAME MILLISECONDS".
// The packages come from the release's file (its SETUP and PRODUCT resources,
// or the Uninstall.dat beside an Uninstall.exe), so the product is measured as
// it ships; the program's start and end, and for an uninstallation its copy in
// the temporary folder, are what a whole run takes beyond these phases.
//   InstallPhases_timing.exe install SETUP.EXE FOLDER
//   InstallPhases_timing.exe uninstall FOLDER\Uninstall.exe
// Exit code: 0 when the run succeeded, 1 otherwise (the error on stderr).
#include <windows.h>

#include <shellapi.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "DRX.Exceptions.h"
#include "DRX.Utils.Paths.h"
#include "uInstaller.Core.Extract.h"
#include "uInstaller.Core.FileUtils.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Core.Package.h"
#include "uInstaller.Core.ProductInfo.h"
#include "uInstaller.Core.Resources.h"
#include "uInstaller.Core.Script.h"
#include "uInstaller.Product.Ovix.h"

namespace {

using TClock = std::chrono::steady_clock;

// Runs the step and prints its milliseconds under the name.
template <class Step>
auto Timed(const char* name, Step&& step) {
  const TClock::time_point start = TClock::now();
  struct TReport {
    const char* name;
    TClock::time_point start;
    ~TReport() {
      const double ms = std::chrono::duration<double, std::milli>(TClock::now() - start).count();
      std::printf("%s %.1f\n", name, ms);
    }
  } report{name, start};
  return step();
}

// The release's packages, timed one by one, as LoadModulePackages reads them.
TInstallerPackages ReleasePackages(const UString& program, bool uninstalling) {
  const HMODULE module = LoadLibraryExW(W(program), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) throw Exception(u"cannot open " + program);
  TInstallerPackages packages;
  packages.Setup = Timed("decode SETUP", [&] { return std::make_unique<TSetupPackageReader>(module, u"SETUP"); });
  if (uninstalling) {
    const UString list = ChangeFileExt(program, u".dat");
    packages.Product = Timed("read Uninstall.dat", [&] { return std::make_unique<TSetupPackageReader>(list); });
  } else {
    // With its index in SETUP the package decodes while the phases below run;
    // the extraction's files wait for it.
    packages.Product = Timed("decode PRODUCT (start, when indexed)",
                             [&] { return ReadProductPackage(module, *packages.Setup); });
  }
  return packages;
}

// The extraction in its two halves: the component files, then what the
// uninstaller needs. Its Uninstall.exe is a copy of the running program, here
// this one: the release takes its place, timed on its own.
void RunExtract(TInstallerActionExtract& extract, const UString& release) {
  const std::vector<const TInstallerScriptFile*> files = TInstallerActionExtract::FilesToExtract();
  Timed("  component files written (with the rest of the decoding)",
        [&] { Installer->ExtractHelper().ExtractFiles(files, [](size_t) {}); });
  Timed("  Uninstall.exe (this program), Uninstall.dat, registry",
        [&] { extract.WriteUninstallData(Installer->DestPath(), files); });
  Timed("  Uninstall.exe as a copy of the release",
        [&] { CopyFileOrRaise(release, Installer->DestPath() + u"Uninstall.exe"); });
}

void RunActions(const UString& program) {
  Installer->ProductInfo().PopulateActions([&](TInstallerActionClass actionClass) {
    std::unique_ptr<TInstallerAction> action = actionClass->Create();
    const std::string name = "action " + Utf16ToUtf8(actionClass->ClassName);
    Timed(name.c_str(), [&] {
      if (auto* extract = dynamic_cast<TInstallerActionExtract*>(action.get())) return RunExtract(*extract, program);
      action->Run();
    });
  });
}

void Run(const UString& mode, const UString& program, const UString& folder) {
  const bool uninstalling = mode == u"uninstall";
  const UString params = uninstalling ? u"/PATH=\"" + folder + u"\" /AUTO /SILENT /SUPPRESSMSGBOXES"
                                      : u"/AUTO=\"" + folder + u"\" /SILENT /SUPPRESSMSGBOXES";
  const auto installer = Timed("installer (packages, script, destination)", [&] {
    return std::make_unique<TInstaller>(params, [&] { return ReleasePackages(program, uninstalling); });
  });
  if (uninstalling) {
    Timed("copies in the temporary folder", [&] {
      DeleteFileW(W(CopyToTempFolder(program)));
      DeleteFileW(W(CopyToTempFolder(ChangeFileExt(program, u".dat"))));
    });
    installer->SetDestPath(folder);
  }
  Timed("languages", [&] { installer->Resources().InitializeLanguages(); });
  RunActions(program);
  if (installer->HasErrors()) throw Exception(installer->Errors().Text());
  Timed("post-install actions", [&] { installer->RunPostInstallActions(); });
}

std::vector<UString> Arguments() {
  int count = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<UString> args;
  for (int i = 1; i < count; ++i) args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
  LocalFree(argv);
  return args;
}

}  // namespace

int main() {
  const std::vector<UString> args = Arguments();
  const bool install = args.size() == 3 && args[0] == u"install";
  if (!install && !(args.size() == 2 && args[0] == u"uninstall")) {
    std::fprintf(stderr, "usage: InstallPhases_timing.exe install SETUP.EXE FOLDER\n"
                         "       InstallPhases_timing.exe uninstall FOLDER\\Uninstall.exe\n");
    return 1;
  }
  UseOvixProduct();
  try {
    const UString folder = install ? IncludeTrailingBackslash(args[2]) : ExtractFilePath(args[1]);
    Timed("total", [&] { Run(args[0], args[1], folder); });
  } catch (const Exception& error) {
    std::fprintf(stderr, "InstallPhases_timing: %s\n", Utf16ToUtf8(error.Message()).c_str());
    return 1;
  }
  return 0;
}
