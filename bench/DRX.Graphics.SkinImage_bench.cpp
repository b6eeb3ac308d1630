// Skin images: the frame analysis of a button texture at 192 DPI (done once
// after every change), and loading the default skin's worth of 115 images from
// their stored form, which leaves them dormant (nothing is inflated).
#include <benchmark/benchmark.h>

#include <string>

#include "DRX.Graphics.SkinImage.Set.h"
#include "SkinImageSamples.h"

namespace {

// The button frame is 120 × 25 at 96 DPI, so 240 × 50 at 192.
void AnalyzeButtonAt192Dpi(benchmark::State& state) {
  TDRXSkinImage image;
  MakeButtonTexture(image, 240, 50, 192);
  int32_t hitFrame = 0;
  for (auto _ : state) {
    image.SetHitTestFrame(hitFrame ^= 1);  // any change drops the analysis
    benchmark::DoNotOptimize(image.FrameState(0));
  }
  state.SetLabel("5 frames of 240 x 50");
}
BENCHMARK(AnalyzeButtonAt192Dpi)->Unit(benchmark::kMicrosecond);

// 28 textures at 96, 120, 144 and 192 DPI and one at three of them: 115
// images, frames from 120 × 25 (buttons) down to 16 × 16 (glyphs) at 96 DPI.
std::string SkinOf115Images() {
  TMemoryStream stream;
  for (int texture = 0; texture < 29; ++texture) {
    TDRXSkinImageSet set;
    const int width96 = texture % 2 ? 120 : 16, height96 = texture % 2 ? 25 : 16;
    for (int dpi : {96, 120, 144, 192}) {
      if (texture == 28 && dpi == 192) continue;
      TDRXSkinImageSetItem& item = dpi == 96 ? set.Items(0) : set.NewItem(dpi);
      MakeButtonTexture(item, width96 * dpi / 96, height96 * dpi / 96, dpi);
    }
    set.SaveToStream(stream);
  }
  return std::string(stream.Bytes());
}

void LoadSkinOf115Images(benchmark::State& state) {
  const std::string skin = SkinOf115Images();
  for (auto _ : state) {
    TMemoryStream stream(skin);
    int images = 0;
    for (int texture = 0; texture < 29; ++texture) {
      TDRXSkinImageSet set;
      set.LoadFromStream(stream);
      images += set.Count();
      if (!set.Items(0).IsDormant()) state.SkipWithError("an image was inflated");
    }
    if (images != 115) state.SkipWithError("not 115 images");
  }
  state.SetItemsProcessed(state.iterations() * 115);
  state.SetLabel(std::to_string(skin.size() / 1024) + " KiB stored");
}
BENCHMARK(LoadSkinOf115Images)->Unit(benchmark::kMicrosecond);

// What the first draw of a dormant image costs on top: inflating its pixels.
void UnpackButtonAt192Dpi(benchmark::State& state) {
  TDRXSkinImage image;
  MakeButtonTexture(image, 240, 50, 192);
  for (auto _ : state) {
    state.PauseTiming();
    image.Dormant();
    state.ResumeTiming();
    benchmark::DoNotOptimize(image.Bits());
  }
}
BENCHMARK(UnpackButtonAt192Dpi)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
