#pragma once
// The installer's exception classes; the program entry shows their messages.

#include "DRX.Exceptions.h"

class EInstallerGeneralError : public Exception { using Exception::Exception; };
class EInstallerBackupError : public EInstallerGeneralError { using EInstallerGeneralError::EInstallerGeneralError; };
class EInstallerInstallError : public EInstallerGeneralError { using EInstallerGeneralError::EInstallerGeneralError; };
class EInstallerUpdateError : public EInstallerInstallError { using EInstallerInstallError::EInstallerInstallError; };
class EInstallerMysteryError : public EInstallerGeneralError { using EInstallerGeneralError::EInstallerGeneralError; };

class EInstallerNoAdminRightsError : public EInstallerGeneralError {
 public:
  EInstallerNoAdminRightsError()
      : EInstallerGeneralError(u"Administrator rights are required to process this operation.") {}
};
