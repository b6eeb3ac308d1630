#include "uInstaller.Core.Package.h"

TSetupPackageReader::TSetupPackageReader(void* module, const UString& resourceName) {
  TResourceStream resource(module, resourceName);
  ReadPackage(resource);
}
