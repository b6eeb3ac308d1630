#include "DRX.MUI.h"

#include <algorithm>

#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"

namespace {

constexpr char16_t kFileSection[] = u"File";
constexpr char16_t kEnglishFile[] = u"English.lng";
constexpr char16_t kRussianFile[] = u"Russian.lng";

UString& LangsFolderValue() {
  static UString folder = ExtractFilePath(PlatformProgramFileName()) + u"Langs" + PathDelim;
  return folder;
}

TDRXLocalizationClass& LangFileClass() {
  static TDRXLocalizationClass localizationClass = [] { return std::make_unique<TDRXLocalization>(); };
  return localizationClass;
}

}  // namespace

bool LangGetInfo(const TDRXIniFile& lang, TDRXLocalizationInfo& info, IDRXLangIcon* icon) {
  info.Author = lang.ReadString(kFileSection, u"Author", u"");
  info.LangId = lang.ReadInteger(kFileSection, u"LangId", 0);
  info.Name = lang.ReadString(kFileSection, u"Name", u"");
  info.VersionId = lang.ReadInteger(kFileSection, u"VersionId", 0);
  if (icon && !lang.ReadObject(kFileSection, u"Icon", [icon](TStream& stream) { icon->LoadFromStream(stream); }))
    icon->Clear();
  return true;
}

// --- TDRXLocalization

TDRXLocalization::TDRXLocalization(const UString& fileName) {
  if (!fileName.empty()) LoadFromFile(fileName);
}

void TDRXLocalization::LoadFromFile(const UString& fileName) { TDRXIniFile::LoadFromFile(LangsFolder() + fileName); }

void TDRXLocalization::LoadFromStream(TStream& stream) {
  TDRXIniFile::LoadFromStream(stream);
  ApplyLoadedLanguage();
}

void TDRXLocalization::LoadMissingFile() {
  TDRXIniFile::LoadMissingFile();
  ApplyLoadedLanguage();
}

void TDRXLocalization::ApplyLoadedLanguage() {
  SetDRXCodePage(static_cast<uint32_t>(std::max(ReadInteger(kFileSection, u"ANSICP", 0), 0)));
  LangChanged();
}

bool TDRXLocalization::ReadString(UStringView section, UStringView key, UString& value) const {
  if (!TDRXIniFile::ReadString(section, key, value)) return false;
  value = StringReplaceAll(value, u"\\n", u"\r\n");
  return true;
}

void TDRXLocalization::LangChanged() {
  CompleteFromEnglish();
  NotifyListeners();
}

void TDRXLocalization::CompleteFromEnglish() {
  const UString name = ExtractFileName(FileName());
  if (SameText(name, kEnglishFile) || SameText(name, kRussianFile)) return;
  Merge(LangsFolder() + kEnglishFile, false);
}

void TDRXLocalization::NotifyListeners() {
  ForEachListener([](IDRXLocalizationListener& listener) {
    if (auto* second = dynamic_cast<IDRXLocalizationListener2*>(&listener)) second->LangInitialize();
  });
  ForEachListener([](IDRXLocalizationListener& listener) {
    if (auto* third = dynamic_cast<IDRXLocalizationListener3*>(&listener)) third->LangApply();
  });
  BroadcastLangChangedToForms();
  ForEachListener([](IDRXLocalizationListener& listener) { listener.LangChanged(); });
}

void TDRXLocalization::ForEachListener(const std::function<void(IDRXLocalizationListener&)>& call) {
  std::lock_guard lock(listenersLock_);
  struct TWalk {
    TDRXLocalization& self;
    explicit TWalk(TDRXLocalization& owner) : self(owner) { ++self.walkDepth_; }
    ~TWalk() {
      if (--self.walkDepth_ == 0) std::erase(self.listeners_, nullptr);
    }
  } walk(*this);
  // By index: a listener may add or remove listeners meanwhile.
  for (size_t i = 0; i < listeners_.size(); ++i)
    if (IDRXLocalizationListener* listener = listeners_[i]) call(*listener);
}

void TDRXLocalization::AddListener(IDRXLocalizationListener* listener) {
  std::lock_guard lock(listenersLock_);
  if (listener && std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
    listeners_.push_back(listener);
}

void TDRXLocalization::RemoveListener(IDRXLocalizationListener* listener) {
  std::lock_guard lock(listenersLock_);
  const auto found = std::find(listeners_.begin(), listeners_.end(), listener);
  if (found == listeners_.end()) return;
  if (walkDepth_ > 0) {
    *found = nullptr;
  } else {
    listeners_.erase(found);
  }
}

// --- Process-wide state

const UString& LangsFolder() { return LangsFolderValue(); }

void SetLangsFolder(const UString& folder) {
  UString& value = LangsFolderValue();
  value = folder;
  if (!value.empty() && value.back() != PathDelim && value.back() != u'\\' && value.back() != u'/')
    value.push_back(PathDelim);
}

void SetLangFileClass(TDRXLocalizationClass localizationClass) { LangFileClass() = std::move(localizationClass); }

TDRXLocalization& LangFile() {
  static const std::unique_ptr<TDRXLocalization> instance = [] {
    std::unique_ptr<TDRXLocalization> created = LangFileClass() ? LangFileClass()() : nullptr;
    return created ? std::move(created) : std::make_unique<TDRXLocalization>();
  }();
  return *instance;
}

UString LangGet(UStringView section, UStringView key, UStringView defaultValue) {
  return LangFile().ReadString(section, key, defaultValue);
}

void LangApplyToItems(UStringView section, TDRXStringList& items) {
  const TDRXUpdateScope<TDRXStringList> update(items);
  const TDRXLocalization& lang = LangFile();
  for (int i = 0; i < items.Count(); ++i)
    items.Put(i, lang.ReadString(section, u"i[" + IntToStr(i) + u"]", items.Strings(i)));
}
