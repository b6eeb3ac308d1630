#include "uInstaller.Core.Package.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {

// A copy of this test program carrying RCDATA resources, loaded as a data file.
class TModuleWithResources {
 public:
  TModuleWithResources(const TTempFolder& folder, const std::vector<std::pair<UString, std::string>>& resources) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const UString copy = folder.File(u"resources.exe");
    EXPECT_TRUE(CopyFileW(self, W(copy), FALSE));
    HANDLE update = BeginUpdateResourceW(W(copy), FALSE);
    EXPECT_NE(update, nullptr);
    for (const auto& [name, bytes] : resources)
      EXPECT_TRUE(UpdateResourceW(update, RT_RCDATA, W(name), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                  const_cast<char*>(bytes.data()), static_cast<DWORD>(bytes.size())));
    EXPECT_TRUE(EndUpdateResourceW(update, FALSE));
    module_ = LoadLibraryExW(W(copy), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_NE(module_, nullptr);
  }
  ~TModuleWithResources() { FreeLibrary(module_); }
  HMODULE Handle() const { return module_; }

 private:
  HMODULE module_ = nullptr;
};

std::string Package(std::string_view content) {
  TSetupPackageBuilder builder(PackageKey);
  TMemoryStream stream(content);
  builder.Add(stream, u"Install.xml");
  TMemoryStream package;
  builder.Commit(package, 4);
  return std::string(package.Bytes());
}

}  // namespace

TEST(SetupPackageResource, ReadsThePackageResourceOfAModule) {
  TTempFolder folder;
  const std::string setup = Package("<Install/>");
  TModuleWithResources module(folder, {{u"SETUP", setup}, {u"PRODUCT", setup.substr(0, 30)}});

  TSetupPackageReader reader(module.Handle(), u"SETUP");
  std::unique_ptr<TMemoryStream> stream;
  ASSERT_TRUE(reader.Extract(u"install.xml", stream));
  EXPECT_EQ(stream->Bytes(), "<Install/>");
  EXPECT_THROW(TSetupPackageReader(module.Handle(), u"PRODUCT"), ESetupPackageReadError);
  EXPECT_THROW(TSetupPackageReader(module.Handle(), u"MISSING"), EStreamError);
}
