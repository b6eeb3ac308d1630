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
