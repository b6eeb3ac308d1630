#pragma once
// The backup archive of the prepare action: a new zip file in which every
// listed file is stored with deflate under its archive name (UTF-8, the
// backslashes kept), with its time stamp and attributes. The program reads
// each file itself, so a file that cannot be opened or read (locked, say) is
// reported by name and nothing is left half-known: the entries written before
// it stay in the archive, the archive is closed, and the caller learns of the
// failure before it relies on the backup.

#include <cstdint>
#include <functional>

#include "DRX.Strings.h"

class TInstallerFileList;

// The sizes of the listed files added up; a missing file counts 0.
int64_t BackupSize(const TInstallerFileList& Files);

// Writes the archive. OnFileArchived is called after each file has been
// stored. Raises EInstallerBackupError with "An error occurs while backuping
// the "<file>" file (<size>)" followed by the error's message and the
// system's text for its error code when a file cannot be read, and with the
// zip library's message when the archive cannot be written.
void WriteBackupArchive(const UString& ArchiveFileName, const TInstallerFileList& Files,
                        const std::function<void()>& OnFileArchived);
