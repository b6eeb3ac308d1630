#pragma once
// One SVG texture template rendered by librsvg: the document is drawn once per
// frame, with the frame's classes set on its root element and the skin's
// stylesheet applied, at a scale of DPI ÷ 96.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Top-down rows of premultiplied pixels, bytes blue, green, red, alpha.
struct TPixels {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint8_t> Bytes;

  TPixels() = default;
  TPixels(int32_t width, int32_t height) : Width(width), Height(height), Bytes(size_t(width) * height * 4) {}
  // Copies `source` with its top-left corner at (x, y); parts outside are cut.
  void Blit(const TPixels& source, int32_t x, int32_t y);
};

class TSvgTemplate {
 public:
  // Raises std::runtime_error when the file cannot be read or has no size in pixels.
  explicit TSvgTemplate(const std::filesystem::path& file);

  // The document's size at 96 DPI, in pixels.
  double Width() const { return width_; }
  double Height() const { return height_; }

  // The document with `classes` on its root, under `stylesheet`, at `scale`,
  // into a surface of width × height pixels.
  TPixels Render(const std::string& classes, const std::string& stylesheet, double scale, int32_t width,
                 int32_t height) const;

 private:
  std::filesystem::path file_;
  std::string text_;
  size_t rootTagEnd_ = 0;  // just after "<svg", where the classes go
  double width_ = 0;
  double height_ = 0;
};

// Writes the pixels as a PNG file.
void WritePng(const TPixels& pixels, const std::filesystem::path& file);
