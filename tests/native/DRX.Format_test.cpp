#include "DRX.Format.h"

#include <gtest/gtest.h>

#include "DRX.Exceptions.h"
#include "TestSupport.h"

TEST(Format, FillsTextAndIntegerDirectives) {
  struct Case {
    const char16_t* pattern;
    std::initializer_list<TFormatArg> args;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"Cannot install update on v%s", {u"4.80"}, u"Cannot install update on v4.80"},
      {u"/%s=%d %s", {u"SKIPUAC", 65582, u"/AUTO"}, u"/SKIPUAC=65582 /AUTO"},
      {u"100%% done", {}, u"100% done"},
      {u"%d", {int64_t(-9223372036854775807LL - 1)}, u"-9223372036854775808"},
      {u"[%5s|%-5s]", {u"ab", u"cd"}, u"[   ab|cd   ]"},
      {u"%.3d %.2s %x", {7, u"abcdef", 255}, u"007 ab FF"},
      {u"%1:s %0:s", {u"a", u"b"}, u"b a"},
      {u"%*d", {4, 12}, u"  12"},
      {u"LZMA Error (%d)", {4}, u"LZMA Error (4)"},
  };
  for (const auto& c : cases) EXPECT_EQ(Format(c.pattern, c.args), c.expected) << Utf16ToUtf8(c.pattern);
}

TEST(Format, PatternsThatDoNotFitTheirArgumentsRaise) {
  EXPECT_THROW(Format(u"%s %s", {u"one"}), EConvertError);
  EXPECT_THROW(Format(u"%d", {u"text"}), EConvertError);
  EXPECT_THROW(Format(u"%s", {42}), EConvertError);
  EXPECT_THROW(Format(u"%", {}), EConvertError);
  EXPECT_THROW(Format(u"%f", {1}), EConvertError);
}

TEST(OSError, MessageCarriesCodeSystemTextAndAdditionalText) {
  const EOSError error(5, u"a -> b");
  const UString& text = error.Message();
  EXPECT_TRUE(StartsWith(text, u"System Error.  Code: 5.\r\n")) << error.what();
  EXPECT_TRUE(EndsWith(text, u"a -> b")) << error.what();
}
