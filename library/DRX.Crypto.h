#pragma once
// The RC4 stream cipher as published: key schedule over the key bytes, no
// keystream bytes dropped. Enciphering and deciphering are the same operation.

#include <cstdint>
#include <span>

struct TRC4State {
  uint8_t S[256];
  int32_t I;
  int32_t J;
};

class TRC4 {
 public:
  // Only the first 256 key bytes take part; an empty key raises EInvalidOperation.
  static void Initialize(TRC4State& state, std::span<const uint8_t> key);
  // XORs count bytes of source with the next keystream bytes into target, which
  // may be source itself. The keystream continues from call to call.
  static void Crypt(TRC4State& state, const void* source, void* target, int64_t count);
};
