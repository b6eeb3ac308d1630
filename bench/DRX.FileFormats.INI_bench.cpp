// INI documents of the size of an uninstall list: loading, and key lookups
// through the cached hashes (the last key of a long section is the worst case);
// and documents of very many sections, whose headers are each looked up while
// loading.
#include <benchmark/benchmark.h>

#include "DRX.FileFormats.INI.h"

namespace {

UString FileListText(int keys) {
  UString text = u"[Setup]\r\nVersion=1000\r\n[Files]\r\n";
  for (int i = 0; i < keys; ++i) text += u"Plugins\\Codec" + IntToStr(i) + u".dll=" + IntToStr(i) + u"\r\n";
  return text;
}

// A configuration grown by a program that writes a section per item: about
// 16 bytes a section, so 300,000 sections are between 4 and 5 MB.
UString ManySectionsText(int sections) {
  UString text;
  for (int i = 0; i < sections; ++i) text += u"[S" + IntToStr(i) + u"]\r\nk=" + IntToStr(i % 10) + u"\r\n";
  return text;
}

// Loading the text that `text` makes for the benchmark's argument.
void Load(benchmark::State& state, UString (*text)(int)) {
  const UString content = text(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TDRXIniFile ini;
    ini.LoadFromText(content);
    benchmark::DoNotOptimize(ini.SectionCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK_CAPTURE(Load, FileList, FileListText)->Arg(1000)->Arg(10000);
BENCHMARK_CAPTURE(Load, ManySections, ManySectionsText)->Arg(10000)->Arg(100000)->Arg(300000)->Unit(benchmark::kMillisecond);

// The last section of a long document, looked up by a name in other letter case.
void ReadLastSection(benchmark::State& state) {
  const int sections = static_cast<int>(state.range(0));
  TDRXIniFile ini;
  ini.LoadFromText(ManySectionsText(sections));
  const UString first = u"s0", last = UString(u"s").append(IntToStr(sections - 1));
  for (auto _ : state) {
    benchmark::DoNotOptimize(ini.ReadString(first, u"k", u""));  // defeats the last-section cache
    benchmark::DoNotOptimize(ini.ReadString(last, u"k", u""));
  }
}
BENCHMARK(ReadLastSection)->Arg(10000)->Arg(100000)->Arg(300000);

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
