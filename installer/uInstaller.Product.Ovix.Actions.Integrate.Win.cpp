#include <windows.h>

#include "uInstaller.Product.Ovix.Actions.Integrate.h"

#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "uInstaller.Core.FileUtils.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Core.Resources.h"
#include "uInstaller.Core.Summary.h"

namespace {
constexpr UStringView kIntegration = u"Integration";
constexpr UStringView kPage = u"PageIntegration";

// Windows 8 and later link only to programs: the text from the last dot is ".exe"
// (a space or separator after that dot means no extension, and no match).
bool IsProgramFileName(const UString& sourceName) {
  const size_t dot = sourceName.rfind(u'.');
  return dot != UString::npos && SameText(UStringView(sourceName).substr(dot), u".exe");
}
}  // namespace

// ---- TInstallerActionIntegrate ----

bool TInstallerActionIntegrate::IntegrateToWindows() { return Settings().ReadBool(kIntegration, u"IntegrateToWindows", true); }
bool TInstallerActionIntegrate::RegisterContextMenu() { return Settings().ReadBool(kIntegration, u"RegisterContextMenu", true); }
bool TInstallerActionIntegrate::AssociateWithFiles() { return Settings().ReadBool(kIntegration, u"AssociateWithFiles", true); }

UString TInstallerActionIntegrate::SwitchText() {
  UString switches;
  if (IntegrateToWindows()) switches += u" /REG=L1 /REG=D1 /REG=R1";
  if (RegisterContextMenu()) switches += u" /REG=M1";
  if (AssociateWithFiles()) {
    switches += u" /REG=R2";
    // From Windows 8 on only the user can choose default programs: the
    // program asks, unless nobody is there to answer.
    if (IsWindows8OrLater() && !Installer->HasFlag(ifAuto)) switches += u" /REG_UI";
  }
  return switches;
}

UString TInstallerActionIntegrate::CommandLine(const UString& program, const UString& switches) {
  return u"\"" + program + u"\"" + switches;
}

void TInstallerActionIntegrate::Execute() {
  const UString program = Installer->DestPath() + u"Rediruzu.exe";
  if (!FileExists(program)) return;
  const UString switches = SwitchText();
  if (!switches.empty()) RunAndWait(CommandLine(program, switches));
}

void TInstallerActionIntegrate::BuildSummary(TInstallerSummaryBuilder& builder) {
  builder.BeginSection(kPage, u"LB2");
  if (IntegrateToWindows()) builder.AddItem(kPage, u"CB4");
  if (RegisterContextMenu()) builder.AddItem(kPage, u"CB5");
  if (AssociateWithFiles()) builder.AddItem(kPage, u"CB3");
}

// ---- TInstallerActionShortcuts ----

TInstallerActionShortcuts::TInstallerActionShortcuts() : roots_(std::make_unique<TDRXStringList>()) {}

bool TInstallerActionShortcuts::IsDesktopEnabled() {
  return Settings().ReadBool(kIntegration, u"ShortcutDesktop", !Installer->HasFlag(ifPortable));
}

bool TInstallerActionShortcuts::IsStartMenuEnabled() {
  return Settings().ReadBool(kIntegration, u"ShortcutStartMenu", !Installer->HasFlag(ifPortable));
}

void TInstallerActionShortcuts::Execute() {
  SetStatus(CommonString(u"A2"));
  roots_->Clear();
  if (IsDesktopEnabled()) roots_->Add(u"$DESKTOP");
  if (IsStartMenuEnabled()) roots_->Add(u"$STARTMENU");
  const TInstallerScriptGroup& shortcuts = Script().Shortcuts;
  const int count = shortcuts.Count();
  for (int i = 0; i < count; ++i) {
    CreateShortcutFor(shortcuts.Items(i));
    SetProgress(MulDiv(i + 1, 100, count));
  }
}

bool TInstallerActionShortcuts::HasWantedRoot(const TInstallerScriptFile& file) const {
  const UString name = PlatformUpperCase(file.Name);
  for (int i = 0; i < roots_->Count(); ++i) {
    if (name.find(roots_->Strings(i)) != UString::npos) return true;
  }
  return false;
}

void TInstallerActionShortcuts::CreateShortcutFor(const TInstallerScriptFile& file) {
  if (!HasWantedRoot(file)) return;
  if (IsWindows8OrLater() && !IsProgramFileName(file.GetSourceName())) return;
  const UString link = Resources().ExpandPath(file.Name);
  // The root test ignores case, the variables do not: "$desktop" stays a
  // relative name, which would put the link wherever the setup happens to run.
  if (!IsFullPath(link) || !ForceDirectories(ExtractFilePath(link))) return;
  const UString target = Resources().ExpandPath(file.GetSourceName());
  if (FileExists(link) && GetShortcutTarget(link) == target) return;
  CreateShortcut(link, target);
}

void TInstallerActionShortcuts::BuildSummary(TInstallerSummaryBuilder& builder) {
  builder.BeginSection(kPage, u"LB1");
  if (IsDesktopEnabled()) builder.AddItem(kPage, u"CB1");
  if (IsStartMenuEnabled()) builder.AddItem(kPage, u"CB2");
}

// ---- TInstallerActionUpdateShellCache ----

void TInstallerActionUpdateShellCache::Execute() { NotifyAssociationsChanged(); }

