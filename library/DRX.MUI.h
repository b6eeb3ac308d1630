#pragma once
// Language files: one INI document per language, named after it with the
// extension ".lng". Section "File" describes the language ("Name", "Author",
// "LangId", "VersionId", "Icon", "ANSICP", "Family"); every other section holds
// the texts of one form or group. The two characters backslash and n in a text
// stand for CR LF. List items are keyed "i[0]", "i[1]" and so on.
//
// TDRXLocalization is the library's process-wide language document (LangFile):
// it reads files from the languages folder, completes a translation from
// "English.lng" and tells its listeners when the language changed. Used from
// the interface thread only.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "DRX.Classes.StringList.h"
#include "DRX.FileFormats.INI.h"

// What the language list shows of a language file.
struct TDRXLocalizationInfo {
  UString Author;
  int32_t LangId = 0;
  UString Name;
  int32_t VersionId = 0;
};

// An image that a language file carries under "Icon" (the language list's icon).
class IDRXLangIcon {
 public:
  virtual ~IDRXLangIcon() = default;
  // May throw on data that is no loadable image.
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void Clear() = 0;
};

// Fills the info from section "File"; with an icon, loads "Icon" into it or,
// when that fails, clears it. Always true.
bool LangGetInfo(const TDRXIniFile& lang, TDRXLocalizationInfo& info, IDRXLangIcon* icon = nullptr);

// Listeners of the language: after every load, first every listener of the
// second kind gets LangInitialize, then every one of the third kind LangApply,
// then the program's forms get WM_DRX_LANGCHANGED, last every listener gets
// LangChanged.
class IDRXLocalizationListener {
 public:
  virtual ~IDRXLocalizationListener() = default;
  virtual void LangChanged() = 0;
};

class IDRXLocalizationListener2 : public IDRXLocalizationListener {
 public:
  virtual void LangInitialize() = 0;
};

class IDRXLocalizationListener3 : public IDRXLocalizationListener2 {
 public:
  virtual void LangApply() = 0;
};

// Sent (WM_USER + 101, no parameters) to the program's forms when the language changed.
constexpr uint32_t WM_DRX_LANGCHANGED = 0x465;

// Sends WM_DRX_LANGCHANGED synchronously to every top-level window of the
// process; does nothing where there are no windows (natively).
void BroadcastLangChangedToForms();

class TDRXLocalization : public TDRXIniFile {
 public:
  // Loads the file from the languages folder when a name is given.
  explicit TDRXLocalization(const UString& fileName = {});

  // Loads the named file of the languages folder; a missing one loads empty
  // and is still completed from English.
  void LoadFromFile(const UString& fileName) override;
  // The INI load, then the process-wide 8-bit code page from
  // ("File", "ANSICP"), then LangChanged.
  void LoadFromStream(TStream& stream) override;
  using TDRXIniFile::ReadString;
  // Backslash-n in a found value becomes CR LF.
  bool ReadString(UStringView section, UStringView key, UString& value) const override;

  // Unless the file is "English.lng" or "Russian.lng", adds what it lacks from
  // the languages folder's "English.lng"; then notifies the listeners.
  virtual void LangChanged();

  // Listeners are not owned; one may remove itself, or another, while notified.
  void AddListener(IDRXLocalizationListener* listener);
  void RemoveListener(IDRXLocalizationListener* listener);

 protected:
  void LoadMissingFile() override;

 private:
  void ApplyLoadedLanguage();
  void CompleteFromEnglish();
  void NotifyListeners();
  void ForEachListener(const std::function<void(IDRXLocalizationListener&)>& call);

  std::recursive_mutex listenersLock_;
  std::vector<IDRXLocalizationListener*> listeners_;  // null where removed during a walk
  int walkDepth_ = 0;
};

// The folder language files are read from: the program's folder followed by
// "Langs" (with a trailing path separator).
const UString& LangsFolder();
void SetLangsFolder(const UString& folder);

// Creates the process-wide localisation object; set it before the first LangFile call.
using TDRXLocalizationClass = std::function<std::unique_ptr<TDRXLocalization>()>;
void SetLangFileClass(TDRXLocalizationClass localizationClass);

// The process-wide localisation object, created empty on first use.
TDRXLocalization& LangFile();
UString LangGet(UStringView section, UStringView key, UStringView defaultValue = {});

// Replaces item i of the list with the text keyed "i[" i "]" in the section,
// where there is one, inside one update of the list.
void LangApplyToItems(UStringView section, TDRXStringList& items);
