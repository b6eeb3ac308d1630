// Import of marked-up text into blocks, shown as a compact description:
// 'word' for a text block, _ for a space, / for a line break, <B> and </B> for
// styles (<COLOR=RRGGBB>, <FILL=RRGGBB>, <URL=target> with their parameter).
#include "DRX.Graphics.TextLayout.Import.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

UString Hex(TColor color) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X%02X%02X", RedOf(color), GreenOf(color), BlueOf(color));
  return Utf8ToUtf16(text);
}

UString Describe(const TDRXTextLayoutBlock& block) {
  const auto* style = dynamic_cast<const TDRXTextLayoutBlockStyle*>(&block);
  if (!style) {
    switch (block.Kind()) {
      case bkText: {
        UString text = u"'";
        text.append(static_cast<const TDRXTextLayoutBlockText&>(block).Chars()).append(u"'");
        return text;
      }
      case bkSpace: return u"_";
      default: return u"/";
    }
  }
  static const char16_t* const kNames[] = {u"B", u"I", u"S", u"U", u"COLOR", u"FILL", u"URL"};
  UString text(style->Closing ? u"</" : u"<");
  text.append(kNames[style->StyleKind()]);
  if (!style->Closing) {
    if (auto* color = dynamic_cast<const TDRXTextLayoutBlockStyleColor*>(style)) text.append(u"=").append(Hex(color->Color));
    if (auto* fill = dynamic_cast<const TDRXTextLayoutBlockStyleFill*>(style)) text.append(u"=").append(Hex(fill->Color));
    if (auto* link = dynamic_cast<const TDRXTextLayoutBlockStyleHyperlink*>(style)) text.append(u"=").append(link->Target);
  }
  return text.append(u">");
}

UString Import(UStringView text, const TDRXTextImportSettings& settings = {}) {
  static std::vector<int32_t> widths;
  widths.assign(text.size(), 0);
  TDRXTextLayoutBlocks blocks;
  ImportTextLayoutBlocks(text, widths.data(), settings, blocks);
  UString description;
  for (const auto& block : blocks) description += Describe(*block);
  return description;
}

struct Case {
  const char16_t* text;
  const char16_t* expected;
};

void ExpectImports(std::initializer_list<Case> cases, const TDRXTextImportSettings& settings = {}) {
  for (const Case& c : cases) EXPECT_EQ(Import(c.text, settings), c.expected) << Utf16ToUtf8(c.text);
}

TEST(TextLayoutImport, TagsWithFullNamesInAnyCaseBecomeStyles) {
  ExpectImports({
      {u"[b]bold[/b] [x]text", u"<B>'bold'</B>_'[''x'']''text'"},
      {u"[I]a[/i][s]b[/S][u]c[/u]", u"<I>'a'</I><S>'b'</S><U>'c'</U>"},
      {u"[bold]a[/bo]", u"'[''bold'']''a''[''/''bo'']'"},
      {u"[b=1]x[/b=1]", u"<B>'x''[''/''b''=''1'']'"},
      {u"[b x", u"'[''b'_'x'"},
      {u"[[b]]", u"'['<B>']'"},
      {u"[]", u"'['']'"},
      {u"[/]x", u"'[''/'']''x'"},
      {u"[backcolorx]", u"'[''backcolorx'']'"},
      {u"[url=http://x.org/?a=b]go[/url]", u"<URL=http://x.org/?a=b>'go'</URL>"},
      {u"[URL]in[/URL]", u"<URL=>'in'</URL>"},
  });
}

TEST(TextLayoutImport, ColourParametersByNameNumberOrHexDigits) {
  ExpectImports({
      {u"[color=#FF8000]a[/color]", u"<COLOR=FF8000>'a'</COLOR>"},
      {u"[color=red]a", u"<COLOR=FF0000>'a'"},
      {u"[COLOR=clNavy]a", u"<COLOR=000080>'a'"},
      {u"[color=claOrange]a", u"<COLOR=FFA500>'a'"},
      {u"[color=$0000FF]a", u"<COLOR=FF0000>'a'"},
      {u"[color=abc]a", u"<COLOR=0ABC00>'a'"},
      {u"[color=FF00]a", u"<COLOR=FF0000>'a'"},
      {u"[color=#12345678]a", u"<COLOR=123456>'a'"},
      {u"[color]a", u"<COLOR=000000>'a'"},
      {u"[backcolor=Yellow]a[/backcolor]", u"<FILL=FFFF00>'a'</FILL>"},
  });
}

TEST(TextLayoutImport, LineBreaksAndEscapedLineBreaks) {
  ExpectImports({
      {u"a\\nb", u"'a'/'b'"},
      {u"a\r\nb\rc\nd\n\re", u"'a'/'b'/'c'/'d'//'e'"},
      {u"a\\", u"'a''\\'"},
      {u"a\\x", u"'a''\\''x'"},
  });
  TDRXTextImportSettings noEscapes;
  noEscapes.AllowCppLikeLineBreaks = false;
  ExpectImports({{u"a\\nb", u"'a''\\''nb'"}}, noEscapes);
}

