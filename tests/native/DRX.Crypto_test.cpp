#include "DRX.Crypto.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DRX.Exceptions.h"

namespace {

std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

std::string Crypt(std::string_view key, std::string_view text) {
  TRC4State state;
  TRC4::Initialize(state, Bytes(key));
  std::string out(text.size(), '\0');
  TRC4::Crypt(state, text.data(), out.data(), static_cast<int64_t>(text.size()));
  return out;
}

std::string Hex(std::string_view bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (unsigned char c : bytes) text += {kDigits[c >> 4], kDigits[c & 15]};
  return text;
}

}  // namespace

TEST(RC4, MatchesThePublishedTestVectors) {
  EXPECT_EQ(Hex(Crypt("Key", "Plaintext")), "BBF316E8D940AF0AD3");
  EXPECT_EQ(Hex(Crypt("Wiki", "pedia")), "1021BF0420");
  EXPECT_EQ(Hex(Crypt("Secret", "Attack at dawn")), "45A01F645FC35B383552544B9BF5");
}

TEST(RC4, KeystreamContinuesAcrossCallsAndDecipheringRestores) {
  std::string plain(1000, '\0');
  for (size_t i = 0; i < plain.size(); ++i) plain[i] = static_cast<char>(i * 7 + 3);
  const std::vector<uint8_t> key = {0xF7, 0x21, 0x9C, 0x3A};
  const std::string whole = Crypt(std::string(key.begin(), key.end()), plain);

  TRC4State state;
  TRC4::Initialize(state, key);
  std::string pieces = plain;  // in place, in uneven blocks, with empty and negative counts between
  size_t at = 0;
  for (int64_t block : {1, 0, 255, -5, 256, 488}) {
    TRC4::Crypt(state, pieces.data() + at, pieces.data() + at, block);
    at += static_cast<size_t>(std::max<int64_t>(block, 0));
  }
  EXPECT_EQ(pieces, whole);
  EXPECT_EQ(state.I, 1000 % 256);

  TRC4::Initialize(state, key);
  TRC4::Crypt(state, pieces.data(), pieces.data(), static_cast<int64_t>(pieces.size()));
  EXPECT_EQ(pieces, plain);
}

TEST(RC4, OnlyTheFirst256KeyBytesCountAndAnEmptyKeyIsRefused) {
  std::string longKey(300, 'k');
  std::string otherTail = longKey;
  otherTail[280] = 'x';
  EXPECT_EQ(Crypt(longKey, "same"), Crypt(otherTail, "same"));
  TRC4State state;
  EXPECT_THROW(TRC4::Initialize(state, {}), EInvalidOperation);
}
