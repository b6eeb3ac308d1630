#include "DRX.Utils.Parser.h"

#include <gtest/gtest.h>

namespace {

// Each token as "<kind letter>:<text>", separated by "|".
UString Tokens(TDRXParser& parser, UStringView text) {
  static const char16_t kKinds[] = u"SDQTW";
  parser.SetText(text);
  UString out;
  TDRXParserToken token;
  while (parser.GetToken(token)) {
    if (!out.empty()) out.push_back(u'|');
    out += UString(1, kKinds[token.Kind]) + u":" + UString(parser.TokenText(token));
  }
  return out;
}

}  // namespace

TEST(Parser, TokenKindsFollowTheConfiguration) {
  TDRXParser parser(u", ", u"\"'", u" ");
  EXPECT_EQ(Tokens(parser, u"a, \"b c\",d"), u"W:a|Q:\"|W:b|W:c\"|W:d") << "defaults skip spaces and delimiters";

  parser.QuotedTextAsSingleToken = true;
  parser.SkipDelimiters = false;
  parser.SkipSpaces = false;
  EXPECT_EQ(Tokens(parser, u"a, \"b c\",'x\"y'"), u"W:a|D:,|S: |T:b c|D:,|T:x\"y");
  EXPECT_EQ(Tokens(parser, u"\"\"x\"open"), u"T:|W:x\"open") << "an empty quoted text does not end the reading";

  parser.RemoveQuotes = false;
  parser.SkipQuotes = true;
  EXPECT_EQ(Tokens(parser, u"\"a\\\" 'b"), u"T:\"a\\\"|S: |W:b") << "no escape character; a lone quote is skipped";

  parser.Delimiters = UString(u",");
  EXPECT_EQ(Tokens(parser, u" a b\"c,d"), u"S: |W:a b\"c|D:,|W:d") << "spaces and quotes inside a word belong to it";
}
