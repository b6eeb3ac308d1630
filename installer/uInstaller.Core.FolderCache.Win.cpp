#include "uInstaller.Core.FolderCache.h"

#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"

TInstallerFolderCache::TInstallerFolderCache(UString base) : base_(IncludeTrailingBackslash(base)) {}

TInstallerFolderCache::TFacts& TInstallerFolderCache::FactsOf(const UString& folder) {
  return facts_[PlatformUpperCase(IncludeTrailingBackslash(folder))];
}

bool TInstallerFolderCache::IsFreeOfLinks(const UString& folder) {
  const UString path = IncludeTrailingBackslash(folder);
  if (base_.size() <= 1 || path.size() <= base_.size() || !StartsText(path, base_)) return true;
  TFacts& facts = FactsOf(path);
  // A folder is free when it is no link itself and its parent is free.
  if (!facts.FreeOfLinks) {
    const UString parent = ExtractFilePath(ExcludeTrailingBackslash(path));
    facts.FreeOfLinks = !IsFolderLink(path) && IsFreeOfLinks(parent);
  }
  return *facts.FreeOfLinks;
}

bool TInstallerFolderCache::Exists(const UString& folder) {
  TFacts& facts = FactsOf(folder);
  if (!facts.Exists) facts.Exists = DirectoryExists(folder);
  return *facts.Exists;
}

const UString& TInstallerFolderCache::FinalPath(const UString& folder) {
  TFacts& facts = FactsOf(folder);
  if (!facts.FinalPath) {
    const UString final = GetFinalPathName(IncludeTrailingBackslash(folder));
    facts.FinalPath = final.empty() ? final : IncludeTrailingBackslash(final);
  }
  return *facts.FinalPath;
}
