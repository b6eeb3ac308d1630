// OvixSetup.exe: the installer, updater and (as Uninstall.exe) the uninstaller.
#include <windows.h>

#include "uInstaller.Product.Ovix.h"
#include "uInstaller.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  UseOvixProduct();
  return RunSetup();
}
