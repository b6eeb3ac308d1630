#include "DRX.Encoding.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

using namespace std::literals;

TEST(Encoding, ByteOrderMarksAreRecognisedOnlyWithThreeBytes) {
  TDRXEncoding found = TDRXEncoding::Ansi();
  EXPECT_EQ(DetectByteOrderMark("\xEF\xBB\xBFx", found), 3u);
  EXPECT_EQ(found, TDRXEncoding::Utf8());
  EXPECT_EQ(DetectByteOrderMark("\xFF\xFEx\0"sv, found), 2u);
  EXPECT_EQ(found, TDRXEncoding::Utf16LE());
  EXPECT_EQ(DetectByteOrderMark("\xFE\xFF\0x"sv, found), 2u);
  EXPECT_EQ(found, TDRXEncoding::Utf16BE());
  found = TDRXEncoding::Ansi();
  EXPECT_EQ(DetectByteOrderMark("\xFF\xFE", found), 0u);
  EXPECT_EQ(found, TDRXEncoding::Ansi());
}

TEST(Encoding, TextRoundTripsThroughEveryEncoding) {
  const UString text = u"Ovix \u00C4\u00F6 \u0416 \U0001F600";
  for (const auto& encoding : {TDRXEncoding::Utf8(), TDRXEncoding::Utf16LE(), TDRXEncoding::Utf16BE()}) {
    UString decoded;
    ASSERT_TRUE(TryDecodeText(encoding, EncodeText(encoding, text), decoded));
    EXPECT_EQ(decoded, text);
  }
  const UString latin = u"caf\u00E9 \u20AC";
  EXPECT_EQ(EncodeText(TDRXEncoding::Ansi(1252), latin), "caf\xE9 \x80");
  EXPECT_EQ(DecodeText(TDRXEncoding::Ansi(1252), "caf\xE9 \x80"), latin);
  EXPECT_EQ(DecodeText(TDRXEncoding::Ansi(1251), "\xC6"), u"\u0416");
}

TEST(Encoding, InvalidUtf8FallsBackToAnsi) {
  TDRXEncoding detected;
  const UString text = DecodeTextDetectingEncoding("\xEF\xBB\xBF" "caf\xE9", TDRXEncoding::Ansi(1252), detected);
  EXPECT_EQ(detected, TDRXEncoding::Utf8());
  EXPECT_EQ(text, u"caf\u00E9");
  EXPECT_EQ(DecodeTextDetectingEncoding("a\x00" "b\x00" "c"sv, TDRXEncoding::Utf16LE(), detected), u"ab")
      << "an odd trailing byte is ignored";
}

TEST(Encoding, AUtf16MarkAloneIsAnEmptyText) {
  TDRXEncoding detected;
  EXPECT_EQ(DecodeTextDetectingEncoding("\xFF\xFE", TDRXEncoding::Ansi(1252), detected), u"");
  EXPECT_EQ(detected, TDRXEncoding::Utf16LE());
  EXPECT_EQ(DecodeTextDetectingEncoding("\xFE\xFF", TDRXEncoding::Ansi(1252), detected), u"");
  EXPECT_EQ(detected, TDRXEncoding::Utf16BE());
  EXPECT_EQ(DecodeTextDetectingEncoding("\xFF\xFF", TDRXEncoding::Ansi(1252), detected), u"\u00FF\u00FF");
}
