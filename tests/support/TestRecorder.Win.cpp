#include <windows.h>

#include "TestRecorder.h"

#include <string>

#include "DRX.Classes.Thread.h"
#include "TestSupport.h"

namespace {
UString RecorderProgram() { return BinFolder() + u"command_recorder.exe"; }
}  // namespace

TCommandRecorder::TCommandRecorder(const UString& path) : path_(path) {
  CopyFileW(W(RecorderProgram()), W(path_), FALSE);
  Reset();
}

TCommandRecorder::~TCommandRecorder() {
  Reset();
  DeleteFileW(W(path_));
}

bool TCommandRecorder::WasStarted() const { return GetFileAttributesW(W(RecordFile())) != INVALID_FILE_ATTRIBUTES; }

UString TCommandRecorder::CommandLine() const {
  return WasStarted() ? Utf8ToUtf16(ReadFileBytes(RecordFile())) : UString();
}

bool TCommandRecorder::WaitForRecord() const {
  for (int round = 0; round < 1500 && !WasStarted(); ++round) SleepPumping(20);
  return WasStarted();
}

void TCommandRecorder::Reset() const { DeleteFileW(W(RecordFile())); }

std::string CommandRecorderBytes() { return ReadFileBytes(RecorderProgram()); }
