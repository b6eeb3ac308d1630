#include "TextureBuilder.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "DRX.Graphics.Types.h"
#include "SvgRenderer.h"

namespace {

[[noreturn]] void Fail(const std::string& message) { throw std::runtime_error(message); }

std::string Narrow(UStringView text) { return Utf16ToUtf8(text); }

std::string Unquoted(const std::string& value) {
  return value.size() >= 2 && value.front() == '"' && value.back() == '"' ? value.substr(1, value.size() - 2) : value;
}

// Words separated by spaces or commas.
std::vector<std::string> Words(const std::string& value) {
  std::string spaced = Unquoted(value);
  for (char& c : spaced)
    if (c == ',') c = ' ';
  std::istringstream in(spaced);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::vector<int32_t> Numbers(const std::string& name, const std::string& value) {
  std::vector<int32_t> numbers;
  for (const std::string& word : Words(value)) {
    size_t used = 0;
    int number = 0;
    try {
      number = std::stoi(word, &used);
    } catch (const std::exception&) {
      used = 0;
    }
    if (used != word.size()) Fail("Image." + name + ": \"" + word + "\" is not a number");
    numbers.push_back(number);
  }
  return numbers;
}

// One number for all four, or four numbers.
TDRXMargins Margins(const std::string& name, const std::string& value) {
  const std::vector<int32_t> n = Numbers(name, value);
  if (n.size() == 1) return {n[0], n[0], n[0], n[0]};
  if (n.size() != 4) Fail("Image." + name + " takes one or four numbers");
  return {n[0], n[1], n[2], n[3]};
}

uint8_t Choice(const std::string& name, const std::string& value, std::initializer_list<const char*> names) {
  uint8_t index = 0;
  for (const char* choice : names) {
    if (Unquoted(value) == choice) return index;
    ++index;
  }
  std::string list;
  for (const char* choice : names) list += std::string(list.empty() ? "" : ", ") + choice;
  Fail("Image." + name + " is one of " + list);
}

TDRXMargins Scaled(const TDRXMargins& m, int dpi) {
  return {MulDivRounded(m.Left, dpi, 96), MulDivRounded(m.Top, dpi, 96), MulDivRounded(m.Right, dpi, 96),
          MulDivRounded(m.Bottom, dpi, 96)};
}

// Everything the lines say, checked, before anything is rendered.
struct TTextureSpec {
  std::filesystem::path File;
  std::vector<std::string> Frames{""};
  std::vector<std::string> Groups{""};
  TDRXSkinImageLayout Layout = ilHorizontal;
  TDRXMargins Margins, ContentOffsets;
  TDRXSkinImageTileArea TileArea;
  TDRXSkinImageLayout TileAreaLayout = ilHorizontal;
  TDRXSkinImageStretchMode StretchMode = smStretch;
  TDRXSkinImageSizingMode SizingMode = szAuto;
  TDRXSkinImageHitTestMode HitTestMode = htAlways;
  int32_t HitTestFrame = 0;
  bool AllowColoration = true;
  std::vector<int32_t> DPIs{96, 120, 144, 192};

  void Set(const std::string& name, const std::string& value, const std::filesystem::path& folder) {
    if (name.empty()) File = folder / Unquoted(value);
    else if (name == "Frames") Frames = Words(value);
    else if (name == "Groups") Groups = Words(value);
    else if (name == "Layout") Layout = static_cast<TDRXSkinImageLayout>(Choice(name, value, {"Horizontal", "Vertical"}));
    else if (name == "Margins") Margins = ::Margins(name, value);
    else if (name == "ContentOffsets") ContentOffsets = ::Margins(name, value);
    else if (name == "TileArea") SetTileArea(::Margins(name, value));
    else if (name == "TileAreaLayout") TileAreaLayout = static_cast<TDRXSkinImageLayout>(Choice(name, value, {"Horizontal", "Vertical"}));
    else if (name == "StretchMode") StretchMode = static_cast<TDRXSkinImageStretchMode>(Choice(name, value, {"Stretch", "Tile", "Center"}));
    else if (name == "SizingMode") SizingMode = static_cast<TDRXSkinImageSizingMode>(Choice(name, value, {"Auto", "MarginsOnly", "TileAreaOnly"}));
    else if (name == "HitTestMode") HitTestMode = static_cast<TDRXSkinImageHitTestMode>(Choice(name, value, {"Always", "ByAlpha", "Never"}));
    else if (name == "HitTestFrame") HitTestFrame = Numbers(name, value).at(0);
    else if (name == "AllowColoration") AllowColoration = Choice(name, value, {"False", "True"}) == 1;
    else if (name == "DPIs") DPIs = Numbers(name, value);
    else Fail("unknown setting Image." + name);
  }

  void SetTileArea(const TDRXMargins& m) { TileArea = {m.Left, m.Top, m.Right, m.Bottom}; }

  void Check() const {
    if (File.empty()) Fail("the texture needs an \"Image = file.svg\" line");
    if (Frames.empty() || Groups.empty()) Fail("Image.Frames and Image.Groups need at least one class each");
    for (const int32_t dpi : DPIs) CheckSkinImageDPI(dpi);
    // The set's first item is of 96 DPI: without one here an empty one would stay.
    if (std::find(DPIs.begin(), DPIs.end(), 96) == DPIs.end()) Fail("Image.DPIs must hold 96");
  }
};

void ConfigureItem(TDRXSkinImageSetItem& item, const TTextureSpec& spec, int32_t frameCount, int dpi) {
  item.BeginUpdate();
  item.SetFrameLayout(spec.Layout);
  item.SetFrameCount(frameCount);
  item.SetMargins(Scaled(spec.Margins, dpi));
  item.SetContentOffsets(Scaled(spec.ContentOffsets, dpi));
  const TDRXMargins tile = Scaled({spec.TileArea.Head, spec.TileArea.Tile1, spec.TileArea.Start2, spec.TileArea.Tile2}, dpi);
  item.SetTileArea({tile.Left, tile.Top, tile.Right, tile.Bottom});
  item.SetTileAreaLayout(spec.TileAreaLayout);
  item.SetStretchMode(spec.StretchMode);
  item.SetSizingMode(spec.SizingMode);
  item.SetHitTestMode(spec.HitTestMode);
  item.SetHitTestFrame(spec.HitTestFrame);
  item.SetAllowColoration(spec.AllowColoration);
  item.EndUpdate();
}

// The frames side by side (or one above the other) at one DPI.
TPixels RenderStrip(const TSvgTemplate& svg, const TTextureSpec& spec, const std::string& stylesheet, int dpi) {
  const double widthAt = svg.Width() * dpi / 96, heightAt = svg.Height() * dpi / 96;
  const auto frameWidth = static_cast<int32_t>(widthAt), frameHeight = static_cast<int32_t>(heightAt);
  if (frameWidth != widthAt || frameHeight != heightAt)
    Fail(spec.File.filename().string() + ": a frame of " + std::to_string(svg.Width()) + " x " +
         std::to_string(svg.Height()) + " is not whole pixels at " + std::to_string(dpi) + " DPI");
  const auto count = static_cast<int32_t>(spec.Frames.size() * spec.Groups.size());
  const bool vertical = spec.Layout == ilVertical;
  TPixels strip(vertical ? frameWidth : frameWidth * count, vertical ? frameHeight * count : frameHeight);
  int32_t index = 0;
  for (const std::string& group : spec.Groups)
    for (const std::string& frame : spec.Frames) {
      const std::string classes = frame + " " + group + " dpi" + std::to_string(dpi);
      const TPixels pixels = svg.Render(classes, stylesheet, dpi / 96.0, frameWidth, frameHeight);
      strip.Blit(pixels, vertical ? 0 : index * frameWidth, vertical ? index * frameHeight : 0);
      ++index;
    }
  return strip;
}

}  // namespace

void BuildTextureSet(const TDRXSkinTextImage& image, const TTextureSources& sources, TDRXSkinImageSet& set) {
  TTextureSpec spec;
  for (const auto& [name, value] : image.Settings) spec.Set(Narrow(name), Narrow(value), sources.Folder);
  spec.Check();
  const TSvgTemplate svg(spec.File);
  const auto frameCount = static_cast<int32_t>(spec.Frames.size() * spec.Groups.size());
  for (const int32_t dpi : spec.DPIs) {
    const TPixels strip = RenderStrip(svg, spec, sources.Stylesheet, dpi);
    TDRXSkinImageSetItemRef item = TDRXSkinImageSetItemRef::Create(dpi);
    item->AssignPixels(strip.Width, strip.Height, strip.Bytes.data(), true);
    ConfigureItem(*item, spec, frameCount, dpi);
    set.Add(item);
  }
}

std::string BuildTextureData(const TDRXSkinTextImage& image, const TTextureSources& sources) {
  TDRXSkinImageSet set;
  BuildTextureSet(image, sources, set);
  TMemoryStream data;
  set.SaveToStream(data);
  return std::string(data.Bytes());
}
