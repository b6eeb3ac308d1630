// The legacy "BXML" reader on any bytes after the magic, then both writers on what it built.
#include "XMLFuzzSupport.h"

namespace {

std::string Int32(int32_t value) {
  std::string out;
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(static_cast<uint32_t>(value) >> (8 * i)));
  return out;
}

std::string Name(std::string_view name) { return std::string{static_cast<char>(name.size()), '\0'} + std::string(name); }

std::string Units(std::u16string_view text) {
  std::string out;
  for (const char16_t unit : text) out += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  return out;
}

}  // namespace

extern "C" void OvixFuzzSeeds(std::vector<std::string>& seeds) {
  const std::string file = Name("File") + '\x05' + Int32(3) + Units(u" x ") + Int32(1) + Name("Name") + '\x05' + '\0' + Units(u"a.exe");
  seeds.push_back(Int32(1) + Name("Install") + '\x07' + Int32(4) + Units(u"caf\u00E9") + Int32(1) + Name("V") + '\x01' + '\0' +
                  Units(u"2") + Int32(2) + file + Name("Empty") + '\x00');
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return xmlfuzz::FuzzBinaryReader<TDRXLegacyBinaryXMLParser>(data, size);
}
