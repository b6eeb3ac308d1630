#include <windows.h>

#include "uInstaller.Core.Extract.h"

#include "DRX.Classes.Thread.h"
#include "DRX.FileFormats.INI.h"
#include "DRX.Hashes.h"
#include "DRX.Platform.h"
#include "DRX.UI.Dialogs.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "uInstaller.Core.Exceptions.h"
#include "uInstaller.Core.FileUtils.h"
#include "uInstaller.Core.FileWriter.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Core.Package.h"
#include "uInstaller.Core.ProductInfo.h"
#include "uInstaller.Core.Repository.h"
#include "uInstaller.Core.Script.h"

TInstallerExtractHelper::TQuestion TInstallerExtractHelper::Question = AskAbortRetryIgnore;

namespace {

std::unique_ptr<TStream> TryCreate(const UString& fileName, uint16_t mode) {
  try {
    return std::make_unique<TFileStream>(fileName, mode);
  } catch (const EStreamError&) {
    return nullptr;
  }
}

// Created or truncated, read and write, shared with nobody.
std::unique_ptr<TStream> TryCreateExclusive(const UString& fileName) {
  if (!MayOverwriteInPlace(fileName)) return nullptr;
  return TryCreate(fileName, fmCreate | fmShareExclusive);
}

UString Md5OfRest(TStream& stream) {
  TDRXHashMD5 md5;
  TDRXHashState state;
  md5.Initialize(state);
  md5.UpdateFromStream(state, stream);
  return std::get<UString>(md5.Finalize(state));
}

// The file holds exactly what the source holds from its position on (which is kept).
bool HasContent(const UString& fileName, TStream& source) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyNone);  // whoever holds it open
  const int64_t start = source.Position();
  const bool same = SameText(Md5OfRest(file), Md5OfRest(source));
  source.SetPosition(start);
  return same;
}

}  // namespace

int AskAbortRetryIgnore(const UString& text) {
  return ShowMessageBox(nullptr, text, u"", MB_ABORTRETRYIGNORE | MB_ICONWARNING | MB_DEFBUTTON2);
}

UString TInstallerExtractHelper::FormatLangString(UStringView key, std::initializer_list<TFormatArg> args) {
  return Format(Installer->Resources().GetLangString(u"Common", key), args);
}

void TInstallerExtractHelper::ForceFolder(const UString& folder) {
  RefuseFolderLinks(folder);
  if (!ForceDirectories(folder)) throw EInstallerInstallError(FormatLangString(u"E3", {folder}));
}

void TInstallerExtractHelper::RequireSources(const std::vector<const TInstallerScriptFile*>& files) {
  for (const TInstallerScriptFile* file : files) Installer->Resources().RequireFile(file->GetSourceName());
}

void TInstallerExtractHelper::RefuseFolderLinks(const UString& folder) {
  const UString link = FirstFolderLinkBelow(Installer->DestPath(), folder);
  if (!link.empty()) throw EInstallerInstallError(FormatLangString(u"E3", {link}));
}

int TInstallerExtractHelper::Ask(const UString& text) {
  // Retrying would wait for ever, ignoring would report a success the run did not have.
  if (Installer->SuppressesMessageBoxes()) return IDABORT;
  int answer = IDIGNORE;
  Synchronize([&] { answer = Question(text); });
  return answer;
}

bool TInstallerExtractHelper::CreateTargetStream(const UString& fileName, TStream& source,
                                                 std::unique_ptr<TStream>& target) {
  // Where nothing is (no file, no link) the file is created at once, without a look first.
  if ((target = TryCreate(fileName, fmCreate | fmExclusive | fmShareExclusive))) {
    if (writer_) created_.push_back(fileName);
    return true;
  }
  // What is there is replaced or moved aside only with bytes of a checked package.
  Installer->Resources().VerifyProductPackage();
  // The file may be one still being written (a target named twice): it is looked at when complete.
  if (writer_) writer_->WaitForAll();
  if ((target = TryCreateExclusive(fileName))) return true;
  const bool link = IsFileLink(fileName);
  if (!link && !FileExists(fileName)) {
    // Nothing there to compare or move aside: the creation's own error says why.
    target = std::make_unique<TFileStream>(fileName, fmCreate | fmShareExclusive);
    return true;
  }
  if (!link && HasContent(fileName, source)) return false;
  // A file in use that may be moved is replaced at once; its old content (or
  // the link) stays beside it.
  MoveFileW(W(fileName), W(fileName + u".bak"));
  for (;;) {
    if ((target = TryCreateExclusive(fileName))) return true;
    switch (Ask(FormatLangString(u"QM2", {fileName}))) {
      case IDRETRY: continue;
      case IDABORT: throw EInstallerInstallError(FormatLangString(u"E1", {fileName}));
      default: return false;
    }
  }
}

void TInstallerExtractHelper::ExtractFile(const TInstallerScriptFile& file) { Extract(file); }

