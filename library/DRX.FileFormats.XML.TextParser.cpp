#include "DRX.FileFormats.XML.TextParser.h"

#include <algorithm>

#include "DRX.Encoding.h"
#include "DRX.FileFormats.XML.References.h"

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsWordEnd(char c) { return IsSpace(c) || c == '=' || c == '/' || c == '<' || c == '>'; }

std::string_view TrimControls(std::string_view bytes) {
  const auto isControl = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!bytes.empty() && isControl(bytes.front())) bytes.remove_prefix(1);
  while (!bytes.empty() && isControl(bytes.back())) bytes.remove_suffix(1);
  return bytes;
}

TDRXXMLEncoding EncodingFromDeclaration(const UString& name) {
  const UString upper = UpperCaseAscii(name);
  if (upper == u"UTF-8") return {xeUtf8, 0};
  if (StartsWith(upper, u"WINDOWS-")) return {xeCodePage, static_cast<uint32_t>(std::max(0, StrToIntDef(UStringView(name).substr(8), 0)))};
  return {xeLanguage, 0};
}

}  // namespace

TDRXTextXMLParser::TDRXTextXMLParser(std::string_view text, const TDRXXMLEncoding& encoding)
    : text_(text), encoding_(encoding) {}

// --- tokens ---

TDRXTextXMLParser::TToken TDRXTextXMLParser::NextToken() {
  while (position_ < text_.size() && IsSpace(text_[position_])) ++position_;
  const size_t start = position_;
  if (start >= text_.size()) return {tkEnd, start, {}};
  const char c = text_[start];
  const char next = start + 1 < text_.size() ? text_[start + 1] : '\0';
  if (c == '"' || c == '\'') return QuotedValue();
  if ((c == '/' || c == '?') && next == '>') {
    position_ += 2;
    return {tkEmptyTagEnd, start, {}};
  }
  if (c == '/') {
    ++position_;
    return {tkWord, start, text_.substr(start, 1)};
  }
  if (c == '<') {
    if (next == '/') {
      position_ += 2;
      return {tkClosingTagStart, start, {}};
    }
    if (auto comment = EnclosedToken(tkComment, "<!--", "-->", noCommentEnd_)) return *comment;
    if (auto data = EnclosedToken(tkCData, "<![CDATA[", "]]>", noCDataEnd_)) return *data;
    ++position_;
    return {tkTagStart, start, {}};
  }
  if (c == '=' || c == '>') {
    ++position_;
    return {c == '=' ? tkEquals : tkTagEnd, start, {}};
  }
  return Word();
}

std::optional<TDRXTextXMLParser::TToken> TDRXTextXMLParser::EnclosedToken(TTokenKind kind, std::string_view opening,
                                                                           std::string_view closing, bool& noClosing) {
  const size_t start = position_;
  if (noClosing || text_.substr(start, opening.size()) != opening) return std::nullopt;
  const size_t contentStart = start + opening.size();
  const size_t end = text_.find(closing, contentStart);
  if (end == std::string_view::npos) {
    noClosing = true;
    return std::nullopt;
  }
  position_ = end + closing.size();
  return TToken{kind, start, text_.substr(contentStart, end - contentStart)};
}

TDRXTextXMLParser::TToken TDRXTextXMLParser::QuotedValue() {
  const size_t start = position_;
  const char quote = text_[start];
  size_t end = start + 1;
  while (end < text_.size() && text_[end] != quote && text_[end] != '<' && text_[end] != '>') ++end;
  position_ = (end < text_.size() && text_[end] == quote) ? end + 1 : end;
  return {tkValue, start, text_.substr(start + 1, end - start - 1)};
}

TDRXTextXMLParser::TToken TDRXTextXMLParser::Word() {
  const size_t start = position_;
  size_t end = start + 1;
  while (end < text_.size() && !IsWordEnd(text_[end])) ++end;
  position_ = end;
  return {tkWord, start, text_.substr(start, end - start)};
}

// --- structure ---

