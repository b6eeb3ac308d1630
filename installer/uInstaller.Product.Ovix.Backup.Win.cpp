#include <windows.h>

#include "uInstaller.Product.Ovix.Backup.h"

#include <zip.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "DRX.Format.h"
#include "DRX.Platform.h"
#include "uInstaller.Core.Exceptions.h"
#include "uInstaller.Core.FileUtils.h"

namespace {

constexpr int64_t kFileTimeOfUnixEpoch = 116444736000000000LL;  // 100 ns units since 1601

// The first file that could not be archived, and why.
struct TBackupFailure {
  bool Failed = false;
  zip_uint64_t Index = 0;
  UString Message;
  uint32_t ErrorCode = 0;
};

// What every file source of one archive shares.
struct TBackupContext {
  TBackupFailure Failure;
  const std::function<void()>* OnFileArchived = nullptr;  // null: files are not counted (again)
};

// A zip source that reads one file through the program's own file access.
class TFileSource {
 public:
  TFileSource(UString fileName, zip_uint64_t index, TBackupContext& context)
      : fileName_(std::move(fileName)), index_(index), context_(context) {
    zip_error_init(&error_);
  }
  ~TFileSource() {
    CloseFile();
    zip_error_fini(&error_);
  }

  static zip_int64_t Callback(void* self, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    try {
      return static_cast<TFileSource*>(self)->Handle(data, length, command);
    } catch (const Exception& error) {
      return static_cast<TFileSource*>(self)->Fail(ZIP_ER_INTERNAL, error.Message(), GetLastError());
    } catch (const std::exception& error) {  // no exception may cross the zip library
      return static_cast<TFileSource*>(self)->Fail(ZIP_ER_INTERNAL, Utf8ToUtf16(error.what()), GetLastError());
    }
  }

 private:
  zip_int64_t Handle(void* data, zip_uint64_t length, zip_source_cmd_t command) {
    switch (command) {
      case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                              ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SUPPORTS,
                                              ZIP_SOURCE_GET_FILE_ATTRIBUTES, -1);
      case ZIP_SOURCE_STAT:
        return Stat(static_cast<zip_stat_t*>(data), length);
      case ZIP_SOURCE_GET_FILE_ATTRIBUTES:
        return Attributes(static_cast<zip_file_attributes_t*>(data), length);
      case ZIP_SOURCE_OPEN:
        return Open();
      case ZIP_SOURCE_READ:
        return Read(data, length);
      case ZIP_SOURCE_CLOSE:
        return Close();
      case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&error_, data, length);
      case ZIP_SOURCE_FREE:
        delete this;
        return 0;
      default:
        zip_error_set(&error_, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
  }

  bool QueryAttributes(WIN32_FILE_ATTRIBUTE_DATA& info) {
    if (GetFileAttributesExW(W(fileName_), GetFileExInfoStandard, &info)) return true;
    FailWithSystemError(u"Cannot open file");
    return false;
  }

