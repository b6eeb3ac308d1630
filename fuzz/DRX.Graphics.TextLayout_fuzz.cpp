// Marked-up text of any kind, in bounds of any size and with any options:
// import, calculation, drawing, hit tests and plain text never fail, and the
// plain text keeps every character of the text blocks.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "DRX.Graphics.TextLayout.h"

namespace {

// The first six bytes choose the settings, options, alignments and bounds;
// the rest is UTF-16 text.
std::string Seed(uint8_t settings, uint8_t options, uint8_t width, uint8_t height, std::u16string_view text) {
  std::string data{static_cast<char>(settings), static_cast<char>(options), static_cast<char>(width),
                   static_cast<char>(height), 0, 0};
  data.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  return data;
}

class TNullCanvas : public IDRXTextCanvas {
 public:
  void BeginDraw(const TRect&, TPoint) override {}
  void EndDraw() override {}
  void DrawCharacters(const TFont&, const TRect& rect, UStringView text, const int32_t* widths, std::optional<TColor>,
                      bool) override {
    for (size_t i = 0; i < text.size(); ++i) sum += widths[i];
    sum += rect.Left;
  }
  void FillRect(const TRect& rect, TColor) override { sum += rect.Width(); }
  int64_t sum = 0;
};

}  // namespace

extern "C" void OvixFuzzSeeds(std::vector<std::string>& seeds) {
  seeds.push_back(Seed(0x0F, 0x1F, 60, 40, u"[b]bold[/b] [x]text [color=#FF8000]a[/color] www.example.com/x"));
  seeds.push_back(Seed(0x0F, 0x18, 30, 20, u"mail me@host.org [url=http://x]link [i]it[/i][/url]\\nnext\r\nrow"));
  seeds.push_back(Seed(0x0E, 0x09, 200, 10, u"abc \u05D0\u05D1 \u05D2\u05D3 def \u0628\u0650 12 [backcolor=red] \U0001F600"));
  seeds.push_back(Seed(0x0F, 0x0C, 5, 5, u"[[[[b]]]][/b][/b][/url][s][u]a\tb\0c http://"));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  TDRXTextImportSettings settings{(data[0] & 1) != 0, (data[0] & 2) != 0, (data[0] & 4) != 0, (data[0] & 8) != 0};
  UString text((size - 6) / 2, u'\0');
  std::memcpy(text.data(), data + 6, text.size() * 2);

  TFont font;
  TDRXFixedWidthTextMeasurer measurer(1 + data[5] % 16, 1 + data[5] / 16);
  TDRXTextLayout layout(font, measurer);
  for (int option = tloUnlimitedHeight; option <= tloWordWrap; ++option)
    layout.SetOption(static_cast<TDRXTextLayoutOption>(option), (data[1] >> option) & 1);
  layout.SetHorizontalAlignment(static_cast<TAlignment>(data[4] % 3));
  layout.SetVerticalAlignment(static_cast<TVerticalAlignment>(data[4] / 3 % 3));
  layout.SetBounds({0, 0, data[2] * 4, data[3] * 4});
  layout.SetText(text, settings);
  layout.Calculate();

  TNullCanvas canvas;
  layout.Draw(canvas);
  const TSize size_ = layout.GetSize();
  TDRXTextLayoutHitTestInfo info;
  for (int32_t y = 0; y <= size_.cy; y += 7)
    for (int32_t x = 0; x <= size_.cx; x += 13) layout.HitTest({x, y}, info);

  size_t textLength = 0;
  for (const auto& block : layout.Blocks()) {
    if (block->Kind() == bkText) {
      const auto& textBlock = static_cast<const TDRXTextLayoutBlockText&>(*block);
      if (textBlock.ShownLength < 0 || textBlock.ShownLength > textBlock.Length) std::abort();
      textLength += static_cast<size_t>(textBlock.Length);
    }
    if (block->Position < 1 || block->Position - 1 + block->Length > static_cast<int32_t>(text.size())) std::abort();
  }
  if (layout.ToString().size() < textLength) std::abort();
  return 0;
}
