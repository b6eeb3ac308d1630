#include "DRX.Classes.ComponentText.h"

#include <algorithm>
#include <vector>

#include "DRX.Format.h"

namespace {

bool IsIdentStart(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_'; }
bool IsIdentChar(char16_t c) { return IsIdentStart(c) || (c >= u'0' && c <= u'9') || c == u'.'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

[[noreturn]] void FailValue(UStringView message) { throw EComponentTextError(UString(message)); }

UString ParseText(UStringView value) {
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
  if (i + 1 != value.size()) FailValue(u"a text must end with \" and stand alone");
  return text;
}

TDRXStreamValue ParseSet(UStringView value) {
  if (value.back() != u']') FailValue(u"\"]\" expected at the end of a set");
  std::vector<UString> elements;
  const UString inner = Trim(value.substr(1, value.size() - 2));
  for (size_t start = 0; !inner.empty() && start <= inner.size();) {
    const size_t comma = std::min(inner.find(u',', start), inner.size());
    const UString element = Trim(UStringView(inner).substr(start, comma - start));
    if (!IsComponentTextIdent(element)) FailValue(u"identifier expected in a set");
    elements.push_back(element);
    start = comma + 1;
  }
  return TDRXStreamValue::FromSet(std::move(elements));
}

// Reads "object Name: Class" blocks up to their "end", with properties and children.
class TComponentTextReader {
 public:
  explicit TComponentTextReader(UStringView text) : lines_(text) {}

  TDRXStreamComponent Read() {
    if (!NextStatement()) Fail(u"\"object Name: Class\" expected");
    TDRXStreamComponent root = ReadComponent(1);
    if (NextStatement()) Fail(u"text after the last \"end\"");
    return root;
  }

 private:
  [[noreturn]] void Fail(UStringView message) const {
    throw EComponentTextError(Format(u"line %d: %s", {std::max(lines_.Line(), 1), message}));
  }

  bool NextStatement() {
    const bool found = lines_.Next();
    statement_ = lines_.Statement();
    return found;
  }

  // The statement is "object Name: Class"; reads up to its "end".
  TDRXStreamComponent ReadComponent(int depth) {
    if (depth > kMaxComponentStreamDepth) Fail(u"components nested too deeply");
    TDRXStreamComponent component = ReadHeader();
    for (;;) {
      if (!NextStatement()) Fail(u"\"end\" expected");
      if (statement_ == u"end") return component;
      if (StartsWith(statement_, u"object ")) {
        component.Children.push_back(ReadComponent(depth + 1));
      } else {
        component.Properties.push_back(ReadProperty());
      }
    }
  }

  TDRXStreamComponent ReadHeader() const {
    if (!StartsWith(statement_, u"object ")) Fail(u"\"object Name: Class\" expected");
    const UStringView rest = UStringView(statement_).substr(7);
    const size_t colon = rest.find(u':');
    if (colon == UStringView::npos) Fail(u"\":\" expected between the name and the class");
    TDRXStreamComponent component;
    component.Name = Trim(rest.substr(0, colon));
    component.ClassName = Trim(rest.substr(colon + 1));
    if (!component.Name.empty() && !IsComponentTextIdent(component.Name)) Fail(u"component name expected");
    if (!IsComponentTextIdent(component.ClassName)) Fail(u"class name expected after \":\"");
    return component;
  }

  TDRXStreamProperty ReadProperty() const {
    try {
      TComponentTextAssignment assignment = SplitComponentTextAssignment(statement_);
      return {std::move(assignment.Name), ParseComponentTextValue(assignment.Value)};
    } catch (const EComponentTextError& e) {
      Fail(e.Message());
    }
  }

  TComponentTextLines lines_;
  UString statement_;
};

}  // namespace

bool IsComponentTextIdent(UStringView text) {
  if (text.empty() || !IsIdentStart(text[0])) return false;
  return std::all_of(text.begin(), text.end(), IsIdentChar);
}

bool TComponentTextLines::Next() {
  // A final line break ends the last line; no empty line follows it.
  while (position_ < text_.size()) {
    const size_t end = text_.find(u'\n', position_);
    UStringView line = text_.substr(position_, end == UStringView::npos ? UStringView::npos : end - position_);
    position_ = end == UStringView::npos ? text_.size() + 1 : end + 1;
    ++line_;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
      if (line[i] == u'"') quoted = !quoted;
      if (line[i] == u';' && !quoted) {
        line = line.substr(0, i);
        break;
      }
    }
    statement_ = Trim(line);
    if (!statement_.empty()) return true;
  }
  statement_.clear();
  return false;
}

TComponentTextAssignment SplitComponentTextAssignment(UStringView statement) {
  const size_t equals = statement.find(u'=');
  if (equals == UStringView::npos) FailValue(u"\"name = value\" expected");
  TComponentTextAssignment assignment{Trim(statement.substr(0, equals)), Trim(statement.substr(equals + 1))};
  if (!IsComponentTextIdent(assignment.Name)) FailValue(u"property name expected before \"=\"");
  if (assignment.Value.empty()) FailValue(u"value expected after \"=\"");
  return assignment;
}

TDRXStreamValue ParseComponentTextValue(UStringView value) {
  if (value.empty()) FailValue(u"value expected after \"=\"");
  if (value[0] == u'"') return TDRXStreamValue::FromString(ParseText(value));
  if (value[0] == u'[') return ParseSet(value);
  if (value[0] == u'-' || IsDigit(value[0])) {
    int32_t number = 0;
    if (!TryStrToInt(value, number)) FailValue(u"integer expected");
    return TDRXStreamValue::FromInteger(number);
  }
  if (!IsComponentTextIdent(value)) FailValue(u"value expected: an integer, a \"text\", an identifier or a [set]");
  return TDRXStreamValue::FromIdent(value);
}

TDRXStreamComponent ReadComponentText(UStringView text) { return TComponentTextReader(text).Read(); }
