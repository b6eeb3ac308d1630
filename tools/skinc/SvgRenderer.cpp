#include "SvgRenderer.h"

#include <librsvg/rsvg.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

namespace {

struct TGObjectFree {
  void operator()(void* object) const { g_object_unref(object); }
};
struct TSurfaceFree {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct TCairoFree {
  void operator()(cairo_t* cairo) const { cairo_destroy(cairo); }
};

[[noreturn]] void Fail(const std::filesystem::path& file, const std::string& message, GError* error = nullptr) {
  std::string text = file.string() + ": " + message;
  if (error) {
    text += ": " + std::string(error->message);
    g_error_free(error);
  }
  throw std::runtime_error(text);
}

std::unique_ptr<RsvgHandle, TGObjectFree> Parse(const std::filesystem::path& file, const std::string& text) {
  GError* error = nullptr;
  RsvgHandle* handle = rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(text.data()), text.size(), &error);
  if (!handle) Fail(file, "not a readable SVG document", error);
  return std::unique_ptr<RsvgHandle, TGObjectFree>(handle);
}

}  // namespace

void TPixels::Blit(const TPixels& source, int32_t x, int32_t y) {
  for (int32_t row = 0; row < source.Height; ++row) {
    const int32_t ty = y + row;
    if (ty < 0 || ty >= Height) continue;
    for (int32_t column = 0; column < source.Width; ++column) {
      const int32_t tx = x + column;
      if (tx < 0 || tx >= Width) continue;
      std::memcpy(&Bytes[(size_t(ty) * Width + tx) * 4], &source.Bytes[(size_t(row) * source.Width + column) * 4], 4);
    }
  }
}

TSvgTemplate::TSvgTemplate(const std::filesystem::path& file) : file_(file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) Fail(file, "cannot be read");
  text_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  const size_t root = text_.find("<svg");
  if (root == std::string::npos) Fail(file, "has no <svg> element");
  rootTagEnd_ = root + 4;
  const size_t tagClose = text_.find('>', root);
  if (text_.substr(root, tagClose - root).find(" class=") != std::string::npos)
    Fail(file, "the <svg> element must not have a class: the frames set it");
  auto handle = Parse(file, text_);
  if (!rsvg_handle_get_intrinsic_size_in_pixels(handle.get(), &width_, &height_) || width_ <= 0 || height_ <= 0)
    Fail(file, "needs a width and height in pixels");
}

TPixels TSvgTemplate::Render(const std::string& classes, const std::string& stylesheet, double scale, int32_t width,
                             int32_t height) const {
  std::string text = text_;
  text.insert(rootTagEnd_, " class=\"" + classes + "\"");
  auto handle = Parse(file_, text);
  GError* error = nullptr;
  if (!stylesheet.empty() &&
      !rsvg_handle_set_stylesheet(handle.get(), reinterpret_cast<const guint8*>(stylesheet.data()), stylesheet.size(),
                                  &error))
    Fail(file_, "the skin's stylesheet does not parse", error);
  std::unique_ptr<cairo_surface_t, TSurfaceFree> surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  std::unique_ptr<cairo_t, TCairoFree> cairo(cairo_create(surface.get()));
  cairo_scale(cairo.get(), scale, scale);
  const RsvgRectangle viewport{0, 0, width_, height_};
  if (!rsvg_handle_render_document(handle.get(), cairo.get(), &viewport, &error))
    Fail(file_, "cannot be rendered", error);
  cairo_surface_flush(surface.get());
  TPixels pixels(width, height);
  const int stride = cairo_image_surface_get_stride(surface.get());
  const uint8_t* data = cairo_image_surface_get_data(surface.get());
  for (int32_t row = 0; row < height; ++row)
    std::memcpy(&pixels.Bytes[size_t(row) * width * 4], data + size_t(row) * stride, size_t(width) * 4);
  return pixels;
}

void WritePng(const TPixels& pixels, const std::filesystem::path& file) {
  const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, pixels.Width);
  std::vector<uint8_t> rows(size_t(stride) * pixels.Height);
  for (int32_t row = 0; row < pixels.Height; ++row)
    std::memcpy(&rows[size_t(row) * stride], &pixels.Bytes[size_t(row) * pixels.Width * 4], size_t(pixels.Width) * 4);
  std::unique_ptr<cairo_surface_t, TSurfaceFree> surface(
      cairo_image_surface_create_for_data(rows.data(), CAIRO_FORMAT_ARGB32, pixels.Width, pixels.Height, stride));
  if (cairo_surface_write_to_png(surface.get(), file.string().c_str()) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error(file.string() + ": cannot be written");
}
