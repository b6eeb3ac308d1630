#include "DRX.Crypto.h"

#include <utility>

#include "DRX.Exceptions.h"

void TRC4::Initialize(TRC4State& state, std::span<const uint8_t> key) {
  if (key.empty()) throw EInvalidOperation(u"Invalid Arguments");
  for (int i = 0; i < 256; ++i) state.S[i] = static_cast<uint8_t>(i);
  uint8_t j = 0;
  for (size_t i = 0; i < 256; ++i) {
    j = static_cast<uint8_t>(j + state.S[i] + key[i % key.size()]);
    std::swap(state.S[i], state.S[j]);
  }
  state.I = 0;
  state.J = 0;
}

void TRC4::Crypt(TRC4State& state, const void* source, void* target, int64_t count) {
  // The indices live in locals so that the loop runs out of registers.
  uint8_t* s = state.S;
  uint8_t i = static_cast<uint8_t>(state.I);
  uint8_t j = static_cast<uint8_t>(state.J);
  const auto* in = static_cast<const uint8_t*>(source);
  auto* out = static_cast<uint8_t*>(target);
  for (int64_t n = 0; n < count; ++n) {
    i = static_cast<uint8_t>(i + 1);
    const uint8_t si = s[i];
    j = static_cast<uint8_t>(j + si);
    const uint8_t sj = s[j];
    s[i] = sj;
    s[j] = si;
    out[n] = in[n] ^ s[static_cast<uint8_t>(si + sj)];
  }
  state.I = i;
  state.J = j;
}
