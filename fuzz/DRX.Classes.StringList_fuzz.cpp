// Text files from packages and install folders: loading never fails, the lines
// survive a save and reload unchanged, and both sorts finish.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "DRX.Classes.StringList.h"

extern "C" void OvixFuzzSeeds(std::vector<std::string>& seeds) {
  seeds.push_back("\xEF\xBB\xBF" "track10=a\r\ntrack2\n\xE2\x80\xA8\r\nx007\r");
  seeds.push_back(std::string("\xFF\xFE" "a\0=\0" "1\0\r\0\n\0" "2\0\x28\x20", 14));
  seeds.push_back("caf\xE9\n\nv1.10\nv1.9\nV1.9\n99999999999999999999999x\n");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream input(std::string_view(reinterpret_cast<const char*>(data), size));
  TDRXStringList list;
  list.LoadFromStream(input, TDRXEncoding::Utf8());
  list.RemoveDuplicates();

  TMemoryStream saved;
  list.SaveToStream(saved);
  saved.SetPosition(0);
  TDRXStringList reloaded;
  reloaded.LoadFromStream(saved);
  if (reloaded.Count() != list.Count()) std::abort();
  for (int i = 0; i < list.Count(); ++i)
    if (reloaded.Strings(i) != list.Strings(i)) std::abort();

  reloaded.SortLogical();
  list.Sort();
  if (reloaded.Count() != list.Count()) std::abort();
  return 0;
}
