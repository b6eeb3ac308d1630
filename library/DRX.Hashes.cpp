#include "DRX.Hashes.h"

#include <array>
#include <cstring>

namespace {

constexpr uint32_t kCrcPolynomial = 0x04C11DB7;
constexpr int64_t kStreamBlockSize = 0x10000;

// Slicing tables: Tables[0] is the byte table, Tables[k][b] is the CRC of byte b
// followed by k zero bytes, so eight bytes are folded in per step.
using TCrcTables = std::array<std::array<uint32_t, 256>, 8>;

constexpr TCrcTables MakeCrcTables() {
  TCrcTables tables{};
  for (uint32_t b = 0; b < 256; ++b) {
    uint32_t crc = b << 24;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x80000000u) ? (crc << 1) ^ kCrcPolynomial : crc << 1;
    tables[0][b] = crc;
  }
  for (size_t k = 1; k < tables.size(); ++k)
    for (uint32_t b = 0; b < 256; ++b)
      tables[k][b] = (tables[k - 1][b] << 8) ^ tables[0][tables[k - 1][b] >> 24];
  return tables;
}

constexpr TCrcTables kCrcTables = MakeCrcTables();

uint32_t LoadBigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

uint32_t UpdateCrc(uint32_t crc, const uint8_t* p, int64_t count) {
  const auto& t = kCrcTables;
  for (; count >= 8; p += 8, count -= 8) {
    const uint32_t high = crc ^ LoadBigEndian32(p);
    crc = t[7][high >> 24] ^ t[6][(high >> 16) & 0xFF] ^ t[5][(high >> 8) & 0xFF] ^ t[4][high & 0xFF] ^
          t[3][p[4]] ^ t[2][p[5]] ^ t[1][p[6]] ^ t[0][p[7]];
  }
  for (; count > 0; ++p, --count) crc = (crc << 8) ^ t[0][(crc >> 24) ^ *p];
  return crc;
}

}  // namespace

void TDRXHash::Reset(TDRXHashState& state) const {
  Finalize(state);
  Initialize(state);
}

void TDRXHash::UpdateFromStream(TDRXHashState& state, TStream& stream, const TDRXHashProgress& progress) const {
  if (auto* memory = dynamic_cast<TCustomMemoryStream*>(&stream)) {
    const int64_t position = memory->Position();
    const auto* bytes = static_cast<const TCustomMemoryStream*>(memory)->Memory();
    if (position < memory->Size()) Update(state, bytes + position, memory->Size() - position);
    return;
  }
  const int64_t size = stream.Size();
  std::vector<uint8_t> block(kStreamBlockSize);
  for (int64_t position = stream.Position(); position < size;) {
    const int64_t got = stream.Read(block.data(), kStreamBlockSize);
    if (got <= 0) break;
    Update(state, block.data(), got);
    position += got;
    if (progress) progress(position, size);
  }
}

void TDRXHash::UpdateFromFile(TDRXHashState& state, const UString& fileName, const TDRXHashProgress& progress) const {
  TFileStream file(fileName, fmOpenRead | fmShareDenyNone);
  UpdateFromStream(state, file, progress);
}

TDRXHashValue TDRXHashCRC32::Finalize(TDRXHashState& state) const {
  const uint32_t crc = StateAs<TState>(state).Crc;
  state.reset();
  return crc;
}

void TDRXHashCRC32::Initialize(TDRXHashState& state) const {
  auto record = std::make_unique<TState>();
  record->Table = kCrcTables[0].data();
  state = std::move(record);
}

void TDRXHashCRC32::Update(TDRXHashState& state, const void* data, int64_t count) const {
  TState& record = StateAs<TState>(state);
  record.Crc = UpdateCrc(record.Crc, static_cast<const uint8_t*>(data), count);
}

uint32_t TDRXHashCRC32::Continue(uint32_t crc, const void* data, int64_t count) {
  return UpdateCrc(crc, static_cast<const uint8_t*>(data), count);
}

UString DigestToHex(const uint8_t* digest, size_t size) {
  static const char16_t kDigits[] = u"0123456789abcdef";
  UString text;
  text.reserve(size * 2);
  for (size_t i = 0; i < size; ++i) {
    text.push_back(kDigits[digest[i] >> 4]);
    text.push_back(kDigits[digest[i] & 0xF]);
  }
  return text;
}
