// INI loader on arbitrary bytes: load, read, write, save. Beyond memory safety
// it checks that a loaded document reads back unchanged from its own saved form.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "DRX.FileFormats.INI.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void ExerciseReads(const TDRXIniFile& ini) {
  for (int i = 0; i < ini.SectionCount() && i < 8; ++i) {
    const UString name = ini.SectionNames(i);
    TDRXStringList keys;
    ini.ReadKeys(name, keys);
    Check(ini.SectionExists(name));
    for (int k = 0; k < keys.Count() && k < 8; ++k) {
      UString value;
      Check(ini.ReadString(name, keys.Strings(k), value));
      ini.ReadInteger(name, keys.Strings(k), 0);
      ini.ReadBool(name, keys.Strings(k), true);
      TMemoryStream binary;
      ini.ReadStream(name, keys.Strings(k), binary);
      ini.ReadObject(name, keys.Strings(k), [](TStream& stream) { ReadRemainingBytes(stream); });
    }
    ini.ReadSectionText(name);
  }
}

void ExerciseWrites(TDRXIniFile& ini) {
  const UString first = ini.SectionNames(0);
  TDRXStringList keys;
  ini.ReadKeys(first, keys);
  const UString key = keys.Count() > 0 ? keys.Strings(0) : UString(u"k");
  ini.WriteString(first, key, ini.ReadString(first, key, u"") + u"x");
  ini.WriteInteger(first, u"n", ini.ReadInteger(first, key, -1));
  TMemoryStream binary(Utf16ToUtf8(key));
  ini.WriteStream(u"Bin", key, binary);
  ini.WriteString(first, key, u"d", u"d");
  ini.DeleteKey(first, key);
  ini.WriteSectionText(u"Copy", ini.ReadSectionText(first));
  TDRXIniFile other;
  other.Assign(ini);
  Check(other.Equals(ini));
  other.Merge(ini, true);
  ini.Merge(other, false);
  ini.DeleteSection(ini.SectionNames(ini.SectionCount() - 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream input(std::string_view(reinterpret_cast<const char*>(data), size));
  TDRXIniFile ini;
  ini.LoadFromStream(input);
  ExerciseReads(ini);

  TMemoryStream saved;
  ini.SaveToStream(saved);
  saved.SetPosition(0);
  TDRXIniFile reloaded;
  reloaded.LoadFromStream(saved);
  Check(reloaded.Equals(ini));

  ExerciseWrites(ini);
  TMemoryStream again;
  ini.SaveToStream(again, ini.Encoding());
  return 0;
}

extern "C" void OvixFuzzSeeds(std::vector<std::string>& seeds) {
  using namespace std::string_literals;
  seeds.push_back("[Setup]\r\nName=Ovix\r\nVersion=$3E8\r\nIcon=00FF10\r\n\r\n[Files]\r\nplain line\r\nk = v\r\n");
  seeds.push_back("\xEF\xBB\xBF[A]\nx=1\r[a]\ny=\xD0\x96\xE2\x80\xA8z=0x7FFFFFFF\n;c=1\n[\n[]\n=e");
  seeds.push_back("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\x16\x04\r\0\n\0"s);
  seeds.push_back("\xFE\xFF\0[\0S\0]\0\n\0k\0=\0-\0$\0F"s);
  seeds.push_back("\xFF\xFE");
}
