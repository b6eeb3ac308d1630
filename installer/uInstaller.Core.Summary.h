#pragma once
// The text of the ready page: sections, each a caption followed by its items
// indented by four spaces, separated by empty lines. A caption is written only
// before its first item, so an action with nothing to say leaves no heading.

#include <functional>

#include "DRX.Strings.h"

class TInstallerSummaryBuilder {
 public:
  // Looks up a language text by (section, key); the installer's resources by default.
  using TLangText = std::function<UString(UStringView section, UStringView key)>;

  TInstallerSummaryBuilder();
  explicit TInstallerSummaryBuilder(TLangText langText);

  void BeginSection(UStringView caption);
  void BeginSection(UStringView section, UStringView key);
  void AddItem(UStringView text);
  void AddItem(UStringView section, UStringView key);
  const UString& ToString() const { return text_; }

 private:
  TLangText langText_;
  UString text_;
  UString pendingCaption_;
};

// The version identifier as "major.hundredths": 4800 gives "4.80", 999 gives "0.99".
UString VersionIdToText(int versionId);
