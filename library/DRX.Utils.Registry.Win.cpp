#include "DRX.Utils.Registry.h"

bool TDRXRegistryKey::Open(HKEY root, const UString& path, REGSAM access) {
  Close();
  if (RegOpenKeyExW(root, W(path), 0, access | KEY_WOW64_64KEY, &handle_) == ERROR_SUCCESS) return true;
  handle_ = nullptr;
  return false;
}

bool TDRXRegistryKey::Create(HKEY root, const UString& path, REGSAM access) {
  Close();
  if (RegCreateKeyExW(root, W(path), 0, nullptr, REG_OPTION_NON_VOLATILE, access | KEY_WOW64_64KEY, nullptr,
                      &handle_, nullptr) == ERROR_SUCCESS)
    return true;
  handle_ = nullptr;
  return false;
}

void TDRXRegistryKey::Close() {
  if (handle_) RegCloseKey(handle_);
  handle_ = nullptr;
}

UString TDRXRegistryKey::ReadString(const UString& name) const {
  if (!handle_) return {};
  DWORD type = 0;
  DWORD size = 0;
  LSTATUS status = RegQueryValueExW(handle_, W(name), nullptr, &type, nullptr, &size);
  // The value may grow between the two calls: ask again with the new size.
  while (status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
    UString data(size / sizeof(char16_t) + 1, u'\0');
    DWORD capacity = static_cast<DWORD>((data.size() - 1) * sizeof(char16_t));
    status = RegQueryValueExW(handle_, W(name), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &capacity);
    if (status == ERROR_MORE_DATA) {
      size = capacity;
      status = ERROR_SUCCESS;
      continue;
    }
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) break;
    data.resize(capacity / sizeof(char16_t));
    return data.substr(0, data.find(u'\0'));
  }
  return {};
}

bool TDRXRegistryKey::WriteString(const UString& name, const UString& value) {
  const DWORD size = static_cast<DWORD>((value.size() + 1) * sizeof(char16_t));
  return handle_ && RegSetValueExW(handle_, W(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), size) ==
                        ERROR_SUCCESS;
}

bool TDRXRegistryKey::WriteInteger(const UString& name, uint32_t value) {
  const DWORD data = value;
  return handle_ &&
         RegSetValueExW(handle_, W(name), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data) ==
             ERROR_SUCCESS;
}

bool TDRXRegistryKey::ReadInteger(const UString& name, uint32_t& value) const {
  DWORD data = 0;
  DWORD type = 0;
  DWORD size = sizeof data;
  if (!handle_ || RegQueryValueExW(handle_, W(name), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof data)
    return false;
  value = data;
  return true;
}

std::vector<UString> TDRXRegistryKey::SubKeyNames() const {
  std::vector<UString> names;
  if (!handle_) return names;
  for (DWORD index = 0;; ++index) {
    wchar_t name[kMaxKeyNameLength + 1];
    DWORD length = kMaxKeyNameLength + 1;
    const LSTATUS status = RegEnumKeyExW(handle_, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) break;
    names.push_back(FromW(name, length));
  }
  return names;
}

bool TDRXRegistryKey::DeleteSubKeyTree(const UString& name) {
  return handle_ && !name.empty() && RegDeleteTreeW(handle_, W(name)) == ERROR_SUCCESS;
}
