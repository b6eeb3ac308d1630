#include "DRX.FileFormats.INI.h"

#include <limits>

#include "DRX.Platform.h"

namespace {

constexpr char16_t kSeparator = u'=';
constexpr size_t kHashedLength = 64;
// Marks a cached hash, so that a hash of 0 is cached too.
constexpr uint64_t kHashCached = uint64_t(1) << 32;

using TIniUpdateScope = TDRXUpdateScope<TDRXIniFile>;

UStringView LineKey(UStringView line) {
  const size_t separator = line.find(kSeparator);
  return separator == UStringView::npos ? UStringView() : line.substr(0, separator);
}

UStringView LineValue(UStringView line) {
  const size_t separator = line.find(kSeparator);
  return separator == UStringView::npos ? line : line.substr(separator + 1);
}

// A header line names the text between its first and its last character.
UStringView HeaderName(UStringView line) { return line.size() > 2 ? line.substr(1, line.size() - 2) : UStringView(); }

int DigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// Skips a "$", "x" or "0x" prefix; true when there was one.
bool SkipHexPrefix(UStringView text, size_t& i) {
  if (i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
    ++i;
    return true;
  }
  if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    i += 2;
    return true;
  }
  return false;
}

std::string BytesToHex(std::string_view bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (const char byte : bytes) {
    hex.push_back(kDigits[static_cast<unsigned char>(byte) >> 4]);
    hex.push_back(kDigits[static_cast<unsigned char>(byte) & 0xF]);
  }
  return hex;
}

bool HexToBytes(UStringView hex, std::string& bytes) {
  if (hex.empty() || hex.size() % 2 != 0) return false;
  bytes.resize(hex.size() / 2);
  for (size_t i = 0; i < bytes.size(); ++i) {
    const int high = DigitValue(hex[2 * i]), low = DigitValue(hex[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    bytes[i] = static_cast<char>(high << 4 | low);
  }
  return true;
}

}  // namespace

uint32_t IniNameHash(UStringView name) {
  uint32_t hash = 0;
  for (const char16_t c : PlatformUpperCase(name.substr(0, kHashedLength))) {
    hash = (hash << 4) + c;
    const uint32_t high = hash & 0xF0000000;
    if (high != 0) hash ^= high >> 24;
    hash &= ~high;
  }
  return hash;
}

bool TryParseIniInteger(UStringView text, int32_t& value) {
  size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  const bool hex = SkipHexPrefix(text, i);
  if (i == text.size()) return false;
  const int base = hex ? 16 : 10;
  const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  uint64_t result = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i]);
    if (digit < 0 || digit >= base) return false;
    result = result * base + digit;
    if (result > limit) return false;
  }
  // Hexadecimal digits give a 32-bit pattern; a sign negates it in 32 bits.
  const uint32_t bits = static_cast<uint32_t>(result);
  value = static_cast<int32_t>(negative ? 0u - bits : bits);
  return true;
}

// --- TDRXIniFileSection

TDRXIniFileSection::TDRXIniFileSection(TDRXIniFile* owner, UStringView name) : owner_(owner), name_(name) {
  SetNameValueSeparator(kSeparator);
  SetIgnoreCase(true);
}

uint32_t TDRXIniFileSection::NameHash() const {
  if ((nameHash_ & kHashCached) == 0) nameHash_ = kHashCached | IniNameHash(name_);
  return static_cast<uint32_t>(nameHash_);
}

uint32_t TDRXIniFileSection::LineKeyHash(int index) {
  const auto cached = static_cast<uint64_t>(Data(index));
  if (cached & kHashCached) return static_cast<uint32_t>(cached);
  const uint32_t hash = IniNameHash(LineKey(Strings(index)));
  SetData(index, static_cast<int64_t>(kHashCached | hash));
  return hash;
}

UString TDRXIniFileSection::KeyOf(int index) const { return UString(LineKey(Strings(index))); }

