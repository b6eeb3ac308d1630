// INI documents of the size of an uninstall list: loading, and key lookups
// through the cached hashes (the last key of a long section is the worst case).
#include <benchmark/benchmark.h>

#include "DRX.FileFormats.INI.h"

namespace {

UString FileListText(int keys) {
  UString text = u"[Setup]\r\nVersion=1000\r\n[Files]\r\n";
  for (int i = 0; i < keys; ++i) text += u"Plugins\\Codec" + IntToStr(i) + u".dll=" + IntToStr(i) + u"\r\n";
  return text;
}

void LoadFromText(benchmark::State& state) {
  const UString text = FileListText(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TDRXIniFile ini;
    ini.LoadFromText(text);
    benchmark::DoNotOptimize(ini.SectionCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(LoadFromText)->Arg(1000)->Arg(10000);

void ReadLastKey(benchmark::State& state) {
  const int keys = static_cast<int>(state.range(0));
  TDRXIniFile ini;
  ini.LoadFromText(FileListText(keys));
  const UString key = u"PLUGINS\\CODEC" + IntToStr(keys - 1) + u".DLL";
  ini.ReadString(u"files", key, u"");  // fills the hash caches
  for (auto _ : state) benchmark::DoNotOptimize(ini.ReadString(u"files", key, u""));
}
BENCHMARK(ReadLastKey)->Arg(1000)->Arg(10000);

void WriteEveryKey(benchmark::State& state) {
  const int keys = static_cast<int>(state.range(0));
  TDRXIniFile ini;
  ini.LoadFromText(FileListText(keys));
  for (auto _ : state) {
    for (int i = 0; i < keys; i += keys / 100) ini.WriteInteger(u"Files", u"Plugins\\Codec" + IntToStr(i) + u".dll", i);
  }
  state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(WriteEveryKey)->Arg(1000)->Arg(10000);

}  // namespace

BENCHMARK_MAIN();
