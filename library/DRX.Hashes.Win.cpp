// Digests through the CryptoAPI.
#include <windows.h>
#include <wincrypt.h>

#include <algorithm>
#include <vector>

#include "DRX.Hashes.h"

namespace {

struct TCryptoApiState : TDRXHashStateData {
  HCRYPTPROV Provider = 0;
  HCRYPTHASH Hash = 0;
};

void Check(BOOL succeeded) {
  if (!succeeded) RaiseLastOSError();
}

}  // namespace

void TDRXHashCryptoApiBased::Initialize(TDRXHashState& state) const {
  state = std::make_unique<TCryptoApiState>();
  auto& record = StateAs<TCryptoApiState>(state);
  try {
    Check(CryptAcquireContextW(&record.Provider, nullptr, ProviderName(), ProviderType(), CRYPT_VERIFYCONTEXT));
    Check(CryptCreateHash(record.Provider, AlgorithmId(), 0, 0, &record.Hash));
  } catch (...) {
    ReleaseState(state);
    throw;
  }
}

void TDRXHashCryptoApiBased::Reset(TDRXHashState& state) const {
  auto& record = StateAs<TCryptoApiState>(state);
  if (record.Hash) CryptDestroyHash(record.Hash);
  record.Hash = 0;
  Check(CryptCreateHash(record.Provider, AlgorithmId(), 0, 0, &record.Hash));
}

void TDRXHashCryptoApiBased::Update(TDRXHashState& state, const void* data, int64_t count) const {
  auto& record = StateAs<TCryptoApiState>(state);
  const auto* bytes = static_cast<const BYTE*>(data);
  for (int64_t left = count; left > 0;) {
    const DWORD chunk = static_cast<DWORD>(std::min<int64_t>(left, 0x40000000));
    Check(CryptHashData(record.Hash, bytes, chunk, 0));
    bytes += chunk;
    left -= chunk;
  }
}

TDRXHashValue TDRXHashCryptoApiBased::Finalize(TDRXHashState& state) const {
  auto& record = StateAs<TCryptoApiState>(state);
  try {
    DWORD hashSize = 0;
    DWORD length = sizeof hashSize;
    Check(CryptGetHashParam(record.Hash, HP_HASHSIZE, reinterpret_cast<BYTE*>(&hashSize), &length, 0));
    std::vector<uint8_t> digest(hashSize);
    length = hashSize;
    Check(CryptGetHashParam(record.Hash, HP_HASHVAL, digest.data(), &length, 0));
    ReleaseState(state);
    return DigestToHex(digest.data(), length);
  } catch (...) {
    ReleaseState(state);
    throw;
  }
}

void TDRXHashCryptoApiBased::ReleaseState(TDRXHashState& state) const {
  if (auto* record = dynamic_cast<TCryptoApiState*>(state.get())) {
    if (record->Hash) CryptDestroyHash(record->Hash);
    if (record->Provider) CryptReleaseContext(record->Provider, 0);
  }
  state.reset();
}
