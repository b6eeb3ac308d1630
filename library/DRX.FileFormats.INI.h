#pragma once
// TDRXIniFile: an INI document as an ordered list of sections, each an ordered
// list of verbatim text lines. Values are read and written by (section, key);
// a line's key is the text before its first "=", its value the text after it,
// nothing trimmed. A document loaded and saved again keeps its lines and its
// encoding; only blank lines, lines before the first header and sections
// without lines are lost. There is no comment syntax: ";x=1" has the key ";x".
//
// Names (sections and keys) match when they have the same length and compare
// equal ignoring case under the user's locale. Lookups compare cached hashes
// of the upper-cased names first; with repeated keys the first line wins.
//
// Not safe for concurrent use.

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "DRX.Classes.Streams.h"
#include "DRX.Classes.StringList.h"
#include "DRX.Encoding.h"
#include "DRX.Strings.h"

class TDRXIniFile;

// The ELF hash over the first 64 characters of the name, upper-cased by the
// platform's mapping: names that match hash equal.
uint32_t IniNameHash(UStringView name);

// Parses a signed 32-bit integer as INI values hold it: leading spaces, an
// optional sign, then decimal digits or hexadecimal ones after "$", "x" or
// "0x" (either case). Hexadecimal takes any 32-bit pattern ("$FFFFFFFF" is -1).
// False for anything else, trailing characters and overflow included.
bool TryParseIniInteger(UStringView text, int32_t& value);

// One section: its lines are the list's items. The 64-bit data of every line
// is the section's cache of the line's key hash and is not for callers.
class TDRXIniFileSection : public TDRXStringList {
 public:
  TDRXIniFileSection(TDRXIniFile* owner, UStringView name);

  const UString& Name() const { return name_; }
  uint32_t NameHash() const;

  // The first line whose key matches, or -1.
  int IndexOfKey(UStringView key);
  // The key of a line: the text before its first "=", empty without one.
  UString KeyOf(int index) const;

  virtual int32_t ReadInteger(UStringView key, int32_t defaultValue);
  // The text after the first "=" of the first matching line (the whole line
  // when it has none); false when no line matches.
  virtual bool ReadString(UStringView key, UString& value);
  // Replaces the first matching line with key=value, written with the given
  // key text, or appends such a line.
  virtual void WriteString(UStringView key, UStringView value);

  // Lines keep no caller data: the data value is the key-hash cache.
  void Insert(int index, UStringView text, int64_t data = 0, TDRXInterfaceRef intf = nullptr) override;
  void Put(int index, UStringView text) override;

  void BeginUpdate() override;
  // The outermost EndUpdate reports the changes made inside to the document.
  void EndUpdate() override;

 protected:
  void Changed() override;

 private:
  uint32_t LineKeyHash(int index);

  TDRXIniFile* owner_;
  UString name_;
  mutable uint64_t nameHash_ = 0;  // hash | kHashCached once computed
  int updateCount_ = 0;
  bool changedInUpdate_ = false;
};

// Receives a binary value that ReadObject decoded (an icon, say); may throw.
using TDRXStreamLoader = std::function<void(TStream&)>;

class TDRXIniFile {
 public:
  // A non-empty file name is bound and loaded (LoadFromFile).
  explicit TDRXIniFile(const UString& fileName = {}, bool autoSave = false);
  // With AutoSave, saves a modified document to its file first (UpdateFile).
  virtual ~TDRXIniFile();
  TDRXIniFile(const TDRXIniFile&) = delete;
  TDRXIniFile& operator=(const TDRXIniFile&) = delete;

  // --- Files and streams

  // Binds the name and replaces the content with the file's; a file that cannot
  // be opened leaves the document empty. Modified is false afterwards.
  virtual void LoadFromFile(const UString& fileName);
  // Replaces the content with the text from the stream's position to its end.
  // Only with at least 3 bytes a mark decides UTF-8, UTF-16LE or UTF-16BE; else
  // the system's ANSI code page, also when the text does not decode in the
  // encoding found. A UTF-16 mark alone (a saved empty document) is an empty
  // text in that encoding. The encoding becomes the document's Encoding.
  virtual void LoadFromStream(TStream& stream);
  // Replaces the content with the parsed text; Encoding is kept.
  virtual void LoadFromText(UStringView text);
  // Resets the file's attributes, then creates or truncates it (others may
  // read and write it meanwhile). False, and nothing raised, when that fails.
  bool SaveToFile(const UString& fileName, const TDRXEncoding& encoding);
  // The encoding's byte-order mark, then every section that has lines.
  virtual void SaveToStream(TStream& stream, const TDRXEncoding& encoding = TDRXEncoding::Utf16LE()) const;
  // No bound file: false. Not modified: true, nothing written. Otherwise
  // saves in Encoding; success clears Modified.
  virtual bool UpdateFile();

  // --- The document as a whole

