// The component-stream reader on arbitrary bytes. Input that lacks the
// signature gets it in front, so that mutations reach the values instead of
// the first four bytes. Failures must be the stream's read errors; a stream
// that reads must write back to bytes that read to the same tree and write
// again to the same bytes. The tree is then read as a skin by a resource
// collection, whose failures must be the library's exceptions.
#include <cstdlib>
#include <string>
#include <vector>

#include "DRX.Classes.ComponentStream.h"
#include "DRX.Graphics.SkinImage.Set.h"
#include "DRX.UI.Resources.Collections.h"
#include "DRX.UI.Resources.Text.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::string Write(const TDRXStreamComponent& component) {
  TMemoryStream stream;
  WriteComponentStream(stream, component);
  return std::string(stream.Bytes());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  if (bytes.compare(0, 4, kComponentStreamSignature) != 0) bytes.insert(0, kComponentStreamSignature);
  TDRXStreamComponent tree;
  try {
    TMemoryStream input(bytes);
    tree = ReadComponentStream(input);
    Check(input.Position() <= input.Size());
  } catch (const EReadError&) {
    return 0;
  }
  std::string written;
  try {
    written = Write(tree);
  } catch (const EWriteError&) {  // a decoded text that grew beyond its byte count
    return 0;
  }
  TMemoryStream again(written);
  const TDRXStreamComponent reread = ReadComponentStream(again);
  Check(Write(reread) == written);
  try {
    TDRXCustomResourceCollection skin;
    skin.LoadFromComponent(tree);
    TMemoryStream saved;
    skin.SaveToStream(saved);
  } catch (const Exception&) {
  }
  return 0;
}

// A skin read from its text form, with a texture of two 2 x 2 frames.
std::string TextSkinSeed() {
  TDRXStreamComponent skin = ReadSkinText(
      u"[Common.Colors.Text] Color\nValue = xFF202020\n[Font] Font\nColorID = \"Common.Colors.Text\"\n"
      u"Style = [fsBold]\n[Margins] Margins\nLeft = 2\n[Margins.W11] Margins\nAll = 4\n[Icons] Texture\n"
      u"Image = \"icons.svg\"\n[Derived] Texture\nID = \"Icons\"\nScalable = False\n",
      [](const TDRXSkinTextImage&) {
        TDRXSkinImageSet set;
        const uint32_t pixels[8] = {0xFF0000FF, 0x80FF0000, 0, 0xFFFFFFFF, 0xFF0000FF, 0x80FF0000, 0, 0xFFFFFFFF};
        set.Items(0).AssignPixels(4, 2, pixels, true);
        set.Items(0).SetFrameCount(2);
        TMemoryStream data;
        set.SaveToStream(data);
        return std::string(data.Bytes());
      });
  return Write(skin);
}

extern "C" void OvixFuzzSeeds(std::vector<std::string>& seeds) {
  using namespace std::string_literals;
  seeds.push_back(TextSkinSeed());
  // A skin with a colour, a font and a texture item.
  seeds.push_back(
      "TPF0\x1ETDRXRootResourceCollectionImpl\x00\x05Items\x0E"
      "\x01\x02ID\x06\x12" "Common.Colors.Text" "\x11ResourceClassName\x06\x05" "Color"
      "\x0EResource.Value\x07\x09" "xFF202020" "\x10Resource.Opacity\x03\xC8\x00\x00"
      "\x01\x02ID\x06\x04" "Font" "\x11ResourceClassName\x06\x04" "Font"
      "\x0EResource.Style\x0B\x06" "fsBold" "\x08" "fsItalic" "\x00"
      "\x0FResource.Height\x02\xF5\x0DResource.Name\x06\x08" "Segoe UI\x00"
      "\x03\x10\x27\x01\x02ID\x06\x01" "T" "\x0DResource.Data\x0A\x08\x00\x00\x00" "DRXIMG32"
      "\x11Resource.Scalable\x09\x00"
      "\x00\x00\x00"s);
  // A form with a child component, lists and the wide text types.
  seeds.push_back(
      "TPF0\x0ETInstallerForm\x0DInstallerForm\x04Left\x04\x10\x27\x00\x00"
      "\x04List\x01\x02\x01\x06\x01" "a" "\x09\x00" "\x01W\x12\x02\x00\x00\x00\x16\x04\x41\x00"
      "\x01U\x14\x02\x00\x00\x00\xC3\xBC" "\x01L\x0C\x03\x00\x00\x00" "abc\x00"
      "\xF3\x02\x02\x07TButton\x05" "bNext\x07" "Caption\x06\x04" "Next\x00\x00\x00"s);
}
