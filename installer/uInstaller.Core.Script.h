#pragma once
// The installation script "Install.xml": the product's identity settings and
// the groups of files to install (Components), to start afterwards (Actions),
// to link from the desktop and Start menu (Shortcuts) and to show as license
// (License), each file optionally limited to one language family.

#include <memory>
#include <vector>

#include "DRX.Classes.StringList.h"
#include "DRX.Classes.Streams.h"
#include "DRX.Strings.h"

class TDRXXMLNode;

class TInstallerScriptFile {
 public:
  UString Name;        // target path (with variables), shortcut path or license entry
  UString Source;      // package entry, shortcut target or caption key
  UString LangFamily;  // empty: every family

  // Source, or the file-name part of Name when Source is empty.
  UString GetSourceName() const;
  bool MatchesFamily(UStringView family) const;
};

class TInstallerScriptGroup {
 public:
  virtual ~TInstallerScriptGroup() = default;
  // Each child through LoadItem; a node without children but with text is one
  // file named by that text.
  virtual void Load(const TDRXXMLNode& node);
  // A "File" child becomes a file; other children are skipped.
  virtual void LoadItem(const TDRXXMLNode& node);

  TInstallerScriptFile& AddFile();
  int Count() const { return static_cast<int>(files_.size()); }
  TInstallerScriptFile& Items(int index) const { return *files_[index]; }
  // The first file, in document order, that matches the family.
  bool FindByFamily(UStringView family, TInstallerScriptFile*& file) const;

 private:
  std::vector<std::unique_ptr<TInstallerScriptFile>> files_;
};

class TInstallerScript {
 public:
  TInstallerScriptGroup Actions;
  TInstallerScriptGroup Components;
  TInstallerScriptGroup License;
  TDRXStringList Settings;  // name=value
  TInstallerScriptGroup Shortcuts;

  // Reads the script in any form the XML reader accepts; missing parts stay empty.
  void LoadFromStream(TStream& stream);
  // The value of the last setting of that name (ignoring case); empty when absent.
  UString GetSetting(UStringView name) const;
};
