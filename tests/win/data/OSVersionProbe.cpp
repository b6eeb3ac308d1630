// Writes the system version the library sees, "major.minor.build", into the
// file named by its argument: the tests run it under different reported versions.
#include <fstream>
#include <string>

#include "DRX.Utils.Shell.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const TDRXOSVersion version = OSVersion();
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << version.Major << '.' << version.Minor << '.' << version.Build;
  return out ? 0 : 1;
}