int TDRXIniFileSection::IndexOfKey(UStringView key) {
  const uint32_t hash = IniNameHash(key);
  for (int i = 0; i < Count(); ++i)
    if (LineKeyHash(i) == hash && SameText(LineKey(Strings(i)), key)) return i;
  return -1;
}

int32_t TDRXIniFileSection::ReadInteger(UStringView key, int32_t defaultValue) {
  UString text;
  int32_t value;
  return ReadString(key, text) && TryParseIniInteger(text, value) ? value : defaultValue;
}

bool TDRXIniFileSection::ReadString(UStringView key, UString& value) {
  const int index = IndexOfKey(key);
  if (index < 0) return false;
  value = UString(LineValue(Strings(index)));
  return true;
}

void TDRXIniFileSection::WriteString(UStringView key, UStringView value) {
  UString line(key);
  line.push_back(kSeparator);
  line.append(value);
  int index = IndexOfKey(key);
  if (index >= 0) {
    Put(index, line);
  } else {
    index = Add(line);
  }
  LineKeyHash(index);
}

void TDRXIniFileSection::Insert(int index, UStringView text, int64_t, TDRXInterfaceRef intf) {
  TDRXStringList::Insert(index, text, 0, std::move(intf));
}

void TDRXIniFileSection::Put(int index, UStringView text) {
  SetData(index, 0);
  TDRXStringList::Put(index, text);
}

void TDRXIniFileSection::BeginUpdate() { ++updateCount_; }

void TDRXIniFileSection::EndUpdate() {
  if (updateCount_ == 0 || --updateCount_ > 0 || !changedInUpdate_) return;
  changedInUpdate_ = false;
  if (owner_) owner_->Changed();
}

void TDRXIniFileSection::Changed() {
  if (updateCount_ > 0) {
    changedInUpdate_ = true;
  } else if (owner_) {
    owner_->Changed();
  }
}

// --- TDRXIniFile: files and streams

TDRXIniFile::TDRXIniFile(const UString& fileName, bool autoSave) : autoSave_(autoSave) {
  if (!fileName.empty()) LoadFromFile(fileName);
}

TDRXIniFile::~TDRXIniFile() {
  if (autoSave_) UpdateFile();
}

void TDRXIniFile::LoadFromFile(const UString& fileName) {
  fileName_ = fileName;
  std::unique_ptr<TFileStream> file;
  try {
    file = std::make_unique<TFileStream>(fileName, fmOpenRead | fmShareDenyNone);
  } catch (const EStreamError&) {
  }
  if (file) {
    LoadFromStream(*file);
  } else {
    LoadMissingFile();
  }
  modified_ = false;
}

void TDRXIniFile::LoadMissingFile() { Clear(); }

void TDRXIniFile::LoadFromStream(TStream& stream) {
  TDRXEncoding detected;
  const UString text = DecodeTextDetectingEncoding(ReadRemainingBytes(stream), TDRXEncoding::Ansi(), detected);
  encoding_ = detected;
  LoadFromText(text);
}

void TDRXIniFile::LoadFromText(UStringView text) {
  TIniUpdateScope update(*this);
  Clear();
  TDRXIniFileSection* current = nullptr;
  ForEachLine(text, [&](UStringView line) {
    if (line.empty()) return;
    if (line.front() == u'[') {
      current = FindOrAddSection(HeaderName(line));
    } else if (current) {
      current->Add(line);
    }
  });
}

UString TDRXIniFile::SerializedText() const {
  UString text;
  for (const auto& section : sections_) {
    if (section->Count() == 0) continue;
    text.append(u"[").append(section->Name()).append(u"]\r\n");
    text.append(section->Text());
    text.append(u"\r\n");
  }
  return text;
}

