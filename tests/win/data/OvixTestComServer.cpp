// A stand-in COM server for the unregistration tests. DllUnregisterServer
// writes "unregistered.txt" beside the library: the current folder seen while
// the library was being loaded, a line break, and the error mode seen by the call.
#include <windows.h>

#include <string>

namespace {
HMODULE gModule = nullptr;
wchar_t gLoadFolder[MAX_PATH] = {};

std::string Utf8(const std::wstring& text) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string result(length, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), result.data(), length, nullptr, nullptr);
  return result;
}
}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    gModule = instance;
    GetCurrentDirectoryW(MAX_PATH, gLoadFolder);
  }
  return TRUE;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() {
  wchar_t path[MAX_PATH];
  const std::wstring library(path, GetModuleFileNameW(gModule, path, MAX_PATH));
  const std::wstring marker = library.substr(0, library.rfind(L'\\') + 1) + L"unregistered.txt";
  const std::string text = Utf8(gLoadFolder) + "\n" + std::to_string(GetErrorMode());
  const HANDLE file = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return E_FAIL;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return S_OK;
}