TEST(TextLayoutImport, WebAddressesBecomeLinks) {
  ExpectImports({
      {u"see www.example.com/a?b=1 now", u"'see'_<URL=https://www.example.com/a?b=1>'www.example.com/a?b=1'</URL>_'now'"},
      {u"at http://example.com/path.", u"'at'_<URL=http://example.com/path.>'http://example.com/path.'</URL>"},
      {u"(ftp://h/x)", u"'('<URL=ftp://h/x>'ftp://h/x'</URL>')'"},
      {u"WWW.X[b]y", u"<URL=https://WWW.X>'WWW.X'</URL><B>'y'"},
      {u"wwww.x", u"'wwww''.''x'"},
      {u"www", u"'www'"},
      {u"http://", u"'http'':''/''/'"},
      {u"://x", u"':''/''/''x'"},
      {u"a ://x", u"'a'_':''/''/''x'"},
  });
  TDRXTextImportSettings noUrls;
  noUrls.AllowAutoURLDetect = false;
  ExpectImports({{u"www.x", u"'www''.''x'"}}, noUrls);
}

TEST(TextLayoutImport, EmailAddressesOnlyWhenAsked) {
  TDRXTextImportSettings email;
  email.AllowAutoEmailDetect = true;
  ExpectImports({
      {u"write john.doe@example.com now", u"'write'_<URL=mailto:john.doe@example.com>'john.doe@example.com'</URL>_'now'"},
      {u"(me+x@host-1.org)", u"'('<URL=mailto:me+x@host-1.org>'me+x@host-1.org'</URL>')'"},
      {u"x@y", u"<URL=mailto:x@y>'x@y'</URL>"},
      {u"a@-x.com", u"'a''@''-''x''.''com'"},
      {u"a@x..com", u"'a''@''x''.''.''com'"},
      {u"a@x.com.", u"'a''@''x''.''com''.'"},
      {u"a@b@c.d", u"'a''@''b''@''c''.''d'"},
      {u"@x.com", u"'@''x''.''com'"},
      {u"a,b@x.com", u"'a'',''b''@''x''.''com'"},
      {u"m\u00FC@x.com", u"'m\u00FC''@''x''.''com'"},
  }, email);
  ExpectImports({{u"write john@example.com", u"'write'_'john''@''example''.''com'"}});
}

TEST(TextLayoutImport, SpacesDelimitersAndWords) {
  ExpectImports({
      {u"a\tb", u"'a'_'b'"},
      {UStringView(u"a\0b", 3).data(), u"'a'"},  // the C string ends at the NUL
      {u"\u201Cq\u201D \u00ABr\u00BB \u2018s\u2019", u"'\u201C''q''\u201D'_'\u00AB''r''\u00BB'_'\u2018''s''\u2019'"},
      {u"\u4F60\u597D\uFF0C\u4E16\u754C\u3002", u"'\u4F60\u597D''\uFF0C''\u4E16\u754C''\u3002'"},
      {u"\u300C\u4E00\u300D\u3001\u300A\u4E8C\u300B", u"'\u300C''\u4E00''\u300D''\u3001''\u300A''\u4E8C''\u300B'"},
      {u"a\u200Bb", u"'a''\u200B''b'"},
      {u"x+y=z;", u"'x''+''y''=''z'';'"},
      {u"\U0001F600ok", u"'\U0001F600ok'"},
  });
  EXPECT_EQ(Import(UStringView(u"a\0b", 3)), u"'a'_'b'");
}

TEST(TextLayoutImport, WithoutFormattingTagsAreText) {
  TDRXTextImportSettings plain;
  plain.AllowFormatting = false;
  ExpectImports({{u"[b]x[/b]", u"'[''b'']''x''[''/''b'']'"}}, plain);
}

TEST(TextLayoutImport, BlocksKnowTheirPlaceInTheSource) {
  std::vector<int32_t> widths(20);
  TDRXTextLayoutBlocks blocks;
  ImportTextLayoutBlocks(u"[b]ab[/b] www.x", widths.data(), {}, blocks);
  ASSERT_EQ(blocks.size(), 7u);
  const std::pair<int32_t, int32_t> expected[] = {{1, 3}, {4, 2}, {6, 4}, {10, 1}, {11, 0}, {11, 5}, {16, 0}};
  for (size_t i = 0; i < blocks.size(); ++i) {
    EXPECT_EQ(blocks[i]->Position, expected[i].first) << i;
    EXPECT_EQ(blocks[i]->Length, expected[i].second) << i;
  }
  const auto& link = static_cast<const TDRXTextLayoutBlockText&>(*blocks[5]);
  EXPECT_EQ(link.Widths, widths.data() + 10);
  EXPECT_EQ(link.ShownLength, 5);
}

TEST(TextLayoutImport, TextBlocksTakeTheDirectionOfTheirFirstCharacter) {
  std::vector<int32_t> widths(32);
  TDRXTextLayoutBlocks blocks;
  ImportTextLayoutBlocks(u"abc \u05E9\u05DC\u05D5\u05DD \u0628\u0650\u0633\u0652 123", widths.data(), {}, blocks);
  std::vector<TDRXTextDirection> directions;
  for (const auto& block : blocks)
    if (block->Kind() == bkText) directions.push_back(static_cast<const TDRXTextLayoutBlockText&>(*block).Direction);
  EXPECT_EQ(directions, (std::vector<TDRXTextDirection>{tdLeftToRight, tdRightToLeft, tdRightToLeft, tdNeutral}));
}

}  // namespace
