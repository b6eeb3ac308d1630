#pragma once
// Registry access (Windows): a key handle that closes itself, values read as
// stored, and the deletion of a whole key tree. Every key is opened in the
// 64-bit view of the registry.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "DRX.Strings.h"

class TDRXRegistryKey {
 public:
  TDRXRegistryKey() = default;
  ~TDRXRegistryKey() { Close(); }
  TDRXRegistryKey(const TDRXRegistryKey&) = delete;
  TDRXRegistryKey& operator=(const TDRXRegistryKey&) = delete;

  // Both close a key opened before; false when the key cannot be opened / created.
  bool Open(HKEY root, const UString& path, REGSAM access);
  bool Create(HKEY root, const UString& path, REGSAM access);
  void Close();
  bool IsOpen() const { return handle_ != nullptr; }

  // A REG_SZ or REG_EXPAND_SZ value as stored (variables not expanded), up to
  // its first zero character; a missing value or one of another type reads as empty.
  UString ReadString(const UString& name) const;
  // REG_SZ, stored with its terminating zero character.
  bool WriteString(const UString& name, const UString& value);
  bool WriteInteger(const UString& name, uint32_t value);  // REG_DWORD
  // A REG_DWORD value; false (and `value` unchanged) when it is missing or of another type.
  bool ReadInteger(const UString& name, uint32_t& value) const;

  // The subkeys' names in the registry's enumeration order. Names longer than
  // kMaxKeyNameLength are left out.
  static constexpr size_t kMaxKeyNameLength = 260;
  std::vector<UString> SubKeyNames() const;

  // Deletes the subkey `name` of this key with everything below it.
  bool DeleteSubKeyTree(const UString& name);

 private:
  HKEY handle_ = nullptr;
};
