#pragma once
// What surrounds the player's files: its configuration file "Ovix.ini" in the
// destination (profile mode, language, version and the integration choices,
// which the next setup reads back), and the optional add-on installer that
// the setup carries and starts with the user's add-on choices.

#include "uInstaller.Core.Actions.h"

class TDRXStringList;

class TInstallerActionConfig : public TInstallerAction {
 public:
  static constexpr UStringView ClassName = u"TInstallerActionConfig";

  // Replaces the sections "Integration" and "System" of DestPath\Ovix.ini and
  // keeps the others; the file keeps its encoding. A link at that name is
  // replaced by a file of its own, never read or written through. A file that
  // cannot be written stays as it was.
  void Execute() override;
};

class TInstallerActionAddonsInstall : public TInstallerAction {
 public:
  static constexpr UStringView ClassName = u"TInstallerActionAddonsInstall";

  // With at least one add-on chosen: writes the package entry named by "P4" of
  // "addons.ini" into the temporary folder and starts it, without waiting,
  // with the parameters SwitchText and "CL" make.
  void Execute() override;
  void BuildSummary(TInstallerSummaryBuilder& builder) override;

  // The "CL" pattern with the switch text as its one argument; a pattern
  // that does not fit raises EInstallerInstallError.
  static UString Parameters(const TDRXStringList& info, const UString& switches);
  // The temporary folder + "P4"; raises EInstallerInstallError unless "P4" is a plain file name.
  static UString AddonFileName(const TDRXStringList& info);

 private:
  // The "P1" (extensions not chosen), "P2" (viewer) and "P3" (shortcuts)
  // texts of the chosen options, each followed by a space.
  UString SwitchText(const TDRXStringList& info);
  bool Viewer();
  bool Extensions();
  bool Shortcuts();
};
