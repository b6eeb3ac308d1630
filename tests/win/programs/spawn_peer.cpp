// A stand-in for the elevated copy of the setup:
//   spawn_peer /SKIPUAC=<window> <exit code> "<record file>" ["<program>"]
// It writes its parameter text (the command line without its own path) to the
// record file, initialises the spawn service with the SKIPUAC window, asks it to
// start <program> and ends with <exit code> (1 when the service raised).
#include <windows.h>
#include <shellapi.h>

#include <filesystem>
#include <fstream>

#include "DRX.Exceptions.h"
#include "DRX.Strings.h"
#include "uInstaller.Core.Spawn.h"

namespace {

UString ParameterText() {
  const UString line = FromW(GetCommandLineW());
  size_t position = 0;
  if (!line.empty() && line[0] == u'"') {
    position = line.find(u'"', 1);
    position = position == UString::npos ? line.size() : position + 1;
  } else {
    while (position < line.size() && line[position] > u' ') ++position;
  }
  while (position < line.size() && line[position] == u' ') ++position;
  return line.substr(position);
}

void Record(const UString& fileName, const UString& text) {
  std::ofstream out(std::filesystem::path(std::wstring(fileName.begin(), fileName.end())), std::ios::binary | std::ios::trunc);
  out << Utf16ToUtf8(text);
}

int32_t SkipUacValue(const UString& argument) {
  constexpr UStringView prefix = u"/SKIPUAC=";
  int32_t value = 0;
  if (!StartsWith(argument, prefix) || !TryStrToInt(UStringView(argument).substr(prefix.size()), value)) return 0;
  return value;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count < 4) return 3;
  const UString skipUac = FromW(arguments[1]);
  const int exitCode = StrToIntDef(FromW(arguments[2]), 3);
  const UString recordFile = FromW(arguments[3]);
  const UString program = count > 4 ? FromW(arguments[4]) : UString();
  LocalFree(arguments);
  Record(recordFile, ParameterText());
  try {
    TInstallerSpawnService::Initialize(SkipUacValue(skipUac));
    if (!program.empty()) TInstallerSpawnService::Run(program);
  } catch (const Exception&) {
    return 1;
  }
  return exitCode;
}
