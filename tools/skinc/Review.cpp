#include "Review.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

#include "DRX.UI.Resources.Texture.h"
#include "DRX.UI.Resources.Values.h"
#include "SvgRenderer.h"

namespace {

struct TSurfaceFree {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct TCairoFree {
  void operator()(cairo_t* cairo) const { cairo_destroy(cairo); }
};
using TSurface = std::unique_ptr<cairo_surface_t, TSurfaceFree>;

// The textures of a skin that hold images of their own, in skin order.
std::vector<std::pair<UString, TDRXResourceTexture*>> OwnTextures(const TCompiledSkin& skin) {
  std::vector<std::pair<UString, TDRXResourceTexture*>> textures;
  for (int i = 0; i < skin.Collection->Count(); ++i) {
    const TDRXResourceCollectionItem& item = skin.Collection->Items(i);
    auto* texture = dynamic_cast<TDRXResourceTexture*>(item.Resource());
    if (texture && texture->Overriden() && !texture->ImageSet().Items(0).Empty()) textures.emplace_back(item.ID(), texture);
  }
  return textures;
}

TPixels PixelsOf(TDRXSkinImage& image, const TRect& rect) {
  image.SetPremultiplied(true);
  const uint8_t* bits = image.Bits();
  TPixels pixels(rect.Width(), rect.Height());
  for (int32_t row = 0; row < rect.Height(); ++row)
    std::memcpy(&pixels.Bytes[size_t(row) * rect.Width() * 4], bits + (size_t(rect.Top + row) * image.Width() + rect.Left) * 4,
                size_t(rect.Width()) * 4);
  return pixels;
}

TSurface SurfaceOf(TPixels& pixels) {
  return TSurface(cairo_image_surface_create_for_data(pixels.Bytes.data(), CAIRO_FORMAT_ARGB32, pixels.Width,
                                                      pixels.Height, pixels.Width * 4));
}

void SetColor(cairo_t* cr, TDRXAlphaColor color) {
  cairo_set_source_rgba(cr, ((color >> 16) & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0, (color & 0xFF) / 255.0,
                        (color >> 24) / 255.0);
}

TDRXAlphaColor Background(const TCompiledSkin& skin) {
  const auto* color = skin.Collection->Find<TDRXResourceColor>(u"Common.Colors.Background");
  return color ? color->Value() : claWhite;
}

TDRXAlphaColor TextColor(const TCompiledSkin& skin) {
  const auto* color = skin.Collection->Find<TDRXResourceColor>(u"Common.Colors.Text");
  return color ? color->Value() : claBlack;
}

constexpr int kPad = 8;
constexpr int kLabelWidth = 250;
constexpr int kLineHeight = 16;

}  // namespace

void WriteTexturePngs(const TCompiledSkin& skin, const std::filesystem::path& folder) {
  const std::filesystem::path target = folder / skin.Name;
  std::filesystem::create_directories(target);
  for (const auto& [id, texture] : OwnTextures(skin)) {
    TDRXSkinImageSet& set = texture->ImageSet();
    for (int i = 0; i < set.Count(); ++i) {
      TDRXSkinImageSetItem& item = set.Items(i);
      for (int32_t frame = 0; frame < item.FrameCount(); ++frame)
        WritePng(PixelsOf(item, item.FrameRect(frame)), target / (Utf16ToUtf8(id) + "." + std::to_string(item.DPI()) + "." +
                                                                   std::to_string(frame) + ".png"));
    }
  }
}

void WriteContactSheet(const std::vector<const TCompiledSkin*>& skins, const std::filesystem::path& file,
                       const std::vector<int>& dpis, int zoom, const UString& match) {
  // Rows: the identifiers of the first skin, then those only the others have.
  std::vector<UString> ids;
  for (const TCompiledSkin* skin : skins)
    for (const auto& [id, texture] : OwnTextures(*skin))
      if (id.find(match) != UString::npos && std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
  auto image = [&](const TCompiledSkin& skin, const UString& id, int dpi) -> TDRXSkinImageSetItem* {
    auto* texture = skin.Collection->Find<TDRXResourceTexture>(id);
    return texture && texture->Overriden() ? &texture->ImageSet().BestItem(dpi) : nullptr;
  };
  std::vector<int> columnWidth(dpis.size(), 0);
  std::vector<int> rowHeight(ids.size(), 0);
  for (size_t r = 0; r < ids.size(); ++r)
    for (const TCompiledSkin* skin : skins)
      for (size_t c = 0; c < dpis.size(); ++c)
        if (TDRXSkinImageSetItem* item = image(*skin, ids[r], dpis[c])) {
          columnWidth[c] = std::max(columnWidth[c], item->Width() * zoom);
          rowHeight[r] = std::max(rowHeight[r], item->Height() * zoom);
        }
  int blockWidth = 0;
  for (const int w : columnWidth) blockWidth += w + 2 * kPad;
  int height = kLineHeight + 2 * kPad;
  for (const int h : rowHeight) height += std::max(h, kLineHeight) + 2 * kPad;
  const int width = int(skins.size()) * (kLabelWidth + blockWidth);

  TSurface sheet(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  std::unique_ptr<cairo_t, TCairoFree> owner(cairo_create(sheet.get()));
  cairo_t* cr = owner.get();
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 11);
  for (size_t s = 0; s < skins.size(); ++s) {
    const TCompiledSkin& skin = *skins[s];
    const int left = int(s) * (kLabelWidth + blockWidth);
    SetColor(cr, Background(skin));
    cairo_rectangle(cr, left, 0, kLabelWidth + blockWidth, height);
    cairo_fill(cr);
    SetColor(cr, TextColor(skin));
    cairo_move_to(cr, left + kPad, kPad + 11);
    cairo_show_text(cr, skin.Name.c_str());
    int x = left + kLabelWidth;
    for (size_t c = 0; c < dpis.size(); ++c) {
      cairo_move_to(cr, x + kPad, kPad + 11);
      cairo_show_text(cr, (std::to_string(dpis[c]) + " DPI").c_str());
      x += columnWidth[c] + 2 * kPad;
    }
    int y = kLineHeight + 2 * kPad;
    for (size_t r = 0; r < ids.size(); ++r) {
      SetColor(cr, TextColor(skin));
      cairo_move_to(cr, left + kPad, y + kPad + 11);
      cairo_show_text(cr, Utf16ToUtf8(ids[r]).c_str());
      int cx = left + kLabelWidth;
      for (size_t c = 0; c < dpis.size(); ++c) {
        if (TDRXSkinImageSetItem* item = image(skin, ids[r], dpis[c])) {
          TPixels pixels = PixelsOf(*item, {0, 0, item->Width(), item->Height()});
          TSurface strip = SurfaceOf(pixels);
          cairo_save(cr);
          cairo_translate(cr, cx + kPad, y + kPad);
          cairo_scale(cr, zoom, zoom);
          cairo_set_source_surface(cr, strip.get(), 0, 0);
          cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
          cairo_paint(cr);
          cairo_restore(cr);
        }
        cx += columnWidth[c] + 2 * kPad;
      }
      y += std::max(rowHeight[r], kLineHeight) + 2 * kPad;
    }
  }
  cairo_surface_flush(sheet.get());
  if (cairo_surface_write_to_png(sheet.get(), file.string().c_str()) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error(file.string() + ": cannot be written");
}
