// Command lines from anyone who starts the program: parsing never fails, and
// every value it yields is trimmed and not empty.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "DRX.Encoding.h"
#include "DRX.Utils.CommandLine.h"

extern "C" void OvixFuzzSeeds(std::vector<std::string>& seeds) {
  for (const UStringView text : {u"\"C:\\My Files\\setup.exe\" /AUTO=\"C:\\Program Files\\Ovix\\\" /SILENT",
                                 u"setup.exe /AUTO=C:\\Program Files\\Ovix -RUN /REG=L1;D1",
                                 u"'a b' foo -AUTO /PATH=\"X:\\missing /=x / y \\\\server\\share\r\n/SKIPUAC=12"})
    seeds.push_back(EncodeText(TDRXEncoding::Utf16LE(), text));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const UString commandLine = DecodeText(TDRXEncoding::Utf16LE(), {reinterpret_cast<const char*>(data), size});
  const UString params = GetCommandLineParams(commandLine);
  if (params.size() > commandLine.size() || params != Trim(params)) std::abort();
  for (const auto& command : TDRXCommandLineProcessor::Parse(params)) {
    for (int i = 0; i < command->Count(); ++i)
      if (command->Strings(i).empty() || command->Strings(i) != Trim(command->Strings(i))) std::abort();
    UString value;
    if (!CommandLineGetSwitchValue(params, command->Name, value)) std::abort();
  }
  return 0;
}
