#include "DRX.Utils.Paths.h"

namespace {
constexpr char16_t kDelimiters[] = u"\\/:";

size_t NameStart(UStringView path) {
  const size_t last = path.find_last_of(kDelimiters);
  return last == UStringView::npos ? 0 : last + 1;
}

size_t ExtensionStart(UStringView path) {
  const size_t dot = path.rfind(u'.');
  return dot == UStringView::npos || dot < NameStart(path) ? path.size() : dot;
}
}  // namespace

UString IncludeTrailingBackslash(UStringView path) {
  UString result(path);
  if (result.empty() || result.back() != u'\\') result.push_back(u'\\');
  return result;
}

UString ExcludeTrailingBackslash(UStringView path) {
  UString result(path);
  if (!result.empty() && result.back() == u'\\') result.pop_back();
  return result;
}

UString ExtractFilePath(UStringView path) { return UString(path.substr(0, NameStart(path))); }

UString ExtractFileName(UStringView path) { return UString(path.substr(NameStart(path))); }

UString ExtractFileExt(UStringView path) { return UString(path.substr(ExtensionStart(path))); }

UString ChangeFileExt(UStringView path, UStringView extension) {
  return UString(path.substr(0, ExtensionStart(path))) + UString(extension);
}

bool IsFullPath(UStringView path) {
  return path.starts_with(u"\\\\") || (path.size() >= 3 && path[1] == u':' && path[2] == u'\\');
}

namespace {

constexpr size_t kMaxPartLength = 255;

bool IsDroppedFromName(char16_t c) {
  return c == u'\\' || c == u'<' || c == u'>' || c == u'*' || c == u':' || c == u'?' || c == u'|' || c == u'/';
}

// Leading spaces and trailing spaces and dots are found on the part as given;
// the trailing run never reaches the first character, so "..." keeps one dot
// while " .." and "   " vanish.
UString CleanPathPart(UStringView part) {
  size_t start = 0;
  while (start < part.size() && part[start] == u' ') ++start;
  size_t end = part.size();
  while (end > 1 && (part[end - 1] == u' ' || part[end - 1] == u'.')) --end;
  UString clean;
  for (size_t i = start; i < end; ++i) {
    const char16_t c = part[i] == u'"' ? u'\'' : part[i];
    if (!IsDroppedFromName(c)) clean.push_back(c);
  }
  if (clean.size() > kMaxPartLength) clean.resize(kMaxPartLength);
  return clean;
}

UString CleanRemainder(UStringView remainder) {
  UString result;
  for (size_t start = 0; start <= remainder.size();) {
    size_t end = remainder.find(u'\\', start);
    if (end == UStringView::npos) end = remainder.size();
    const UString part = CleanPathPart(remainder.substr(start, end - start));
    if (!part.empty()) result += part + u'\\';
    start = end + 1;
  }
  if (!result.empty() && (remainder.empty() || remainder.back() != u'\\')) result.pop_back();
  return result;
}

size_t RootLength(UStringView path) {
  if (path.size() >= 2 && path[1] == u':') return 2;
  if (StartsWith(path, u"\\\\")) {
    const size_t slash = path.find(u'\\', 2);
    return slash == UStringView::npos ? path.size() : slash;
  }
  return 0;
}

}  // namespace

UString ValidatePath(UStringView path) {
  const size_t root = RootLength(path);
  if (root == 0) return CleanRemainder(path);
  return UString(path.substr(0, root)) + u'\\' + CleanRemainder(path.substr(root));
}
