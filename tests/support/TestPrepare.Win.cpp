#include <windows.h>

#include "TestPrepare.h"

#include <zip.h>

#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "uInstaller.Core.FileUtils.h"
#include "uInstaller.Core.Repository.h"

std::map<std::string, std::string> ReadArchive(const UString& fileName) {
  std::map<std::string, std::string> entries;
  int error = 0;
  zip_t* archive = zip_open(Utf16ToUtf8(fileName).c_str(), ZIP_RDONLY, &error);
  EXPECT_NE(archive, nullptr) << Utf16ToUtf8(fileName);
  if (!archive) return entries;
  for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
    zip_stat_t stat;
    zip_stat_index(archive, i, ZIP_FL_ENC_RAW, &stat);
    EXPECT_EQ(stat.comp_method, ZIP_CM_DEFLATE) << stat.name;
    std::string content(stat.size, '\0');
    zip_file_t* file = zip_fopen_index(archive, i, 0);
    EXPECT_EQ(zip_fread(file, content.data(), stat.size), static_cast<zip_int64_t>(stat.size));
    zip_fclose(file);
    entries[stat.name] = content;
  }
  zip_discard(archive);
  return entries;
}

std::set<std::string> NamesOf(const std::map<std::string, std::string>& entries) {
  std::set<std::string> names;
  for (const auto& [name, content] : entries) names.insert(name);
  return names;
}

std::set<UString> FilesBelow(const UString& folder) {
  TDRXStringList found;
  FindFiles(folder, u"", found);
  std::set<UString> files;
  for (int i = 0; i < found.Count(); ++i) files.insert(found.Strings(i).substr(folder.size()));
  return files;
}

void WriteFiles(const UString& folder, std::initializer_list<const char16_t*> names) {
  for (const char16_t* name : names) {
    ASSERT_TRUE(ForceDirectories(ExtractFilePath(folder + name)));
    WriteFileBytes(folder + name, Utf16ToUtf8(name));
  }
}

PrepareAction::PrepareAction() {
  for (const UStringView name : {u"Ovix", u"Ovix3"}) TInstallerApplicationRepository::Unregister(UString(name));
}

PrepareAction::~PrepareAction() {
  if (installer) installer->RemoveListener(&status);
}

void PrepareAction::Open(UStringView switches) {
  if (installer) installer->RemoveListener(&status);
  installer.reset();
  installer = MakeOvixInstaller(u"/AUTO=\"" + dest + u"\" " + UString(switches));
  installer->AddListener(&status);
}

UString PrepareAction::AddUser(const UString& name) {
  accounts.Add(IntToStr(3000 + ++userCount), users.Path() + name);
  const UString appData = users.Path() + name + u"\\AppData\\Roaming\\";
  EXPECT_TRUE(ForceDirectories(appData));
  return appData;
}

std::unique_ptr<TInstallerActionPrepare> PrepareAction::Run(UStringView switches) {
  Open(switches);
  auto action = std::make_unique<TInstallerActionPrepare>();
  action->Execute();
  return action;
}

std::vector<UString> PrepareAction::Archives() {
  std::vector<UString> names;
  for (const TDRXFolderEntry& entry : ListFolderEntries(dest + u"!Backup\\")) names.push_back(entry.Name);
  return names;
}
