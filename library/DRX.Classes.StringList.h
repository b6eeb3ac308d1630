#pragma once
// TDRXStringList: the ordered list of text lines used throughout the library and
// the installer. Each item carries an optional interface reference, a signed
// 64-bit data value and its text. The list also defines the name=value
// convention ("name" + separator + "value"), the splitting of text into lines
// and the plain and logical (numbers as numbers) sort orders.
//
// Text comparisons use the user's locale through PlatformCompareText; whole
// lines are equal only when their lengths are equal too.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "DRX.Classes.Streams.h"
#include "DRX.Encoding.h"
#include "DRX.Strings.h"

// Base of every object a string list item can refer to; the reference is shared.
class IDRXInterface {
 public:
  virtual ~IDRXInterface() = default;
};
using TDRXInterfaceRef = std::shared_ptr<IDRXInterface>;

// Brackets a scope with BeginUpdate and EndUpdate of any object that has them.
// EndUpdate may raise change events, and their handlers may throw.
template <typename T>
class TDRXUpdateScope {
 public:
  explicit TDRXUpdateScope(T& target) : target_(target) { target_.BeginUpdate(); }
  ~TDRXUpdateScope() noexcept(false) { target_.EndUpdate(); }
  TDRXUpdateScope(const TDRXUpdateScope&) = delete;
  TDRXUpdateScope& operator=(const TDRXUpdateScope&) = delete;

 private:
  T& target_;
};

struct TDRXStringListItem {
  TDRXInterfaceRef Interface;
  int64_t Data = 0;
  UString Text;
};

class TDRXStringList {
 public:
  TDRXStringList() = default;
  virtual ~TDRXStringList() = default;
  TDRXStringList(const TDRXStringList&) = delete;
  TDRXStringList& operator=(const TDRXStringList&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  int Capacity() const { return capacity_; }
  // Never below Count; a smaller value is raised to Count.
  void SetCapacity(int capacity);

  char16_t NameValueSeparator() const { return nameValueSeparator_; }
  void SetNameValueSeparator(char16_t separator) { nameValueSeparator_ = separator; }
  // Applies to IndexOf, IndexOfName and RemoveDuplicates.
  bool IgnoreCase() const { return ignoreCase_; }
  void SetIgnoreCase(bool ignoreCase) { ignoreCase_ = ignoreCase; }

  // Insert at Count; returns the new line's index.
  int Add(UStringView text, int64_t data = 0, TDRXInterfaceRef intf = nullptr);
  // Index 0 to Count; any other index is ignored.
  virtual void Insert(int index, UStringView text, int64_t data = 0, TDRXInterfaceRef intf = nullptr);
  // Removes `count` lines from `index`; false, and nothing removed, unless the
  // whole range lies within the list and count is positive.
  bool Delete(int index, int count = 1);
  // Removes every line and releases the array.
  virtual void Clear();

  // Out-of-range reads give an empty text, 0 or no interface; out-of-range writes are ignored.
  const UString& Strings(int index) const;
  virtual void Put(int index, UStringView text);
  int64_t Data(int index) const;
  // The data value is the owner's bookkeeping (a cache, say): setting it is not a change.
  void SetData(int index, int64_t data);
  TDRXInterfaceRef Interface(int index) const;

  // Name: the text before the first separator, empty without one.
  // Value: the text after the first separator, the whole line without one.
  UString Names(int index) const;
  UString ValueFromIndex(int index) const;
  // The value of the line IndexOfName finds, or empty.
  UString Values(UStringView name) const;
  // Replaces the line IndexOfName finds by name=value, or appends one; an empty value is kept.
  void SetValue(UStringView name, UStringView value);

  // The first line equal to the text, or -1.
  virtual int IndexOf(UStringView text) const;
  // The LAST line that begins with the name and the separator, or -1: with a
  // repeated name, Values and SetValue act on its last occurrence.
  int IndexOfName(UStringView name) const;

  // Every line followed by CR LF.
  UString Text() const;
  UString GetDelimitedText(UStringView separator, bool trailing) const;
  // Replaces the list by the lines of the text: a line ends at CR, LF, CR LF or
  // U+2028 (which also takes one following CR and then one following LF). A
  // final line break adds no empty line.
  virtual void SetText(UStringView text);

  // Decodes the rest of the stream: a byte-order mark decides the encoding, else
  // `encoding`, else the system's ANSI code page; undecodable text is read as ANSI.
  virtual void LoadFromStream(TStream& stream, std::optional<TDRXEncoding> encoding = std::nullopt);
  // Writes the encoding's byte-order mark and Text (UTF-16LE when none is given).
  virtual void SaveToStream(TStream& stream, std::optional<TDRXEncoding> encoding = std::nullopt);

  // Clears, then copies the other's lines with their data and interfaces.
  void Assign(const TDRXStringList& other);
  // Deletes every line equal to an earlier one; returns how many were deleted.
  int RemoveDuplicates();
  // Case-sensitive locale order.
  void Sort();
  // Case-insensitive order in which digit runs compare as numbers ("a2" < "a10").
  void SortLogical();

  // Bracket a series of changes; they do nothing here.
  virtual void BeginUpdate() {}
  virtual void EndUpdate() {}

 protected:
  // Called after every change of the lines; does nothing here.
  virtual void Changed() {}

 private:
  bool ValidIndex(int index) const { return index >= 0 && index < Count(); }
  bool SameLine(UStringView a, UStringView b) const;
  void Grow();
  template <typename Less>
  void SortBy(Less less);

  std::vector<TDRXStringListItem> items_;
  int capacity_ = 0;
  char16_t nameValueSeparator_ = u'=';
  bool ignoreCase_ = true;
};

// Calls onLine with every line of the text, split as SetText splits it.
void ForEachLine(UStringView text, const std::function<void(UStringView)>& onLine);

// The comparison behind SortLogical: <0, 0 or >0.
int CompareLogical(UStringView a, UStringView b);
