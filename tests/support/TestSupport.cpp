#include "TestSupport.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>

#include "DRX.Platform.h"
#include "DRX.UI.Application.h"

namespace fs = std::filesystem;

namespace {
fs::path ToNative(const UString& path) {
#ifdef _WIN32
  return fs::path(std::wstring(path.begin(), path.end()));
#else
  return fs::path(Utf16ToUtf8(path));
#endif
}

UString FromNative(const fs::path& path) {
#ifdef _WIN32
  const std::wstring text = path.wstring();
  return UString(text.begin(), text.end());
#else
  return Utf8ToUtf16(path.string());
#endif
}
}  // namespace

TTempFolder::TTempFolder() {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  native_ = ToNative(PlatformTempFolder()) /
            ("ovix-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  fs::create_directories(native_);
  path_ = FromNative(native_);
#ifdef _WIN32
  path_.push_back(u'\\');
#else
  path_.push_back(u'/');
#endif
}

TTempFolder::~TTempFolder() {
  std::error_code ignored;
  fs::permissions(native_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(native_, ignored);
}

void WriteFileBytes(const UString& fileName, std::string_view bytes) {
  std::ofstream out(ToNative(fileName), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFileBytes(const UString& fileName) {
  std::ifstream in(ToNative(fileName), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

UString TestDataFile(UStringView name) { return Utf8ToUtf16(OVIX_TEST_DATA) + UString(name); }

UString CompiledSkinFile(UStringView name) { return Utf8ToUtf16(OVIX_SKINS_DIR) + UString(name) + u".drxskin"; }
UString ProductSetupFile(UStringView name) { return Utf8ToUtf16(OVIX_PRODUCT_SETUP_DIR) + UString(name); }
UString CompiledFormFile(UStringView name) { return Utf8ToUtf16(OVIX_FORMS_DIR) + UString(name) + u".drxform"; }

std::vector<UString> ListStrings(const TDRXStringList& list) {
  std::vector<UString> strings;
  for (int i = 0; i < list.Count(); ++i) strings.push_back(list.Strings(i));
  return strings;
}

UString FolderLevels(int count) {
  UString levels;
  for (int level = 0; level < count; ++level) levels += u"a\\";
  return levels;
}

namespace {
bool testThemeDark = false;
bool ReadTestTheme() { return testThemeDark; }
}  // namespace

void UseTestTheme(bool dark) {
  testThemeDark = dark;
  TDRXApplication::SetDarkModeReader(&ReadTestTheme);
  TDRXApplication::UpdateDarkMode();
}

void UseSystemTheme() {
  TDRXApplication::SetDarkModeReader(nullptr);
  TDRXApplication::UpdateDarkMode();
}