void TDRXIniFile::SaveToStream(TStream& stream, const TDRXEncoding& encoding) const {
  const std::string bytes = EncodingPreamble(encoding) + EncodeText(encoding, SerializedText());
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

bool TDRXIniFile::SaveToFile(const UString& fileName, const TDRXEncoding& encoding) {
  PlatformResetFileAttributes(fileName);
  try {
    TFileStream file(fileName, fmCreate | fmShareDenyNone);
    SaveToStream(file, encoding);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

bool TDRXIniFile::UpdateFile() {
  if (fileName_.empty()) return false;
  if (!modified_) return true;
  if (!SaveToFile(fileName_, encoding_)) return false;
  modified_ = false;
  return true;
}

// --- The document as a whole

void TDRXIniFile::Clear() {
  lastSection_ = nullptr;
  sectionIndex_.clear();
  sections_.clear();
  Changed();
}

void TDRXIniFile::Assign(const TDRXIniFile& other) {
  if (&other != this) LoadFromText(other.SerializedText());
}

bool TDRXIniFile::Equals(const TDRXIniFile& other) const { return SerializedText() == other.SerializedText(); }

void TDRXIniFile::Merge(const TDRXIniFile& other, bool overwrite) {
  if (&other == this) return;
  TIniUpdateScope update(*this);
  for (const auto& source : other.sections_) {
    if (TDRXIniFileSection* target = FindSection(source->Name())) {
      CopyMissingKeys(*source, *target, overwrite);
    } else {
      WriteSectionText(source->Name(), source->Text());
    }
  }
}

void TDRXIniFile::CopyMissingKeys(TDRXIniFileSection& from, TDRXIniFileSection& to, bool overwrite) {
  for (int i = 0; i < from.Count(); ++i) {
    const UString key = from.KeyOf(i);
    if (key.empty() || (!overwrite && to.IndexOfKey(key) >= 0)) continue;
    UString value;
    from.ReadString(key, value);
    to.WriteString(key, value);
  }
}

void TDRXIniFile::Merge(const UString& fileName, bool overwrite) {
  const TDRXIniFile source(fileName);
  Merge(source, overwrite);
}

// --- Sections and keys

TDRXIniFileSection* TDRXIniFile::FindSection(UStringView section) const {
  if (lastSection_ && SameText(lastSection_->Name(), section)) return lastSection_;
  const auto alike = sectionIndex_.find(IniNameHash(section));
  if (alike == sectionIndex_.end()) return nullptr;
  for (TDRXIniFileSection* candidate : alike->second) {
    if (SameText(candidate->Name(), section)) {
      lastSection_ = candidate;
      return lastSection_;
    }
  }
  return nullptr;
}

TDRXIniFileSection* TDRXIniFile::AddSection(UStringView section) {
  sections_.push_back(std::make_unique<TDRXIniFileSection>(this, section));
  lastSection_ = sections_.back().get();
  sectionIndex_[lastSection_->NameHash()].push_back(lastSection_);
  Changed();
  return lastSection_;
}

TDRXIniFileSection* TDRXIniFile::FindOrAddSection(UStringView section) {
  TDRXIniFileSection* found = FindSection(section);
  return found ? found : AddSection(section);
}

bool TDRXIniFile::SectionExists(UStringView section) const { return FindSection(section) != nullptr; }

bool TDRXIniFile::KeyExists(UStringView section, UStringView key) const {
  TDRXIniFileSection* found = FindSection(section);
  return found && found->IndexOfKey(key) >= 0;
}

bool TDRXIniFile::IsEmpty() const { return sections_.empty(); }

TDRXIniFileSection* TDRXIniFile::Sections(int index) const {
  return index >= 0 && index < SectionCount() ? sections_[index].get() : nullptr;
}

UString TDRXIniFile::SectionNames(int index) const {
  const TDRXIniFileSection* section = Sections(index);
  return section ? section->Name() : UString();
}

void TDRXIniFile::ReadKeys(UStringView section, TDRXStringList& keys) const {
  const TDRXIniFileSection* found = FindSection(section);
  if (!found) return;
  for (int i = 0; i < found->Count(); ++i) {
    const UString key = found->KeyOf(i);
    if (!key.empty()) keys.Add(key);
  }
}

UString TDRXIniFile::ReadSectionText(UStringView section) const {
  const TDRXIniFileSection* found = FindSection(section);
  return found ? found->Text() : UString();
}

void TDRXIniFile::WriteSectionText(UStringView section, UStringView text) {
  TIniUpdateScope update(*this);
  FindOrAddSection(section)->SetText(text);
}

bool TDRXIniFile::DeleteKey(UStringView section, UStringView key) {
  TDRXIniFileSection* found = FindSection(section);
  const int index = found ? found->IndexOfKey(key) : -1;
  return index >= 0 && found->Delete(index);
}

bool TDRXIniFile::DeleteSection(UStringView section) {
  TDRXIniFileSection* found = FindSection(section);
  if (!found) return false;
  lastSection_ = nullptr;
  const auto alike = sectionIndex_.find(found->NameHash());
  std::erase(alike->second, found);
  if (alike->second.empty()) sectionIndex_.erase(alike);
  std::erase_if(sections_, [found](const auto& candidate) { return candidate.get() == found; });
  Changed();
  return true;
}

// --- Values

bool TDRXIniFile::ReadString(UStringView section, UStringView key, UString& value) const {
  TDRXIniFileSection* found = FindSection(section);
  return found && found->ReadString(key, value);
}

UString TDRXIniFile::ReadString(UStringView section, UStringView key, UStringView defaultValue) const {
  UString value;
  return ReadString(section, key, value) ? value : UString(defaultValue);
}

int32_t TDRXIniFile::ReadInteger(UStringView section, UStringView key, int32_t defaultValue) const {
  UString text;
  int32_t value;
  return ReadString(section, key, text) && TryParseIniInteger(text, value) ? value : defaultValue;
}

bool TDRXIniFile::ReadBool(UStringView section, UStringView key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TDRXIniFile::WriteString(UStringView section, UStringView key, UStringView value) {
  TIniUpdateScope update(*this);
  FindOrAddSection(section)->WriteString(key, value);
}

void TDRXIniFile::WriteString(UStringView section, UStringView key, UStringView value, UStringView defaultValue) {
  if (value == defaultValue) {
    DeleteKey(section, key);
  } else {
    WriteString(section, key, value);
  }
}

void TDRXIniFile::WriteInteger(UStringView section, UStringView key, int32_t value) {
  WriteString(section, key, IntToStr(value));
}

void TDRXIniFile::WriteBool(UStringView section, UStringView key, bool value) {
  WriteString(section, key, value ? u"1" : u"0");
}

bool TDRXIniFile::ReadStream(UStringView section, UStringView key, TStream& stream) const {
  UString hex;
  ReadString(section, key, hex);
  std::string bytes;
  if (!HexToBytes(hex, bytes)) return false;
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream.SetPosition(0);
  return true;
}

void TDRXIniFile::WriteStream(UStringView section, UStringView key, TStream& stream) {
  const int64_t position = stream.Position();
  stream.SetPosition(0);
  const std::string bytes = ReadRemainingBytes(stream);
  stream.SetPosition(position);
  const std::string hex = BytesToHex(bytes);
  WriteString(section, key, UString(hex.begin(), hex.end()), u"");
}

bool TDRXIniFile::ReadObject(UStringView section, UStringView key, const TDRXStreamLoader& loader) const {
  try {
    TMemoryStream data;
    if (!ReadStream(section, key, data) || data.Size() == 0) return false;
    loader(data);
    return true;
  } catch (...) {
    return false;
  }
}

// --- Changes

void TDRXIniFile::BeginUpdate() { ++updateCount_; }

void TDRXIniFile::EndUpdate() {
  if (updateCount_ == 0 || --updateCount_ > 0 || !changedInUpdate_) return;
  changedInUpdate_ = false;
  if (OnChanged) OnChanged();
}

void TDRXIniFile::Changed() {
  modified_ = true;
  if (updateCount_ > 0) {
    changedInUpdate_ = true;
  } else if (OnChanged) {
    OnChanged();
  }
}