void TDRXTextXMLParser::Parse(TDRXXMLNode& document) {
  document_ = &document;
  TDRXXMLNode* current = &document;
  for (;;) {
    const TToken token = NextToken();
    switch (token.Kind) {
      case tkEnd:
        return;
      case tkTagStart:
        if (!ReadStartTag(current, token.Start)) return;
        break;
      case tkClosingTagStart:
        if (current == &document) return;
        if (current->Count() == 0) GivePendingText(*current, token.Start);
        current = current->Parent();
        pendingText_.reset();
        preserveSpace_ = false;
        break;
      case tkComment:
        pendingText_.reset();
        break;
      case tkCData:
        if (current != &document) current->Text = Decode(token.Content);
        pendingText_.reset();
        break;
      default:  // words, values, equals signs and tag ends outside tags
        break;
    }
  }
}

bool TDRXTextXMLParser::ReadStartTag(TDRXXMLNode*& current, size_t tagStart) {
  const char marker = position_ < text_.size() ? text_[position_] : '\0';
  if (marker == '?') {
    ++position_;
    return ReadDeclaration();
  }
  if (marker == '!') {  // a doctype or the like: read and dropped
    ++position_;
    TDRXXMLNode scratch;
    return ReadTagContents(scratch) != trFailed;
  }
  GivePendingText(*current, tagStart);
  if (current->Depth() >= kMaxXMLDepth) return false;
  TDRXXMLNode* child = current->AddChild({});
  const TTagResult result = ReadTagContents(*child);
  if (result == trFailed) return false;
  ApplySpaceAttribute(*child);
  if (result == trOpen)
    current = child;
  else
    preserveSpace_ = false;
  pendingText_ = position_;
  return true;
}

bool TDRXTextXMLParser::ReadDeclaration() {
  TDRXXMLNode scratch;
  if (ReadTagContents(scratch) == trFailed) return false;
  if (const TDRXXMLAttribute* encoding = scratch.Attributes.Find("encoding")) encoding_ = EncodingFromDeclaration(encoding->Value);
  return true;
}

TDRXTextXMLParser::TTagResult TDRXTextXMLParser::ReadTagContents(TDRXXMLNode& node) {
  bool named = false;
  TDRXXMLAttribute* attribute = nullptr;  // the last one, while it may still get a value
  bool valueExpected = false;
  for (;;) {
    const TToken token = NextToken();
    switch (token.Kind) {
      case tkWord:
      case tkValue:
        if (!named) {
          node.Name = token.Content;
          named = true;
        } else if (valueExpected) {
          attribute->Value = Decode(token.Content);
          attribute = nullptr;
          valueExpected = false;
        } else {
          attribute = &node.Attributes.Add(token.Content, {});
        }
        break;
      case tkEquals:
        if (attribute) valueExpected = true;
        break;
      case tkTagEnd:
        return trOpen;
      case tkEmptyTagEnd:
        return trComplete;
      case tkClosingTagStart:
        break;
      default:  // the end of the text, a tag start, a comment or character data
        return trFailed;
    }
  }
}

void TDRXTextXMLParser::ApplySpaceAttribute(TDRXXMLNode& node) {
  const TDRXXMLAttribute* space = node.Attributes.Find("xml:space");
  if (!space) return;
  preserveSpace_ = UpperCaseAscii(space->Value) == u"PRESERVE";
  node.Attributes.Remove("xml:space");
}

void TDRXTextXMLParser::GivePendingText(TDRXXMLNode& node, size_t end) {
  // The document carries no text of its own.
  if (!pendingText_ || &node == document_) return;
  std::string_view bytes = text_.substr(*pendingText_, end - *pendingText_);
  if (!preserveSpace_) bytes = TrimControls(bytes);
  if (!bytes.empty()) node.Text = Decode(bytes);
}

UString TDRXTextXMLParser::Decode(std::string_view bytes) const {
  UString text;
  switch (encoding_.Kind) {
    case xeUtf8:
      if (!TryGeneralizedUtf8ToUtf16(bytes, text)) return {};
      break;
    case xeCodePage:
      text = DecodeText(TDRXEncoding::Ansi(encoding_.CodePage), bytes);
      break;
    default:
      text = DecodeText(TDRXEncoding::Ansi(GetDRXCodePage()), bytes);
      break;
  }
  return DecodeXMLReferences(text);
}
