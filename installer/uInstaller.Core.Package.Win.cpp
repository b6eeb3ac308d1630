#include "uInstaller.Core.Package.h"

#include "uInstaller.Core.PackageDecoding.h"

TSetupPackageReader::TSetupPackageReader(void* module, const UString& resourceName) {
  TResourceStream resource(module, resourceName);
  ReadPackage(resource);
}
