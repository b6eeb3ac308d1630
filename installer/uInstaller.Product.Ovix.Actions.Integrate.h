#pragma once
// The actions that connect a fresh installation with the system, by the
// choices of the Integration page: the player's registration program
// Rediruzu.exe does the registrations, the setup only composes its switches;
// the script's shortcuts go onto the shared desktop and into the shared Start
// menu; the shell is told that file associations changed.

#include <memory>

#include "DRX.Classes.StringList.h"
#include "uInstaller.Core.Actions.h"

class TInstallerScriptFile;

class TInstallerActionIntegrate : public TInstallerAction {
 public:
  static constexpr UStringView ClassName = u"TInstallerActionIntegrate";

  // Runs DestPath\Rediruzu.exe with the switches and waits for it; nothing
  // without the program or without a switch. Its outcome is not examined.
  void Execute() override;
  void BuildSummary(TInstallerSummaryBuilder& builder) override;

 private:
  // The switches, each after a space, in their fixed order; empty when nothing is chosen.
  UString SwitchText();
  // The program path in quotes (it may contain spaces), then the switches.
  static UString CommandLine(const UString& program, const UString& switches);
  bool IntegrateToWindows();
  bool RegisterContextMenu();
  bool AssociateWithFiles();
};

class TInstallerActionShortcuts : public TInstallerAction {
 public:
  static constexpr UStringView ClassName = u"TInstallerActionShortcuts";

  TInstallerActionShortcuts();
  void Execute() override;
  void BuildSummary(TInstallerSummaryBuilder& builder) override;

  bool IsDesktopEnabled();
  bool IsStartMenuEnabled();
  // The path variables ("$DESKTOP", "$STARTMENU") of the shortcuts this run creates.
  TDRXStringList& Roots() { return *roots_; }

 private:
  // Creates the link for one script entry or skips it; never raises for a
  // folder or link that cannot be made.
  void CreateShortcutFor(const TInstallerScriptFile& file);
  bool HasWantedRoot(const TInstallerScriptFile& file) const;

  std::unique_ptr<TDRXStringList> roots_;
};

class TInstallerActionUpdateShellCache : public TInstallerAction {
 public:
  static constexpr UStringView ClassName = u"TInstallerActionUpdateShellCache";
  void Execute() override;
};