  void Clear();
  // Takes the other's content as its serialisation reads back; the file name
  // and the encoding stay this document's own.
  void Assign(const TDRXIniFile& other);
  // True when both documents serialise to the same text.
  bool Equals(const TDRXIniFile& other) const;
  // Adds the other's sections and keys: keys of sections present here are
  // written one by one (existing ones only with overwrite); missing sections
  // are copied whole, lines without keys included.
  void Merge(const TDRXIniFile& other, bool overwrite);
  // Merges the file's content; a file that cannot be opened adds nothing.
  void Merge(const UString& fileName, bool overwrite);

  // --- Sections and keys

  virtual bool SectionExists(UStringView section) const;
  virtual bool KeyExists(UStringView section, UStringView key) const;
  virtual bool IsEmpty() const;
  int SectionCount() const { return static_cast<int>(sections_.size()); }
  // Empty for an index out of range.
  UString SectionNames(int index) const;
  TDRXIniFileSection* Sections(int index) const;
  TDRXIniFileSection* FindSection(UStringView section) const;

  // Appends the section's non-empty keys in line order, duplicates included.
  void ReadKeys(UStringView section, TDRXStringList& keys) const;
  // The section's lines, each followed by CR LF; empty for a missing section.
  UString ReadSectionText(UStringView section) const;
  // Finds or creates the section and replaces its lines with the text's.
  void WriteSectionText(UStringView section, UStringView text);
  // Removes the first matching line.
  bool DeleteKey(UStringView section, UStringView key);
  bool DeleteSection(UStringView section);

  // --- Values

  virtual bool ReadString(UStringView section, UStringView key, UString& value) const;
  UString ReadString(UStringView section, UStringView key, UStringView defaultValue) const;
  // Malformed, empty or overflowing values give the default.
  virtual int32_t ReadInteger(UStringView section, UStringView key, int32_t defaultValue) const;
  // A nonzero number is true; anything that is no number gives the default.
  bool ReadBool(UStringView section, UStringView key, bool defaultValue) const;

  virtual void WriteString(UStringView section, UStringView key, UStringView value);
  // Deletes the key instead when value equals defaultValue (case-sensitive).
  void WriteString(UStringView section, UStringView key, UStringView value, UStringView defaultValue);
  void WriteInteger(UStringView section, UStringView key, int32_t value);
  void WriteBool(UStringView section, UStringView key, bool value);

  // Decodes the hexadecimal value into the stream at its position and moves
  // the position to 0. A missing or empty value, an odd length or a character
  // that is no hexadecimal digit: false, and the stream is left as it was.
  bool ReadStream(UStringView section, UStringView key, TStream& stream) const;
  // Writes the stream's whole content as uppercase hexadecimal; an empty
  // stream deletes the key. The stream's position is kept.
  void WriteStream(UStringView section, UStringView key, TStream& stream);
  // Decodes the value and hands it, when it holds at least one byte, to the
  // loader. Any failure, the loader's exceptions included, gives false.
  bool ReadObject(UStringView section, UStringView key, const TDRXStreamLoader& loader) const;

  // --- Changes

  // Nest; OnChanged is raised once, at the outermost EndUpdate, when anything
  // changed inside.
  void BeginUpdate();
  void EndUpdate();
  std::function<void()> OnChanged;
  bool Modified() const { return modified_; }

  const TDRXEncoding& Encoding() const { return encoding_; }
  void SetEncoding(const TDRXEncoding& encoding) { encoding_ = encoding; }
  const UString& FileName() const { return fileName_; }
  bool AutoSave() const { return autoSave_; }
  void SetAutoSave(bool autoSave) { autoSave_ = autoSave; }

 protected:
  // Sets Modified and raises OnChanged, or defers it to the outermost EndUpdate.
  virtual void Changed();
  // What LoadFromFile does with a file it cannot open: empties the document.
  virtual void LoadMissingFile();

 private:
  friend class TDRXIniFileSection;

  TDRXIniFileSection* FindOrAddSection(UStringView section);
  TDRXIniFileSection* AddSection(UStringView section);
  void CopyMissingKeys(TDRXIniFileSection& from, TDRXIniFileSection& to, bool overwrite);
  // The document's text as SaveToStream writes it, without a byte-order mark.
  UString SerializedText() const;

  std::vector<std::unique_ptr<TDRXIniFileSection>> sections_;
  // The sections by the hash of their names, each list in document order, so
  // that a lookup compares only the names that hash alike.
  std::unordered_map<uint32_t, std::vector<TDRXIniFileSection*>> sectionIndex_;
  mutable TDRXIniFileSection* lastSection_ = nullptr;
  TDRXEncoding encoding_ = TDRXEncoding::Utf16LE();
  UString fileName_;
  int updateCount_ = 0;
  bool changedInUpdate_ = false;
  bool modified_ = false;
  bool autoSave_ = false;
};