  zip_int64_t Stat(zip_stat_t* stat, zip_uint64_t length) {
    WIN32_FILE_ATTRIBUTE_DATA info;
    if (length < sizeof(zip_stat_t) || !QueryAttributes(info)) return -1;
    const int64_t written = (int64_t(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime;
    zip_stat_init(stat);
    stat->size = (zip_uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    stat->mtime = static_cast<time_t>((written - kFileTimeOfUnixEpoch) / 10000000);
    stat->valid = ZIP_STAT_SIZE | ZIP_STAT_MTIME;
    return sizeof(zip_stat_t);
  }

  // Stored as an archive made on DOS/Windows: the low byte is the file's attributes.
  zip_int64_t Attributes(zip_file_attributes_t* attributes, zip_uint64_t length) {
    WIN32_FILE_ATTRIBUTE_DATA info;
    if (length < sizeof(zip_file_attributes_t) || !QueryAttributes(info)) return -1;
    attributes->valid |= ZIP_FILE_ATTRIBUTES_HOST_SYSTEM | ZIP_FILE_ATTRIBUTES_EXTERNAL_FILE_ATTRIBUTES;
    attributes->host_system = ZIP_OPSYS_DOS;
    attributes->external_file_attributes = info.dwFileAttributes & 0xFF;
    return 0;
  }

  // Shared for reading only: a file that another program may be writing is not archived half-written.
  zip_int64_t Open() {
    CloseFile();
    file_ = CreateFileW(W(fileName_), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                        nullptr);
    LARGE_INTEGER size{};
    if (file_ == INVALID_HANDLE_VALUE || !GetFileSizeEx(file_, &size)) return FailWithSystemError(u"Cannot open file");
    remaining_ = size.QuadPart;
    return 0;
  }

  zip_int64_t Read(void* data, zip_uint64_t length) {
    const DWORD wanted = static_cast<DWORD>(std::min<zip_uint64_t>({length, zip_uint64_t(remaining_), 1u << 20}));
    DWORD got = 0;
    if (wanted > 0 && !ReadFile(file_, data, wanted, &got, nullptr)) return FailWithSystemError(u"Cannot read file");
    if (got != wanted) return Fail(ZIP_ER_READ, Format(u"Cannot read file \"%s\": it ended early", {fileName_}), 0);
    remaining_ -= got;
    return got;
  }

  zip_int64_t Close() {
    const bool complete = file_ != INVALID_HANDLE_VALUE && remaining_ == 0;
    CloseFile();
    if (complete && context_.OnFileArchived && *context_.OnFileArchived) (*context_.OnFileArchived)();
    return 0;
  }

  void CloseFile() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
  }

  // The last error is taken before anything else can change it.
  zip_int64_t FailWithSystemError(UStringView what) {
    const DWORD code = GetLastError();
    return Fail(ZIP_ER_READ, Format(u"%s \"%s\". %s", {what, fileName_, SysErrorMessage(code)}), code);
  }

  zip_int64_t Fail(int zipError, const UString& message, uint32_t errorCode) {
    zip_error_set(&error_, zipError, static_cast<int>(errorCode));
    TBackupFailure& failure = context_.Failure;
    if (!failure.Failed) failure = {true, index_, message, errorCode};
    return -1;
  }

  UString fileName_;
  zip_uint64_t index_;
  TBackupContext& context_;
  HANDLE file_ = INVALID_HANDLE_VALUE;
  int64_t remaining_ = 0;
  zip_error_t error_;
};

int64_t FileSize(const UString& fileName) {
  WIN32_FILE_ATTRIBUTE_DATA info;
  if (!GetFileAttributesExW(W(fileName), GetFileExInfoStandard, &info)) return 0;
  return (int64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

// Discarded unless closed: an archive that fails is not left half-written by the library.
using TArchive = std::unique_ptr<zip_t, decltype(&zip_discard)>;

TArchive CreateArchive(const UString& fileName) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* file = zip_source_win32w_create(W(fileName), 0, -1, &error);
  zip_t* archive = file ? zip_open_from_source(file, ZIP_CREATE | ZIP_EXCL, &error) : nullptr;
  if (!archive) {
    if (file) zip_source_free(file);
    const UString message = Utf8ToUtf16(zip_error_strerror(&error));
    zip_error_fini(&error);
    throw EInstallerBackupError(Format(u"Cannot create \"%s\": %s", {fileName, message}));
  }
  zip_error_fini(&error);
  return TArchive(archive, zip_discard);
}

void AddFile(zip_t* archive, const TInstallerFileListItem& item, TBackupContext& context) {
  const zip_uint64_t index = static_cast<zip_uint64_t>(zip_get_num_entries(archive, 0));
  auto* state = new TFileSource(item.FileName, index, context);
  zip_source_t* source = zip_source_function(archive, TFileSource::Callback, state);
  if (!source) {
    delete state;
    context.Failure = {true, index, Utf8ToUtf16(zip_strerror(archive)), 0};
    return;
  }
  const std::string name = Utf16ToUtf8(item.ArchiveName);
  const zip_int64_t added = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
  if (added < 0) {
    zip_source_free(source);
    context.Failure = {true, index, Utf8ToUtf16(zip_strerror(archive)), 0};
    return;
  }
  zip_set_file_compression(archive, static_cast<zip_uint64_t>(added), ZIP_CM_DEFLATE, 0);
}

// Keeps the entries before the failed one: the archive is written again without the rest.
void ClosePartial(TArchive archive, zip_uint64_t failedIndex, TBackupContext& context) {
  context.OnFileArchived = nullptr;
  const zip_uint64_t count = static_cast<zip_uint64_t>(zip_get_num_entries(archive.get(), 0));
  for (zip_uint64_t index = count; index > failedIndex; --index) zip_delete(archive.get(), index - 1);
  if (zip_close(archive.get()) == 0) archive.release();
}

}  // namespace

int64_t BackupSize(const TInstallerFileList& Files) {
  int64_t total = 0;
  for (int i = 0; i < Files.Count(); ++i) total += FileSize(Files.Items(i).FileName);
  return total;
}

void WriteBackupArchive(const UString& ArchiveFileName, const TInstallerFileList& Files,
                        const std::function<void()>& OnFileArchived) {
  TBackupContext context;
  context.OnFileArchived = &OnFileArchived;
  TArchive archive = CreateArchive(ArchiveFileName);
  for (int i = 0; i < Files.Count() && !context.Failure.Failed; ++i) AddFile(archive.get(), Files.Items(i), context);
  if (!context.Failure.Failed) {
    if (zip_close(archive.get()) == 0) {
      archive.release();  // closed and freed by the library
      return;
    }
    if (!context.Failure.Failed)
      throw EInstallerBackupError(
          Format(u"Cannot write \"%s\": %s", {ArchiveFileName, Utf8ToUtf16(zip_strerror(archive.get()))}));
  }
  const TBackupFailure failure = context.Failure;
  ClosePartial(std::move(archive), failure.Index, context);
  const UString& fileName = Files.Items(static_cast<int>(failure.Index)).FileName;
  throw EInstallerBackupError(
      Format(u"An error occurs while backuping the \"%s\" file (%d)\r\n%s\r\n%s",
             {fileName, FileSize(fileName), failure.Message, SysErrorMessage(failure.ErrorCode)}));
}
