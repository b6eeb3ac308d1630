// The skin image and image set readers on arbitrary input: the chunk form, both
// older fixed records and the "NEXT"-separated sets. Failures must be the
// readers' own errors (all of them Exception); whatever loads must be usable
// (analysis, hit tests) and must read back equal from its own saved form.
#include <cstdlib>
#include <string>
#include <vector>

#include "DRX.Graphics.SkinImage.Set.h"
#include "DRX.Graphics.SkinImage.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void Exercise(TDRXSkinImage& image) {
  const int32_t last = image.FrameCount() - 1;
  for (int32_t frame : {0, last}) {
    image.FrameState(frame);
    image.InnerAreaState(frame);
  }
  const TRect rect = Rect(3, 5, 3 + 2 * image.FrameWidth() + 7, 5 + image.FrameHeight() + 1);
  for (int32_t x : {rect.Left, rect.Left + rect.Width() / 2, rect.Right - 1})
    for (int32_t y : {rect.Top, rect.Bottom - 1}) image.HitTest(rect, x, y);
}

template <typename TLoadable>
std::string Saved(TLoadable& loadable) {
  TMemoryStream stream;
  loadable.SaveToStream(stream);
  return std::string(stream.Bytes());
}

void FuzzImage(const std::string& bytes) {
  TDRXSkinImage image;
  try {
    TMemoryStream stream(bytes);
    image.LoadFromStream(stream);
    image.SetHitTestMode(htByAlpha);
    Exercise(image);
    const std::string saved = Saved(image);
    TDRXSkinImage copy;
    TMemoryStream again(saved);
    copy.LoadFromStream(again);
    Check(copy.Equals(image));
  } catch (const Exception&) {
  }
}

void FuzzSet(const std::string& bytes) {
  TDRXSkinImageSet set;
  try {
    TMemoryStream stream(bytes);
    set.LoadFromStream(stream);
    for (int dpi : {96, 144, 480}) Exercise(set.BestItem(dpi));
    const std::string saved = Saved(set);
    TDRXSkinImageSet copy;
    TMemoryStream again(saved);
    copy.LoadFromStream(again);
    Check(copy.Equals(set));
  } catch (const Exception&) {
  }
}

// Stored forms made by the writer (which the mutations then damage).
std::string WrittenImage(TDRXSkinImageCompression compression, int dpi) {
  SetSkinImageCompression(compression);
  TDRXSkinImageSetItem image(dpi);
  std::vector<uint32_t> pixels(12 * 4);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = (i % 5 == 0) ? 0x80402010u : 0xFF000000u | (i * 0x030507u);
  image.AssignPixels(12, 4, pixels.data(), true);
  image.SetFrameCount(3);
  image.SetMargins({1, 1, 1, 1});
  image.SetTileArea({1, 1, 2, 0});
  image.SetSizingMode(szMarginsOnly);
  const std::string bytes = Saved(image);
  SetSkinImageCompression(icFastest);
  return bytes;
}

std::string LegacyRecord(const char* magic, bool withFrameBytes) {
  std::string form(magic, 8);
  form += std::string("\1\0\0\0", 4);
  std::string record(58, '\0');
  record[0] = 16;    // pixel bytes
  record[5] = 1;     // has alpha
  record[6] = 2;     // frames
  record[10] = 1;    // hit test by alpha
  record[16] = 1;    // left margin
  record[32] = 2;    // stretch (one higher in the first variant)
  record[37] = 1;    // tile1
  record[50] = 2;    // width
  record[54] = 2;    // height
  form += record;
  form += std::string("\x10\x20\x30\x80\xFF\xFF\xFF\xFF\x00\x00\x00\x00\x01\x02\x03\xFF", 16);
  if (withFrameBytes) form += "\x01\x02";
  form += std::string(16, '\x01');
  return form;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  FuzzImage(bytes);
  FuzzSet(bytes);
  return 0;
}

extern "C" void OvixFuzzSeeds(std::vector<std::string>& seeds) {
  seeds.push_back(WrittenImage(icFastest, 96));
  seeds.push_back(WrittenImage(icNone, 144));
  seeds.push_back(WrittenImage(icFastest, 96) + "NEXT" + WrittenImage(icNone, 120) + "NEXT" + WrittenImage(icFastest, 192));
  seeds.push_back(LegacyRecord("MySknImg", false));
  seeds.push_back(LegacyRecord("QZVIMG32", true));
}
