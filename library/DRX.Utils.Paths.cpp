#include "DRX.Utils.Paths.h"

#include "DRX.Platform.h"

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

// The forbidden characters go first, so that the trimming sees the name that
// remains ("a.*" loses its dot, "<  a" its spaces). The trailing run never
// reaches the first character, so "..." keeps one dot while " .." and "   "
// vanish.
UString CleanPathPart(UStringView part) {
  UString kept;
  for (const char16_t c : part) {
    if (!IsDroppedFromName(c)) kept.push_back(c == u'"' ? u'\'' : c);
  }
  size_t start = 0;
  while (start < kept.size() && kept[start] == u' ') ++start;
  size_t end = kept.size();
  while (end > 1 && (kept[end - 1] == u' ' || kept[end - 1] == u'.')) --end;
  UString clean = start < end ? kept.substr(start, end - start) : UString();
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

// ---- Containment ----

namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// A name that every Windows reads the same way: not made only of dots, not
// ending in a dot or a space (trimmed by some, kept by others), no colon
// (a stream, or a drive in the middle of a path).
bool IsPlainName(UStringView name) {
  return !name.empty() && name.back() != u'.' && name.back() != u' ' && name.find(u':') == UStringView::npos;
}

// Appends the names of `text`; false at the first name that is not plain.
bool AppendNames(UStringView text, std::vector<UString>& names) {
  for (size_t start = 0; start < text.size();) {
    size_t end = start;
    while (end < text.size() && !IsSeparator(text[end])) ++end;
    const UStringView name = text.substr(start, end - start);
    if (!name.empty()) {
      if (!IsPlainName(name)) return false;
      names.emplace_back(name);
    }
    start = end + 1;
  }
  return true;
}

// Where "\\server\share" ends: at the separator after the share's name, or at the end.
size_t ShareRootEnd(UStringView path) {
  int separators = 0;
  for (size_t i = 2; i < path.size(); ++i) {
    if (IsSeparator(path[i]) && ++separators == 2) return i;
  }
  return path.size();
}

bool IsDriveLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

}  // namespace

bool SplitFullPath(UStringView path, TDRXPathNames& parts) {
  parts = {};
  if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == u':' && IsSeparator(path[2])) {
    parts.Root = UString(path.substr(0, 2));
    return AppendNames(path.substr(3), parts.Names);
  }
  // "\\?\" and "\\.\" reach past the path rules that the names are judged by.
  if (path.size() < 3 || !IsSeparator(path[0]) || !IsSeparator(path[1]) || path[2] == u'?' || path[2] == u'.')
    return false;
  const size_t rootEnd = ShareRootEnd(path);
  std::vector<UString> share;
  if (!AppendNames(path.substr(2, rootEnd - 2), share) || share.size() != 2) return false;
  parts.Root = u"\\\\" + share[0] + u"\\" + share[1];
  return AppendNames(path.substr(rootEnd), parts.Names);
}

bool NamesBelowFolder(UStringView path, UStringView folder, std::vector<UString>& names) {
  names.clear();
  TDRXPathNames inner, outer;
  if (!SplitFullPath(path, inner) || !SplitFullPath(folder, outer) || !SameText(inner.Root, outer.Root) ||
      inner.Names.size() <= outer.Names.size())
    return false;
  for (size_t i = 0; i < outer.Names.size(); ++i) {
    if (!SameText(inner.Names[i], outer.Names[i])) return false;
  }
  names.assign(inner.Names.begin() + static_cast<std::ptrdiff_t>(outer.Names.size()), inner.Names.end());
  return true;
}

bool IsPathInsideFolder(UStringView path, UStringView folder) {
  std::vector<UString> names;
  return NamesBelowFolder(path, folder, names);
}

bool IsSamePath(UStringView a, UStringView b) {
  TDRXPathNames first, second;
  if (!SplitFullPath(a, first) || !SplitFullPath(b, second) || !SameText(first.Root, second.Root) ||
      first.Names.size() != second.Names.size())
    return false;
  for (size_t i = 0; i < first.Names.size(); ++i) {
    if (!SameText(first.Names[i], second.Names[i])) return false;
  }
  return true;
}

UString JoinPathNames(const TDRXPathNames& parts) {
  UString path = parts.Root;
  for (const UString& name : parts.Names) path += u'\\' + name;
  if (parts.Names.empty()) path += u'\\';
  return path;
}

UString RebuildFolderPath(UStringView folder) {
  TDRXPathNames parts;
  return SplitFullPath(folder, parts) ? IncludeTrailingBackslash(JoinPathNames(parts)) : UString();
}

UString RebuildPathInsideFolder(UStringView path, UStringView folder) {
  std::vector<UString> names;
  TDRXPathNames parts;
  if (!NamesBelowFolder(path, folder, names) || !SplitFullPath(folder, parts)) return {};
  parts.Names.insert(parts.Names.end(), names.begin(), names.end());
  return JoinPathNames(parts);
}
