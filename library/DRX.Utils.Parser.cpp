#include "DRX.Utils.Parser.h"

namespace {
bool Contains(UStringView set, char16_t c) { return set.find(c) != UStringView::npos; }
}  // namespace

void TDRXParser::SetText(UStringView text) {
  text_ = text;
  position_ = 0;
}

bool TDRXParser::GetToken(TDRXParserToken& token) {
  while (ReadToken(token))
    if (!IsSkipped(token.Kind)) return true;
  return false;
}

bool TDRXParser::IsSkipped(TDRXParserTokenKind kind) const {
  switch (kind) {
    case tkSpace: return SkipSpaces;
    case tkDelimiter: return SkipDelimiters;
    case tkQuote: return SkipQuotes;
    default: return false;
  }
}

bool TDRXParser::ReadToken(TDRXParserToken& token) {
  if (position_ >= text_.size()) return false;
  const char16_t c = text_[position_];
  if (Contains(SpaceChars, c)) {
    token = {position_++, 1, tkSpace};
  } else if (Contains(QuoteChars, c)) {
    token = ReadQuote();
  } else if (Contains(Delimiters, c)) {
    token = {position_++, 1, tkDelimiter};
  } else {
    token = ReadWord();
  }
  return true;
}

TDRXParserToken TDRXParser::ReadQuote() {
  const size_t open = position_;
  const size_t close = QuotedTextAsSingleToken ? text_.find(text_[open], open + 1) : UStringView::npos;
  if (close == UStringView::npos) {
    ++position_;
    return {open, 1, tkQuote};
  }
  position_ = close + 1;
  return RemoveQuotes ? TDRXParserToken{open + 1, close - open - 1, tkQuotedText}
                      : TDRXParserToken{open, close - open + 1, tkQuotedText};
}

TDRXParserToken TDRXParser::ReadWord() {
  const size_t start = position_;
  while (position_ < text_.size() && !Contains(Delimiters, text_[position_])) ++position_;
  return {start, position_ - start, tkWord};
}
