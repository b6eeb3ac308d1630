#pragma once
// TDRXParser: a configurable tokenizer over a text. It splits the text into
// single space, delimiter and quote characters, quoted texts and words; each
// token refers to a range of the text. There is no escape character.

#include <cstdint>

#include "DRX.Strings.h"

enum TDRXParserTokenKind : uint8_t { tkSpace, tkDelimiter, tkQuote, tkQuotedText, tkWord };

struct TDRXParserToken {
  size_t Start = 0;
  size_t Length = 0;  // 0 for an empty quoted text
  TDRXParserTokenKind Kind = tkWord;
};

class TDRXParser {
 public:
  TDRXParser(UStringView delimiters, UStringView quoteChars, UStringView spaceChars)
      : Delimiters(delimiters), QuoteChars(quoteChars), SpaceChars(spaceChars) {}

  // The character sets, each given as the string of its members.
  UString Delimiters;
  UString QuoteChars;
  UString SpaceChars;
  // A quote character starts a tkQuotedText up to the next same character;
  // without a closing one (or with this off) it is a single tkQuote.
  bool QuotedTextAsSingleToken = false;
  // A tkQuotedText covers the text between the quotes, else the quotes too.
  bool RemoveQuotes = true;
  bool SkipDelimiters = true;
  bool SkipSpaces = true;
  bool SkipQuotes = false;

  // The parser reads the text in place: it must outlive the reading.
  void SetText(UStringView text);
  UStringView Text() const { return text_; }
  // Where reading continues: just after the last token read.
  size_t Position() const { return position_; }

  // The next token that the Skip switches let through; false at the end.
  bool GetToken(TDRXParserToken& token);
  // The next token of any kind; false at the end.
  bool ReadToken(TDRXParserToken& token);
  UStringView TokenText(const TDRXParserToken& token) const { return text_.substr(token.Start, token.Length); }

 private:
  bool IsSkipped(TDRXParserTokenKind kind) const;
  TDRXParserToken ReadQuote();
  TDRXParserToken ReadWord();

  UStringView text_;
  size_t position_ = 0;
};
