#pragma once
// Extraction: the script's components become files in the destination. A
// target that cannot be opened for writing is left alone when it already has
// the entry's content; otherwise it is moved aside to a ".bak" name, and when
// even that does not free it the user is asked to abort, retry or ignore.
// After the files, the extraction leaves what the uninstaller needs.

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "DRX.Classes.Streams.h"
#include "DRX.Format.h"
#include "uInstaller.Core.Actions.h"

class TDRXIniFile;
class TInstallerFileWriter;
class TInstallerScriptFile;

class TInstallerExtractHelper {
 public:
  // Asks the user about a file that cannot be written (text: the "QM2" question);
  // always called on the main thread. Returns IDABORT, IDRETRY or IDIGNORE
  // (anything else counts as Ignore). Tests replace it.
  using TQuestion = std::function<int(const UString& text)>;
  static TQuestion Question;

  // Writes one script file to its target. Below the destination no folder on
  // the way may be a link: the files behind it are not the installation's.
  void ExtractFile(const TInstallerScriptFile& file);
  // ExtractFile for each file in order, the bytes of one written on a second
  // thread while the next is created; every file is written when it returns.
  // `starting` is called with each file's index before its turn. Files may be
  // written while the product package is still being decoded, but only where
  // nothing was: when the package then turns out damaged, the files this call
  // created are deleted again before the error goes on.
  void ExtractFiles(const std::vector<const TInstallerScriptFile*>& files,
                    const std::function<void(size_t index)>& starting);
  // Creates the folder with its missing parents; raises ("Common", "E3")
  // otherwise, and for a folder link on the way below DestPath (what it points
  // to is not the installation's: the backup folder included).
  void ForceFolder(const UString& folder);
  // Opens the target for writing (true: write Source into Target) or decides to
  // leave it unchanged (false). Raises ("Common", "E1") when the user aborts.
  // A link at the target is moved aside like a file in use, never written through.
  bool CreateTargetStream(const UString& fileName, TStream& source, std::unique_ptr<TStream>& target);
  UString FormatLangString(UStringView key, std::initializer_list<TFormatArg> args);
  // Raises "Cannot locate ... file in setup archive" for the first file whose
  // entry neither package holds: an installation checks this before it
  // deletes anything of the installation it replaces.
  void RequireSources(const std::vector<const TInstallerScriptFile*>& files);

 private:
  // Raises ("Common", "E3") with the first folder below DestPath on the way to
  // Folder that is a link.
  void RefuseFolderLinks(const UString& folder);
  // Question, run on the main thread while the calling thread waits.
  int Ask(const UString& text);
  // Writes the file's bytes, through the writer while ExtractFiles runs.
  void Extract(const TInstallerScriptFile& file);
  // After a damaged package: the files of this batch that were new go again.
  void RemoveCreatedFiles(TInstallerFileWriter& writer);

  UString extractedFolder_;  // the folder ExtractFile last forced, free of links
  TInstallerFileWriter* writer_ = nullptr;  // while ExtractFiles runs
  std::vector<UString> created_;  // by ExtractFiles where nothing was
};

// The message box the program asks with: warning, Abort/Retry/Ignore, Retry preselected.
int AskAbortRetryIgnore(const UString& text);

class TInstallerActionExtract : public TInstallerAction {
 public:
  static constexpr UStringView ClassName = u"TInstallerActionExtract";
  void Execute() override;

  // The script's components for the language family in use, in script order.
  static std::vector<const TInstallerScriptFile*> FilesToExtract();

  // Uninstall.exe (a copy of the running program), Uninstall.dat (Uninstall.ini:
  // the settings store plus the installed files) and, unless portable, the
  // entry in the list of installed programs.
  void WriteUninstallData(const UString& destPath, const std::vector<const TInstallerScriptFile*>& files);
  // Appends the expanded path (relative when inside the destination) as the next
  // numbered key of section "Uninstall" and rewrites "Count".
  void AddUninstallEntry(TDRXIniFile& ini, const UString& path);
};
