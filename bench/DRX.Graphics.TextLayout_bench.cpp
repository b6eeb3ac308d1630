// Import and calculation of 10 K, 100 K and 1 M characters of ordinary marked-up
// text and of hostile text (all "[", all "www.", one endless word, deep nesting,
// e-mail look-alikes). The work per character is constant, so items per second
// stay flat until the blocks outgrow the caches: text of one-character blocks
// holds about 72 bytes of block per character.
#include <benchmark/benchmark.h>

#include "DRX.Graphics.TextLayout.h"

namespace {

UString Repeat(UStringView unit, size_t length) {
  UString text;
  text.reserve(length + unit.size());
  while (text.size() < length) text += unit;
  text.resize(length);
  return text;
}

enum TTextKind { tkOrdinary, tkBrackets, tkWww, tkEndlessWord, tkNesting, tkEmails };

UString MakeText(TTextKind kind, size_t length) {
  switch (kind) {
    case tkOrdinary:
      return Repeat(u"The add-on [b]Ovix Codecs[/b] plays [i]every[/i] format; see www.example.com/codecs or "
                    u"[url=https://example.com/help]the help[/url].\\n[color=#FF8000]Free[/color] and small, "
                    u"\u05D0\u05D1\u05D2 \u05D3\u05D4 included.\r\n",
                    length);
    case tkBrackets: return Repeat(u"[", length);
    case tkWww: return Repeat(u"www.", length);
    case tkEndlessWord: return Repeat(u"x", length);
    case tkNesting: return Repeat(u"[b][i][color=red][url=x]", length / 2) + Repeat(u"[/b]", length / 2);
    case tkEmails: return Repeat(u"a.b@", length);
  }
  return {};
}

const TDRXTextImportSettings kAllDetection{true, true, true, true};

void BM_Import(benchmark::State& state, TTextKind kind) {
  const UString text = MakeText(kind, static_cast<size_t>(state.range(0)));
  TFont font;
  TDRXFixedWidthTextMeasurer measurer(7, 15);
  TDRXTextLayout layout(font, measurer);
  for (auto _ : state) layout.SetText(text, kAllDetection);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Calculate(benchmark::State& state, TTextKind kind, TDRXTextLayoutOptions options) {
  const UString text = MakeText(kind, static_cast<size_t>(state.range(0)));
  TFont font;
  TDRXFixedWidthTextMeasurer measurer(7, 15);
  TDRXTextLayout layout(font, measurer);
  layout.SetText(text, kAllDetection);
  layout.SetBounds({0, 0, 400, 300});
  for (int option = tloUnlimitedHeight; option <= tloWordWrap; ++option)
    layout.SetOption(static_cast<TDRXTextLayoutOption>(option), (options >> option) & 1);
  for (auto _ : state) layout.Calculate();
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

constexpr TDRXTextLayoutOptions kScrolled = TextLayoutOptionBit(tloWordWrap) | TextLayoutOptionBit(tloUnlimitedHeight);
constexpr TDRXTextLayoutOptions kFixed = TextLayoutOptionBit(tloEndEllipsis) | TextLayoutOptionBit(tloHideCutRows);

void Sizes(benchmark::internal::Benchmark* benchmark) {
  for (int64_t length : {10240, 102400, 1024000}) benchmark->Arg(length);
}

#define OVIX_TEXT_BENCH(kind)                                                            \
  BENCHMARK_CAPTURE(BM_Import, kind, kind)->Apply(Sizes);                               \
  BENCHMARK_CAPTURE(BM_Calculate, kind##_wrapped, kind, kScrolled)->Apply(Sizes);      \
  BENCHMARK_CAPTURE(BM_Calculate, kind##_ellipsis, kind, kFixed)->Apply(Sizes)

OVIX_TEXT_BENCH(tkOrdinary);
OVIX_TEXT_BENCH(tkBrackets);
OVIX_TEXT_BENCH(tkWww);
OVIX_TEXT_BENCH(tkEndlessWord);
OVIX_TEXT_BENCH(tkNesting);
OVIX_TEXT_BENCH(tkEmails);

}  // namespace

BENCHMARK_MAIN();
