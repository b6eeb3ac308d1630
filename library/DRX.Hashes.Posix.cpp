// MD5 (RFC 1321) for platforms without the CryptoAPI.
#include <algorithm>
#include <cstring>

#include "DRX.Hashes.h"

namespace {

struct TMD5State : TDRXHashStateData {
  uint32_t A = 0x67452301, B = 0xEFCDAB89, C = 0x98BADCFE, D = 0x10325476;
  uint64_t Length = 0;  // bytes hashed so far
  uint8_t Pending[64] = {};
};

constexpr uint32_t kSines[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

constexpr int kShifts[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

uint32_t RotateLeft(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

void TransformBlock(TMD5State& s, const uint8_t* block) {
  uint32_t m[16];
  for (int i = 0; i < 16; ++i)
    m[i] = uint32_t{block[4 * i]} | (uint32_t{block[4 * i + 1]} << 8) | (uint32_t{block[4 * i + 2]} << 16) |
           (uint32_t{block[4 * i + 3]} << 24);
  uint32_t a = s.A, b = s.B, c = s.C, d = s.D;
  for (int i = 0; i < 64; ++i) {
    const int round = i / 16;
    uint32_t f;
    int g;
    switch (round) {
      case 0: f = (b & c) | (~b & d); g = i; break;
      case 1: f = (d & b) | (~d & c); g = (5 * i + 1) % 16; break;
      case 2: f = b ^ c ^ d; g = (3 * i + 5) % 16; break;
      default: f = c ^ (b | ~d); g = (7 * i) % 16; break;
    }
    const uint32_t rotated = RotateLeft(a + f + kSines[i] + m[g], kShifts[round][i % 4]);
    a = d;
    d = c;
    c = b;
    b += rotated;
  }
  s.A += a;
  s.B += b;
  s.C += c;
  s.D += d;
}

void Feed(TMD5State& s, const uint8_t* data, uint64_t count) {
  size_t used = static_cast<size_t>(s.Length % 64);
  s.Length += count;
  if (used) {
    const size_t take = static_cast<size_t>(std::min<uint64_t>(count, 64 - used));
    std::memcpy(s.Pending + used, data, take);
    data += take;
    count -= take;
    if (used + take < 64) return;
    TransformBlock(s, s.Pending);
  }
  for (; count >= 64; data += 64, count -= 64) TransformBlock(s, data);
  std::memcpy(s.Pending, data, static_cast<size_t>(count));
}

}  // namespace

TDRXHashValue TDRXHashMD5::Finalize(TDRXHashState& state) const {
  TMD5State& s = StateAs<TMD5State>(state);
  const uint64_t bitLength = s.Length * 8;
  uint8_t padding[72] = {0x80};
  const size_t padLength = (s.Length % 64 < 56) ? 56 - s.Length % 64 : 120 - s.Length % 64;
  for (int i = 0; i < 8; ++i) padding[padLength + i] = static_cast<uint8_t>(bitLength >> (8 * i));
  Feed(s, padding, padLength + 8);
  uint8_t digest[16];
  const uint32_t words[4] = {s.A, s.B, s.C, s.D};
  for (int i = 0; i < 16; ++i) digest[i] = static_cast<uint8_t>(words[i / 4] >> (8 * (i % 4)));
  state.reset();
  return DigestToHex(digest, sizeof digest);
}

void TDRXHashMD5::Initialize(TDRXHashState& state) const { state = std::make_unique<TMD5State>(); }

void TDRXHashMD5::Update(TDRXHashState& state, const void* data, int64_t count) const {
  if (count > 0) Feed(StateAs<TMD5State>(state), static_cast<const uint8_t*>(data), static_cast<uint64_t>(count));
}
