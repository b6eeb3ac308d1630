#pragma once
// The tolerant reader of XML text: a small tokenizer, not a validating parser.
// It never reports a syntax error; where the text stops making sense it stops
// and the tree keeps what was built so far.

#include <cstddef>
#include <optional>
#include <string_view>

#include "DRX.FileFormats.XML.h"

class TDRXTextXMLParser {
 public:
  // `text` must outlive the parser. `encoding` applies until a declaration
  // names another one.
  TDRXTextXMLParser(std::string_view text, const TDRXXMLEncoding& encoding);

  // Reads the elements into `document`. Only the document's own rules raise
  // (a second root: "Only one Root available").
  void Parse(TDRXXMLNode& document);

 private:
  enum TTokenKind : uint8_t {
    tkEnd, tkValue, tkEmptyTagEnd, tkClosingTagStart, tkComment, tkCData, tkTagStart, tkEquals, tkTagEnd, tkWord
  };
  struct TToken {
    TTokenKind Kind;
    size_t Start;
    std::string_view Content;  // a word, a value's inside, a comment's or character data's content
  };
  enum TTagResult : uint8_t { trFailed, trOpen, trComplete };

  TToken NextToken();
  std::optional<TToken> EnclosedToken(TTokenKind kind, std::string_view opening, std::string_view closing, bool& noClosing);
  TToken QuotedValue();
  TToken Word();

  bool ReadStartTag(TDRXXMLNode*& current, size_t tagStart);
  bool ReadDeclaration();
  TTagResult ReadTagContents(TDRXXMLNode& node);
  void ApplySpaceAttribute(TDRXXMLNode& node);
  void GivePendingText(TDRXXMLNode& node, size_t end);
  UString Decode(std::string_view bytes) const;

  std::string_view text_;
  size_t position_ = 0;
  TDRXXMLEncoding encoding_;
  const TDRXXMLNode* document_ = nullptr;
  std::optional<size_t> pendingText_;  // where the text not yet given to a node starts
  bool preserveSpace_ = false;
  // Once a closing "-->" or "]]>" is missing, it is missing for every later start too.
  bool noCommentEnd_ = false;
  bool noCDataEnd_ = false;
};
