// Splitting, lookups and both sorts of a string list the size of a large file list.
#include <benchmark/benchmark.h>

#include "DRX.Classes.StringList.h"

namespace {

UString FileListText(int lines) {
  UString text;
  for (int i = 0; i < lines; ++i)
    text += u"Plugins\\Codec" + IntToStr((i * 7919) % lines) + u".dll=" + IntToStr(i) + u"\r\n";
  return text;
}

void BM_SetText(benchmark::State& state) {
  const UString text = FileListText(static_cast<int>(state.range(0)));
  TDRXStringList list;
  for (auto _ : state) list.SetText(text);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Values(benchmark::State& state) {
  TDRXStringList list;
  list.SetText(FileListText(static_cast<int>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(list.Values(u"Plugins\\Codec0.dll"));
}

template <void (TDRXStringList::*SortMethod)()>
void BM_Sort(benchmark::State& state) {
  TDRXStringList source;
  source.SetText(FileListText(static_cast<int>(state.range(0))));
  TDRXStringList list;
  for (auto _ : state) {
    state.PauseTiming();
    list.Assign(source);
    state.ResumeTiming();
    (list.*SortMethod)();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_SetText)->Arg(10000);
BENCHMARK(BM_Values)->Arg(10000);
BENCHMARK_TEMPLATE(BM_Sort, &TDRXStringList::Sort)->Arg(10000);
BENCHMARK_TEMPLATE(BM_Sort, &TDRXStringList::SortLogical)->Arg(10000);
BENCHMARK_MAIN();
