// The package reader on arbitrary input. Input that starts with "IPK5" is read as
// a package; anything else is taken as a decoded stream and wrapped into a package
// with a correct header first, so that the file table parser meets the input
// itself instead of the RC4/LZMA layer (which turns nearly every change into a
// checksum mismatch). Failures must be the reader's documented errors.
#include <cstring>
#include <string>
#include <vector>

#include "uInstaller.Core.Package.h"

namespace {

constexpr int kWrapLevel = 0;

std::string Wrap(const uint8_t* data, size_t size) {
  TMemoryStream decoded(std::string_view(reinterpret_cast<const char*>(data), size)), package;
  EncodeSetupPackage(decoded, package, SetupPackageKey(PackageKey), kWrapLevel);
  return std::string(package.Bytes());
}

void ExtractEverything(const TSetupPackageReader& reader) {
  const TSetupPackageFileTable& table = reader.FileTable();
  for (int i = 0; i < table.Count(); ++i) {
    const TSetupPackageFileTableItem& item = table.Items(i);
    if (reader.ExtractItem(i)->Size() != item.Size) __builtin_trap();
    std::unique_ptr<TMemoryStream> stream;
    if (!reader.Extract(item.Name, stream)) __builtin_trap();
  }
}

std::string Build(const std::vector<std::pair<UString, std::string>>& entries) {
  TSetupPackageBuilder builder(PackageKey);
  for (const auto& [name, content] : entries) {
    TMemoryStream stream(content);
    builder.Add(stream, name);
  }
  TMemoryStream package;
  builder.Commit(package, kWrapLevel);
  return std::string(package.Bytes());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const bool isPackage = size >= 4 && std::memcmp(data, "IPK5", 4) == 0;
  const std::string package = isPackage ? std::string(reinterpret_cast<const char*>(data), size) : Wrap(data, size);
  try {
    TMemoryStream stream(package);
    const TSetupPackageReader reader(stream);
    ExtractEverything(reader);
  } catch (const ESetupPackageReadError&) {
  } catch (const EReadError&) {          // shorter than the header
  } catch (const EInvalidOperation&) {   // "LZMA Error (%d)" for unusable properties
  }
  return 0;
}

// Real packages, and their decoded streams (which the wrapping path starts from).
extern "C" void OvixFuzzSeeds(std::vector<std::string>& seeds) {
  const std::vector<std::vector<std::pair<UString, std::string>>> packages = {
      {},
      {{u"Install.xml", "<Install/>"}, {u"empty.txt", ""}, {u"", "nameless"}},
      {{u"Lang\\Русский.lng", "[Common]\r\nA1=x\r\n"}, {u"lang\\русский.LNG", "second"}, {u"a", std::string(300, 'a')}},
  };
  for (const auto& entries : packages) {
    const std::string package = Build(entries);
    seeds.push_back(package);
    TMemoryStream stream(package);
    seeds.push_back(std::string(DecodeSetupPackage(stream)->Bytes()));
  }
}
