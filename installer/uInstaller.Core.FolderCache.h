#pragma once
// What a pass over the thousands of files of an installation learns about the
// few hundred folders they share, each folder looked at once: whether a folder
// on the way below the base is a link, whether the folder exists, and its
// final form. What is learnt holds for the pass: the folders are taken not to
// change under it.

#include <optional>
#include <unordered_map>

#include "DRX.Strings.h"

class TInstallerFolderCache {
 public:
  explicit TInstallerFolderCache(UString base);

  // FirstFolderLinkBelow(base, folder) is empty: no folder from below the base
  // down to the folder itself is a link (also true for a folder not below it).
  bool IsFreeOfLinks(const UString& folder);
  bool Exists(const UString& folder);
  // GetFinalPathName of the folder, with a trailing backslash; empty when it
  // cannot be formed.
  const UString& FinalPath(const UString& folder);

 private:
  struct TFacts {
    std::optional<bool> FreeOfLinks;
    std::optional<bool> Exists;
    std::optional<UString> FinalPath;
  };
  TFacts& FactsOf(const UString& folder);

  UString base_;  // with a trailing backslash
  std::unordered_map<UString, TFacts> facts_;  // by the folder's upper-case form
};
