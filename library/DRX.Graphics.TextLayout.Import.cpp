#include "DRX.Graphics.TextLayout.Import.h"

#include <algorithm>
#include <array>

#include "DRX.Graphics.Colors.h"

namespace {

// Characters that end an address and stop the walk back over an e-mail's local part.
bool IsAddressStop(char16_t c) {
  switch (c) {
    case u' ': case u'\r': case u'\n': case u'\t': case u'\0': case u'[': case u']': case u'(': case u')': return true;
    default: return false;
  }
}

constexpr std::array<bool, 128> AsciiDelimiters() {
  std::array<bool, 128> table{};
  for (char c : UStringView(u"%=:+-\\/*;,|(){}<>[].@#$^&?!\"' \r\n\t")) table[static_cast<size_t>(c)] = true;
  table[0] = true;
  return table;
}

bool IsDelimiter(char16_t c) {
  static constexpr std::array<bool, 128> kAscii = AsciiDelimiters();
  if (c < 128) return kAscii[c];
  switch (c) {
    case u'\u201C': case u'\u201D': case u'\u00AB': case u'\u00BB': case u'\u200B': case u'\u2018': case u'\u2019':
    case u'\uFF08': case u'\uFF09': case u'\uFF0C': case u'\uFF1A': case u'\uFF1B': case u'\uFF1F': case u'\u060C':
    case u'\u3000': case u'\u3001': case u'\u3002': case u'\u300C': case u'\u300D': case u'\u300E': case u'\u300F':
    case u'\u300A': case u'\u300B': case u'\u3008': case u'\u3009': case u'\u3014': case u'\u3015':
      return true;
    default:
      return false;
  }
}

bool IsAsciiLetterOrDigit(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

bool IsLocalPartChar(char16_t c) {
  return IsAsciiLetterOrDigit(c) || (c < 128 && UStringView(u".!#$%&'*+/=?^_{|}~-`").find(c) != UStringView::npos);
}

bool IsDomainChar(char16_t c) { return IsAsciiLetterOrDigit(c) || c == u'-' || c == u'.'; }

// One or more dot-separated labels of 1 to 63 letters, digits and hyphens, no
// label starting or ending with a hyphen.
bool IsDomain(UStringView text) {
  size_t start = 0;
  while (true) {
    const size_t dot = std::min(text.find(u'.', start), text.size());
    const UStringView label = text.substr(start, dot - start);
    if (label.empty() || label.size() > 63 || label.front() == u'-' || label.back() == u'-') return false;
    if (dot == text.size()) return true;
    start = dot + 1;
  }
}

bool EqualsAsciiNoCase(UStringView text, UStringView upperName) {
  if (text.size() != upperName.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = (text[i] >= u'a' && text[i] <= u'z') ? static_cast<char16_t>(text[i] - 32) : text[i];
    if (c != upperName[i]) return false;
  }
  return true;
}

enum TTagName { tnNone, tnB, tnI, tnS, tnU, tnColor, tnBackColor, tnURL };

TTagName FindTagName(UStringView name) {
  static constexpr std::pair<UStringView, TTagName> kNames[] = {
      {u"B", tnB}, {u"I", tnI}, {u"S", tnS}, {u"U", tnU}, {u"COLOR", tnColor}, {u"BACKCOLOR", tnBackColor}, {u"URL", tnURL}};
  for (const auto& [text, tag] : kNames)
    if (EqualsAsciiNoCase(name, text)) return tag;
  return tnNone;
}
constexpr size_t kLongestTagName = 9;  // BACKCOLOR

class TImporter {
 public:
  TImporter(UStringView text, int32_t* widths, const TDRXTextImportSettings& settings, TDRXTextLayoutBlocks& blocks)
      : text_(text), widths_(widths), settings_(settings), blocks_(blocks) {}

  void Run() {
    while (at_ < text_.size()) {
      if (settings_.AllowFormatting && ReadTag()) continue;
      if (ReadLineBreak()) continue;
      if (settings_.AllowCppLikeLineBreaks && ReadEscapedLineBreak()) continue;
      if (settings_.AllowAutoEmailDetect) ReadEmailAddress();
      if (at_ >= text_.size()) break;
      if (settings_.AllowAutoURLDetect && ReadWebAddress()) continue;
      if (ReadSpace()) continue;
      if (ReadDelimiter()) continue;
      ReadWord();
    }
  }

 private:
  int32_t Position(size_t index) const { return static_cast<int32_t>(index) + 1; }

  template <class TBlock, class... TArgs>
  TBlock& Add(size_t start, size_t length, TArgs&&... args) {
    return blocks_.Add<TBlock>(Position(start), static_cast<int32_t>(length), std::forward<TArgs>(args)...);
  }

  void AddText(size_t start, size_t length) {
    auto& block = blocks_.Add<TDRXTextLayoutBlockText>(text_.data() + start, widths_ + start, Position(start),
                                                       static_cast<int32_t>(length));
    block.Direction = DirectionOfText(block.Chars());
  }

  TDRXTextLayoutBlockText* LastText() const {
    if (blocks_.empty() || blocks_.back()->Kind() != bkText) return nullptr;
    return static_cast<TDRXTextLayoutBlockText*>(blocks_.back());
  }

  // The next "]" at or after from, found once for a run of "[" without one.
  size_t NextClosingBracket(size_t from) {
    if (closingBracket_ == UStringView::npos || closingBracket_ < from) {
      if (noClosingBracketFrom_ <= from) return UStringView::npos;
      closingBracket_ = text_.find(u']', from);
      if (closingBracket_ == UStringView::npos) noClosingBracketFrom_ = from;
    }
    return closingBracket_;
  }

  bool ReadTag() {
    if (text_[at_] != u'[') return false;
    const size_t close = NextClosingBracket(at_ + 1);
    if (close == UStringView::npos) return false;
    const UStringView inside = text_.substr(at_ + 1, close - at_ - 1);
    const bool closing = !inside.empty() && inside[0] == u'/';
    UStringView name = closing ? inside.substr(1) : inside.substr(0, std::min(inside.find(u'='), inside.size()));
    if (name.size() > kLongestTagName) return false;
    const TTagName tag = FindTagName(name);
    if (tag == tnNone) return false;
    const UStringView parameter = (!closing && name.size() < inside.size()) ? inside.substr(name.size() + 1) : UStringView();
    AddStyle(tag, closing, parameter, close - at_ + 1);
    at_ = close + 1;
    return true;
  }

  void AddStyle(TTagName tag, bool closing, UStringView parameter, size_t length) {
    switch (tag) {
      case tnB: Add<TDRXTextLayoutBlockStyleBold>(at_, length, closing); break;
      case tnI: Add<TDRXTextLayoutBlockStyleItalic>(at_, length, closing); break;
      case tnS: Add<TDRXTextLayoutBlockStyleStrikeOut>(at_, length, closing); break;
      case tnU: Add<TDRXTextLayoutBlockStyleUnderline>(at_, length, closing); break;
      case tnColor:
        Add<TDRXTextLayoutBlockStyleColor>(at_, length, closing, closing ? clBlack : TextLayoutParameterColor(parameter));
        break;
      case tnBackColor:
        Add<TDRXTextLayoutBlockStyleFill>(at_, length, closing, closing ? clBlack : TextLayoutParameterColor(parameter));
        break;
      case tnURL: Add<TDRXTextLayoutBlockStyleHyperlink>(at_, length, closing, UString(parameter)); break;
      case tnNone: break;
    }
  }

  bool ReadLineBreak() {
    const char16_t c = text_[at_];
    if (c != u'\r' && c != u'\n') return false;
    const size_t length = (c == u'\r' && at_ + 1 < text_.size() && text_[at_ + 1] == u'\n') ? 2 : 1;
    Add<TDRXTextLayoutBlockLineBreak>(at_, length);
    at_ += length;
    return true;
  }

  bool ReadEscapedLineBreak() {
    if (text_[at_] != u'\\' || at_ + 1 >= text_.size() || text_[at_ + 1] != u'n') return false;
    Add<TDRXTextLayoutBlockLineBreak>(at_, 2);
    at_ += 2;
    return true;
  }

  // Walks back over the text blocks of the local part. Stops early at a block
  // holding a character no local part may hold: the address would hold it too.
  void ReadEmailAddress() {
    if (text_[at_] != u'@') return;
    size_t first = blocks_.size();
    while (first > 0) {
      const TDRXTextLayoutBlock& block = *blocks_[first - 1];
      if (block.Kind() != bkText) break;
      const UStringView chars = static_cast<const TDRXTextLayoutBlockText&>(block).Chars();
      if (chars.size() == 1 && IsAddressStop(chars[0])) break;
      if (!std::all_of(chars.begin(), chars.end(), IsLocalPartChar)) return;
      --first;
    }
    if (first == blocks_.size()) return;
    size_t end = at_ + 1;
    while (end < text_.size() && IsDomainChar(text_[end])) ++end;
    if (end < text_.size() && !IsAddressStop(text_[end])) return;
    if (!IsDomain(text_.substr(at_ + 1, end - at_ - 1))) return;
    MakeLink(first, end, u"mailto:");
  }

  bool ReadWebAddress() {
    const TDRXTextLayoutBlockText* last = LastText();
    if (!last) return false;
    const bool scheme = text_.substr(at_, 3) == u"://" && text_.size() - at_ > 3;
    const bool www = text_[at_] == u'.' && EqualsAsciiNoCase(last->Chars(), u"WWW");
    if (!scheme && !www) return false;
    size_t end = at_;
    while (end < text_.size() && !IsAddressStop(text_[end])) ++end;
    MakeLink(blocks_.size() - 1, end, www ? u"https://" : u"");
    return true;
  }

  // The blocks after the start block go; the start block grows to end at end,
  // between an opening link (prefix + its text) and a closing one.
  void MakeLink(size_t startIndex, size_t end, UStringView prefix) {
    blocks_.Truncate(startIndex + 1);
    auto& start = static_cast<TDRXTextLayoutBlockText&>(*blocks_[startIndex]);
    start.Length = static_cast<int32_t>(end) - (start.Position - 1);
    start.ShownLength = start.Length;
    blocks_.Insert<TDRXTextLayoutBlockStyleHyperlink>(startIndex, start.Position, 0, false,
                                                      UString(prefix) + UString(start.Chars()));
    Add<TDRXTextLayoutBlockStyleHyperlink>(end, 0, true);
    at_ = end;
  }

  bool ReadSpace() {
    const char16_t c = text_[at_];
    if (c != u' ' && c != u'\t' && c != u'\0') return false;
    Add<TDRXTextLayoutBlockSpace>(at_, 1);
    ++at_;
    return true;
  }

  bool ReadDelimiter() {
    if (!IsDelimiter(text_[at_])) return false;
    AddText(at_, 1);
    ++at_;
    return true;
  }

  void ReadWord() {
    size_t end = at_ + 1;
    while (end < text_.size() && !IsDelimiter(text_[end])) ++end;
    AddText(at_, end - at_);
    at_ = end;
  }

  UStringView text_;
  int32_t* widths_;
  const TDRXTextImportSettings& settings_;
  TDRXTextLayoutBlocks& blocks_;
  size_t at_ = 0;
  size_t closingBracket_ = UStringView::npos;
  size_t noClosingBracketFrom_ = UStringView::npos;
};

}  // namespace

void ImportTextLayoutBlocks(UStringView text, int32_t* widths, const TDRXTextImportSettings& settings,
                            TDRXTextLayoutBlocks& blocks) {
  TImporter(text, widths, settings, blocks).Run();
}

TColor TextLayoutParameterColor(UStringView parameter) {
  TColor color;
  return TryStringToColor(parameter, color) ? color : HexDigitsToColor(parameter);
}
