#include "uInstaller.Core.Summary.h"

#include "uInstaller.Core.Installer.h"

TInstallerSummaryBuilder::TInstallerSummaryBuilder()
    : TInstallerSummaryBuilder([](UStringView section, UStringView key) {
        return Installer->Resources().GetLangString(section, key);
      }) {}
