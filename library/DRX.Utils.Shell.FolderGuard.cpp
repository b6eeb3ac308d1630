#include "DRX.Utils.Shell.FolderGuard.h"

#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"

namespace {

// `inner` lies below `outer` (both with trailing backslashes), not `outer` itself.
bool LiesBelow(UStringView inner, UStringView outer) {
  return inner.size() > outer.size() && StartsText(inner, outer);
}

}  // namespace

bool IsRootFolderName(UStringView Folder) {
  const UString folder = ExcludeTrailingBackslash(Folder);
  if (folder.size() == 2 && folder[1] == u':') return true;
  if (!StartsWith(folder, u"\\\\")) return false;
  // "\\server\share": one backslash after the server name, none after the share.
  const size_t shareStart = folder.find(u'\\', 2);
  return shareStart != UString::npos && shareStart > 2 && shareStart + 1 < folder.size() &&
         folder.find(u'\\', shareStart + 1) == UString::npos;
}

TDRXFolderCheck MatchProtectedFolders(const UString& Folder, const std::vector<TDRXProtectedFolder>& Protected) {
  const UString folder = IncludeTrailingBackslash(Folder);
  if (IsRootFolderName(folder)) return {fcRoot, folder, folder};
  for (const TDRXProtectedFolder& guarded : Protected) {
    if (SameText(folder, IncludeTrailingBackslash(guarded.Path))) return {fcSame, folder, guarded.Path};
  }
  for (const TDRXProtectedFolder& guarded : Protected) {
    if (guarded.Scope == fsTree && LiesBelow(folder, IncludeTrailingBackslash(guarded.Path)))
      return {fcInside, folder, guarded.Path};
  }
  for (const TDRXProtectedFolder& guarded : Protected) {
    if (LiesBelow(IncludeTrailingBackslash(guarded.Path), folder)) return {fcAbove, folder, guarded.Path};
  }
  return {fcNone, folder, {}};
}
