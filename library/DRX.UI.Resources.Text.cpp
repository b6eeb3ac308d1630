#include "DRX.UI.Resources.Text.h"

#include <algorithm>
#include <optional>

#include "DRX.Format.h"

namespace {

bool IsIdentStart(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_'; }
bool IsIdentChar(char16_t c) { return IsIdentStart(c) || (c >= u'0' && c <= u'9') || c == u'.'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsIdent(UStringView text) {
  if (text.empty() || !IsIdentStart(text[0])) return false;
  for (const char16_t c : text)
    if (!IsIdentChar(c)) return false;
  return true;
}

class TSkinTextReader {
 public:
  TSkinTextReader(UStringView text, const TDRXSkinImageBuilder& imageBuilder) : text_(text), imageBuilder_(imageBuilder) {}

  TDRXStreamComponent Read() {
    while (NextLine()) {
      const UString line = Trim(WithoutComment(line_));
      if (line.empty()) continue;
      if (line[0] == u'[')
        StartItem(line);
      else
        ReadProperty(line);
    }
    FinishItem();
    TDRXStreamComponent root;
    root.ClassName = u"TDRXRootResourceCollectionImpl";
    root.Properties.push_back({u"Items", TDRXStreamValue::FromCollection(std::move(items_))});
    return root;
  }

 private:
  [[noreturn]] void Fail(UStringView message, int line = 0) const {
    throw ESkinTextError(Format(u"line %d: %s", {line ? line : lineNumber_, message}));
  }

  bool NextLine() {
    if (position_ > text_.size()) return false;
    const size_t end = text_.find(u'\n', position_);
    line_ = text_.substr(position_, end == UStringView::npos ? UStringView::npos : end - position_);
    position_ = end == UStringView::npos ? text_.size() + 1 : end + 1;
    ++lineNumber_;
    return true;
  }

  // The line up to a ';' that is not inside a text.
  static UStringView WithoutComment(UStringView line) {
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
      if (line[i] == u'"') quoted = !quoted;
      if (line[i] == u';' && !quoted) return line.substr(0, i);
    }
    return line;
  }

  void StartItem(const UString& line) {
    FinishItem();
    const size_t close = line.find(u']');
    if (close == UString::npos) Fail(u"\"]\" expected");
    const UString id = Trim(UStringView(line).substr(1, close - 1));
    const UString className = Trim(UStringView(line).substr(close + 1));
    if (!IsIdent(id)) Fail(u"identifier expected between \"[\" and \"]\"");
    if (!IsIdent(className)) Fail(u"resource class expected after \"]\"");
    item_ = TDRXStreamCollectionItem();
    item_->Properties.push_back({u"ID", TDRXStreamValue::FromString(id)});
    item_->Properties.push_back({u"ResourceClassName", TDRXStreamValue::FromString(className)});
    image_ = TDRXSkinTextImage{id, lineNumber_, {}};
  }

  void ReadProperty(const UString& line) {
    if (!item_) Fail(u"a property before the first \"[identifier] class\"");
    const size_t equals = line.find(u'=');
    if (equals == UString::npos) Fail(u"\"name = value\" expected");
    const UString name = Trim(UStringView(line).substr(0, equals));
    const UString value = Trim(UStringView(line).substr(equals + 1));
    if (!IsIdent(name)) Fail(u"property name expected before \"=\"");
    if (value.empty()) Fail(u"value expected after \"=\"");
    if (name == u"Image" || StartsWith(name, u"Image.")) {
      image_.Settings.push_back({name == u"Image" ? UString() : name.substr(6), value});
      return;
    }
    item_->Properties.push_back({u"Resource." + name, ParseValue(value)});
  }

  TDRXStreamValue ParseValue(const UString& value) const {
    if (value[0] == u'"') return TDRXStreamValue::FromString(ParseText(value));
    if (value[0] == u'[') return ParseSet(value);
    if (value[0] == u'-' || IsDigit(value[0])) {
      int32_t number = 0;
      if (!TryStrToInt(value, number)) Fail(u"integer expected");
      return TDRXStreamValue::FromInteger(number);
    }
    if (!IsIdent(value)) Fail(u"value expected: an integer, a \"text\", an identifier or a [set]");
    return TDRXStreamValue::FromIdent(value);
  }

  UString ParseText(const UString& value) const {
    UString text;
    size_t i = 1;
    for (; i < value.size(); ++i) {
      if (value[i] != u'"') {
        text += value[i];
      } else if (i + 1 < value.size() && value[i + 1] == u'"') {
        text += u'"';
        ++i;
      } else {
        break;
      }
    }
    if (i + 1 != value.size()) Fail(u"a text must end with \" and stand alone");
    return text;
  }

  TDRXStreamValue ParseSet(const UString& value) const {
    if (value.back() != u']') Fail(u"\"]\" expected at the end of a set");
    std::vector<UString> elements;
    const UString inner = Trim(UStringView(value).substr(1, value.size() - 2));
    for (size_t start = 0; !inner.empty() && start <= inner.size();) {
      const size_t comma = std::min(inner.find(u',', start), inner.size());
      const UString element = Trim(UStringView(inner).substr(start, comma - start));
      if (!IsIdent(element)) Fail(u"identifier expected in a set");
      elements.push_back(element);
      start = comma + 1;
    }
    return TDRXStreamValue::FromSet(std::move(elements));
  }

  void FinishItem() {
    if (!item_) return;
    if (!image_.Settings.empty()) {
      if (!imageBuilder_) Fail(u"\"Image\" lines need an image builder", image_.Line);
      std::string data;
      try {
        data = imageBuilder_(image_);
      } catch (const ESkinTextError&) {
        throw;
      } catch (const Exception& e) {
        Fail(Format(u"%s: %s", {image_.ItemID, e.Message()}), image_.Line);
      }
      item_->Properties.push_back({u"Resource.Data", TDRXStreamValue::FromBinary(std::move(data))});
    }
    items_.push_back(std::move(*item_));
    item_.reset();
  }

  UStringView text_;
  const TDRXSkinImageBuilder& imageBuilder_;
  size_t position_ = 0;
  int lineNumber_ = 0;
  UStringView line_;
  std::optional<TDRXStreamCollectionItem> item_;
  TDRXSkinTextImage image_;
  std::vector<TDRXStreamCollectionItem> items_;
};

}  // namespace

UString TDRXSkinTextImage::Get(UStringView name, UStringView fallback) const {
  for (const auto& [setting, value] : Settings)
    if (setting == name) return value;
  return UString(fallback);
}

TDRXStreamComponent ReadSkinText(UStringView text, const TDRXSkinImageBuilder& imageBuilder) {
  return TSkinTextReader(text, imageBuilder).Read();
}
