#pragma once
// The command recorder (bin/command_recorder.exe) copied under the name of a
// program the setup starts: once started, it leaves its whole command line in
// "<its path>.cmdline".

#include "DRX.Strings.h"

#ifdef _WIN32
class TCommandRecorder {
 public:
  // Copies the recorder to `path`; a record left from earlier is removed.
  explicit TCommandRecorder(const UString& path);
  // Removes the copy and its record.
  ~TCommandRecorder();
  TCommandRecorder(const TCommandRecorder&) = delete;
  TCommandRecorder& operator=(const TCommandRecorder&) = delete;

  const UString& Path() const { return path_; }
  bool WasStarted() const;
  // The recorded command line; empty when it has not run.
  UString CommandLine() const;
  // Waits (delivering messages) until a program started without waiting has
  // recorded; false when it never does within the safety limit.
  bool WaitForRecord() const;
  // Forgets the last run.
  void Reset() const;

 private:
  UString RecordFile() const { return path_ + u".cmdline"; }
  UString path_;
};

// The recorder's bytes, for a package entry.
std::string CommandRecorderBytes();
#endif
