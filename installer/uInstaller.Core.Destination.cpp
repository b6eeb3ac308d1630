#include "uInstaller.Core.Destination.h"

namespace {

constexpr size_t kMaxNameLength = 255;
constexpr UStringView kInvalidNameCharacters = u"\\/:*?\"<>|";

bool IsValidName(UStringView name) {
  if (name.empty() || name.size() > kMaxNameLength || name == u"." || name == u"..") return false;
  if (name.front() == u' ' || name.back() == u' ' || name.back() == u'.') return false;
  for (const char16_t c : name) {
    if (c < 0x20 || kInvalidNameCharacters.find(c) != UStringView::npos) return false;
  }
  return true;
}

// Where the names begin: after "C:\" or after "\\server\share\"; npos without such a root.
size_t NamesStart(UStringView path) {
  if (path.size() >= 3 && path[1] == u':' && path[2] == u'\\') {
    const char16_t drive = static_cast<char16_t>(path[0] | 0x20);
    return drive >= u'a' && drive <= u'z' ? 3 : UStringView::npos;
  }
  if (!StartsWith(path, u"\\\\")) return UStringView::npos;
  const size_t server = path.find(u'\\', 2);
  if (server == UStringView::npos || !IsValidName(path.substr(2, server - 2))) return UStringView::npos;
  const size_t share = path.find(u'\\', server + 1);
  if (share == UStringView::npos || !IsValidName(path.substr(server + 1, share - server - 1)))
    return UStringView::npos;
  return share + 1;
}

}  // namespace

bool IsValidDestinationName(UStringView Path) {
  const size_t start = NamesStart(Path);
  if (start == UStringView::npos) return false;
  UStringView names = Path.substr(start);
  if (!names.empty() && names.back() == u'\\') names.remove_suffix(1);
  if (names.empty()) return true;  // a root: valid as a name, refused as a place by the guard
  for (size_t begin = 0; begin <= names.size();) {
    size_t end = names.find(u'\\', begin);
    if (end == UStringView::npos) end = names.size();
    if (!IsValidName(names.substr(begin, end - begin))) return false;
    begin = end + 1;
  }
  return true;
}