void TInstallerExtractHelper::ExtractFiles(const std::vector<const TInstallerScriptFile*>& files,
                                           const std::function<void(size_t index)>& starting) {
  TInstallerFileWriter writer;
  writer_ = &writer;
  struct TDetach {
    TInstallerFileWriter*& writer;
    ~TDetach() { writer = nullptr; }
  } detach{writer_};
  created_.clear();
  try {
    for (size_t i = 0; i < files.size(); ++i) {
      starting(i);
      Extract(*files[i]);
    }
    Installer->Resources().VerifyProductPackage();
  } catch (const ESetupPackageReadError&) {
    RemoveCreatedFiles(writer);
    throw;
  }
  writer.WaitForAll();
}

void TInstallerExtractHelper::RemoveCreatedFiles(TInstallerFileWriter& writer) {
  try {
    writer.WaitForAll();  // closes them
  } catch (...) {
    // They go anyway: the package's damage is the error to report.
  }
  for (const UString& file : created_) DeleteFileW(W(file));
  created_.clear();
}

void TInstallerExtractHelper::Extract(const TInstallerScriptFile& file) {
  TInstallerResources& resources = Installer->Resources();
  const UString target = resources.ExpandPath(file.Name);
  // The folder of the previous file was checked and created a moment ago.
  const UString folder = ExtractFilePath(target);
  if (folder != extractedFolder_) {
    ForceFolder(folder);
    extractedFolder_ = folder;
  }
  // One file alone is written from a checked package; a batch may start before.
  if (!writer_) resources.VerifyProductPackage();
  const std::string_view bytes = resources.GetFileBytes(file.GetSourceName());
  TBytesViewStream source(bytes);
  std::unique_ptr<TStream> stream;
  if (!CreateTargetStream(target, source, stream)) return;
  if (writer_) return writer_->Write(std::move(stream), bytes);
  stream->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

std::vector<const TInstallerScriptFile*> TInstallerActionExtract::FilesToExtract() {
  TInstallerResources& resources = Installer->Resources();
  const UString family = resources.GetLangFamily();
  std::vector<const TInstallerScriptFile*> files;
  const TInstallerScriptGroup& components = resources.Script().Components;
  for (int i = 0; i < components.Count(); ++i) {
    if (components.Items(i).MatchesFamily(family)) files.push_back(&components.Items(i));
  }
  return files;
}

void TInstallerActionExtract::Execute() {
  SetStatus(CommonString(u"A4"));
  const std::vector<const TInstallerScriptFile*> files = FilesToExtract();
  const size_t count = files.size();
  Installer->ExtractHelper().ExtractFiles(files,
                                          [&](size_t i) { SetProgress(static_cast<int>((i + 1) * 100 / count)); });
  SetStatus(CommonString(u"A7"));
  WriteUninstallData(Installer->DestPath(), files);
}

void TInstallerActionExtract::WriteUninstallData(const UString& destPath,
                                                 const std::vector<const TInstallerScriptFile*>& files) {
  const UString uninstallExe = destPath + u"Uninstall.exe";
  const UString uninstallDat = ChangeFileExt(uninstallExe, u".dat");
  CopyFileOrRaise(PlatformProgramFileName(), uninstallExe);

  TDRXIniFile ini;
  ini.Assign(Settings());
  ini.DeleteSection(u"Uninstall");  // replaced, never merged
  for (const TInstallerScriptFile* file : files) AddUninstallEntry(ini, file->Name);
  AddUninstallEntry(ini, uninstallDat);
  AddUninstallEntry(ini, uninstallExe);

  TMemoryStream iniStream;
  ini.SaveToStream(iniStream);
  iniStream.SetPosition(0);
  TSetupPackageBuilder builder(PackageKey);
  builder.Add(iniStream, u"Uninstall.ini");
  if (!RemoveFileLink(uninstallDat)) RaiseLastOSError(u".\r\n" + uninstallDat);
  builder.Commit(uninstallDat, 4);

  if (Installer->HasFlag(ifPortable)) return;
  TInstallerProductInfo& product = ProductInfo();
  TInstallerApplicationRepository::Register(product.GetName(), uninstallExe, product.GetVersionNo(),
                                            product.GetPublisher(), product.GetHomePage());
}

void TInstallerActionExtract::AddUninstallEntry(TDRXIniFile& ini, const UString& path) {
  UString entry = Resources().ExpandPath(path);
  const int count = ini.ReadInteger(u"Uninstall", u"Count", 0);
  const UString& destPath = Installer->DestPath();
  if (entry.size() >= destPath.size() && SameText(UStringView(entry).substr(0, destPath.size()), destPath)) {
    entry.erase(0, destPath.size());
  }
  ini.WriteString(u"Uninstall", IntToStr(count), entry);
  ini.WriteInteger(u"Uninstall", u"Count", count + 1);
}
