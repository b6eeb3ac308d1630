#include <cstdio>

#include "Ipk5.h"

const char16_t kPathDelimiter = u'/';

std::filesystem::path NativePath(const UString& path) { return Utf16ToUtf8(path); }
UString PathToUString(const std::filesystem::path& path) { return Utf8ToUtf16(path.string()); }

int main(int argc, char** argv) {
  std::vector<UString> args;
  for (int i = 1; i < argc; ++i) args.push_back(Utf8ToUtf16(argv[i]));
  const int code = RunIpk5(args);
  return std::fflush(stdout) == 0 ? code : ieError;
}
