#include <windows.h>
#include <shellapi.h>

#include "uInstaller.Product.Ovix.Actions.Config.h"

#include "DRX.Format.h"
#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"
#include "uInstaller.Core.Exceptions.h"
#include "uInstaller.Core.FileUtils.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Core.ProductInfo.h"
#include "uInstaller.Core.Resources.h"
#include "uInstaller.Core.Summary.h"

// ---- TInstallerActionConfig ----

void TInstallerActionConfig::Execute() {
  SetStatus(CommonString(u"A6"));
  const UString fileName = Installer->DestPath() + u"Ovix.ini";
  // Through a link the configuration would be read from and written into the
  // file it points to: the link goes first, and one that cannot go is left
  // as it is, like a file that cannot be written.
  if (!RemoveFileLink(fileName)) return;
  TDRXIniFile config(fileName, true);
  config.WriteSectionText(u"Integration", Settings().ReadSectionText(u"Integration"));
  config.DeleteSection(u"System");
  config.WriteBool(u"System", u"UserMode", !Installer->HasFlag(ifPortable));
  config.WriteString(u"System", u"DefaultLang", Resources().LangName() + u".lng");
  config.WriteInteger(u"System", u"Version", ProductInfo().GetVersionId());
}

// ---- TInstallerActionAddonsInstall ----

namespace {
constexpr UStringView kCommon = u"Common";
constexpr UStringView kPage = u"PageAddons";
}  // namespace

bool TInstallerActionAddonsInstall::Viewer() { return Settings().ReadBool(kCommon, u"AddonsViewer", false); }
bool TInstallerActionAddonsInstall::Extensions() { return Settings().ReadBool(kCommon, u"AddonsExtensions", false); }
bool TInstallerActionAddonsInstall::Shortcuts() { return Settings().ReadBool(kCommon, u"AddonsShortcuts", false); }

UString TInstallerActionAddonsInstall::SwitchText(const TDRXStringList& info) {
  UString switches;
  if (!Extensions()) switches += info.Values(u"P1") + u" ";
  if (Viewer()) switches += info.Values(u"P2") + u" ";
  if (Shortcuts()) switches += info.Values(u"P3") + u" ";
  return switches;
}

UString TInstallerActionAddonsInstall::Parameters(const TDRXStringList& info, const UString& switches) {
  const UString pattern = info.Values(u"CL");
  try {
    return Format(pattern, {switches});
  } catch (const EConvertError& error) {
    throw EInstallerInstallError(u"\"addons.ini\": the parameter pattern \"CL\" is invalid: " + error.Message());
  }
}

UString TInstallerActionAddonsInstall::AddonFileName(const TDRXStringList& info) {
  const UString name = info.Values(u"P4");
  // A name with a folder part would write outside the temporary folder.
  if (Trim(name).empty() || ExtractFileName(name) != name || name.find_first_not_of(u'.') == UString::npos)
    throw EInstallerInstallError(u"\"addons.ini\": \"P4\" is no plain file name: \"" + name + u"\"");
  return PlatformTempFolder() + name;
}

void TInstallerActionAddonsInstall::Execute() {
  if (!Viewer() && !Extensions() && !Shortcuts()) return;
  const std::unique_ptr<TDRXStringList> info = Resources().GetStringList(u"addons.ini");
  const UString fileName = AddonFileName(*info);
  const UString parameters = Parameters(*info, SwitchText(*info));
  Resources().GetFile(info->Values(u"P4"))->SaveToFile(fileName);
  // Runs on by itself; whether it could be started is not the setup's concern.
  ShellExecuteW(nullptr, L"open", W(fileName), W(parameters), nullptr, SW_SHOWNORMAL);
}

void TInstallerActionAddonsInstall::BuildSummary(TInstallerSummaryBuilder& builder) {
  builder.BeginSection(kPage, u"Title");
  if (Viewer()) builder.AddItem(kPage, u"CB1");
  if (Extensions()) builder.AddItem(kPage, u"CB2");
  if (Shortcuts()) builder.AddItem(kPage, u"CB3");
}
