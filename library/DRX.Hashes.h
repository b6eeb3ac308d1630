#pragma once
// Checksums and digests as class-level operations over a caller-held state:
// Initialize creates the state, Update feeds it, Finalize returns the result and
// frees the state. The CRC guards setup packages; MD5 compares files.

#include <cstdint>
#include <functional>
#include <memory>
#include <variant>

#include "DRX.Classes.Streams.h"
#include "DRX.Strings.h"

// Each hash class keeps its own fields in a record derived from this one.
struct TDRXHashStateData {
  virtual ~TDRXHashStateData() = default;
};
using TDRXHashState = std::unique_ptr<TDRXHashStateData>;

// The CRC yields a number, the digests yield lowercase hexadecimal text.
using TDRXHashValue = std::variant<uint32_t, UString>;

// Called with the stream position after each block read, and the stream's size.
using TDRXHashProgress = std::function<void(int64_t position, int64_t size)>;

class TDRXHash {
 public:
  virtual ~TDRXHash() = default;

  // Virtual operations in their library order.
  virtual TDRXHashValue Finalize(TDRXHashState& state) const = 0;
  virtual void Initialize(TDRXHashState& state) const = 0;
  virtual void Reset(TDRXHashState& state) const;
  virtual void Update(TDRXHashState& state, const void* data, int64_t count) const = 0;

  // In-memory streams are hashed in place from the position to the end, leaving
  // the position unchanged; other streams are read block by block to their size.
  void UpdateFromStream(TDRXHashState& state, TStream& stream, const TDRXHashProgress& progress = {}) const;
  // Opens the file for reading while others may read and write it.
  void UpdateFromFile(TDRXHashState& state, const UString& fileName, const TDRXHashProgress& progress = {}) const;

 protected:
  // The state's record, checked to be the one this class created.
  template <typename TRecord>
  static TRecord& StateAs(TDRXHashState& state) {
    auto* record = dynamic_cast<TRecord*>(state.get());
    if (!record) throw EInvalidOperation(u"Invalid Arguments");
    return *record;
  }
};

// CRC-32 over the most-significant-bit-first table of 0x04C11DB7: initial value 0,
// no reflection, no final XOR ("123456789" gives 0x89A1897F).
class TDRXHashCRC32 : public TDRXHash {
 public:
  struct TState : TDRXHashStateData {
    uint32_t Crc = 0;
    const uint32_t* Table = nullptr;  // the 256-entry table
  };

  TDRXHashValue Finalize(TDRXHashState& state) const override;
  void Initialize(TDRXHashState& state) const override;
  void Update(TDRXHashState& state, const void* data, int64_t count) const override;

  // The CRC of one block of bytes, or of the bytes that follow a block of that CRC.
  static uint32_t Calculate(const void* data, int64_t count) { return Continue(0, data, count); }
  static uint32_t Continue(uint32_t crc, const void* data, int64_t count);
};

#ifdef _WIN32
// A digest computed by the CryptoAPI: a verify-only context of the class's
// provider and a hash object of its algorithm. API failures raise EOSError.
class TDRXHashCryptoApiBased : public TDRXHash {
 public:
  TDRXHashValue Finalize(TDRXHashState& state) const override;
  void Initialize(TDRXHashState& state) const override;
  void Reset(TDRXHashState& state) const override;
  void Update(TDRXHashState& state, const void* data, int64_t count) const override;

  // Destroys the hash object and releases the context; never raises.
  virtual void ReleaseState(TDRXHashState& state) const;
  virtual uint32_t AlgorithmId() const = 0;
  virtual const wchar_t* ProviderName() const { return nullptr; }
  virtual uint32_t ProviderType() const { return 1; }  // PROV_RSA_FULL
};

class TDRXHashMD5 : public TDRXHashCryptoApiBased {
 public:
  uint32_t AlgorithmId() const override { return 0x8003; }  // CALG_MD5
};
#else
// MD5 computed by the library itself where the CryptoAPI does not exist.
class TDRXHashMD5 : public TDRXHash {
 public:
  TDRXHashValue Finalize(TDRXHashState& state) const override;
  void Initialize(TDRXHashState& state) const override;
  void Update(TDRXHashState& state, const void* data, int64_t count) const override;
};
#endif

// Lowercase hexadecimal text of a digest's bytes.
UString DigestToHex(const uint8_t* digest, size_t size);
