#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "Ipk5.h"

const char16_t kPathDelimiter = u'\\';

std::filesystem::path NativePath(const UString& path) { return std::wstring(W(path)); }
UString PathToUString(const std::filesystem::path& path) { return FromW(path.wstring().c_str()); }

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // entries and UTF-8 lists go out unchanged
  std::vector<UString> args;
  for (int i = 1; i < argc; ++i) args.push_back(FromW(argv[i]));
  const int code = RunIpk5(args);
  return std::fflush(stdout) == 0 ? code : ieError;
}
