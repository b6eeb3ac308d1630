#include "ControlGallery.h"

#include <windows.h>

#include <zlib.h>

#include <cstdio>

#include "DRX.Graphics.GDI.h"
#include "DRX.UI.Controls.Buttons.h"
#include "DRX.UI.Controls.Edit.h"
#include "DRX.UI.Controls.FormattedLabel.h"
#include "DRX.UI.Controls.ImageComboBox.h"
#include "DRX.UI.Controls.Labels.h"
#include "DRX.UI.Controls.Memo.h"
#include "DRX.UI.Controls.ProgressBar.h"
#include "DRX.UI.Resources.Root.h"
#include "DRX.ZLib.h"

// ---- Sections ----

namespace {

// One sample per row, 32 pixels apart.
TRect Row(int index, int32_t width = 170, int32_t height = 25) {
  return Bounds(10, TGalleryPanel::kTop + 32 * index, width, height);
}

TRect BoxRow(int index, int32_t width = 220, int32_t height = 17) {
  return Bounds(10, TGalleryPanel::kTop + 24 * index, width, height);
}

void FillPushButtons(TGalleryPanel& panel) {
  panel.Add<TDRXButton>(u"Buttons.Normal", Row(0), u"Normal");
  panel.Add<TDRXButton>(u"Buttons.Hover", Row(1), u"Hover")->ViewInfo().SetFlag(bfHover, true);
  panel.Add<TDRXButton>(u"Buttons.Pressed", Row(2), u"Pressed")->ViewInfo().SetFlag(bfPressed, true);
  panel.Add<TDRXButton>(u"Buttons.Focused", Row(3), u"Focused")->ViewInfo().SetFlag(bfFocused, true);
  panel.Add<TDRXButton>(u"Buttons.Default", Row(4), u"&Next >")->SetDefault(true);
  panel.Add<TDRXButton>(u"Buttons.Disabled", Row(5), u"Disabled")->SetEnabled(false);
  panel.Add<TDRXButton>(u"Buttons.Ellipsis", Row(6), u"A caption far too long for its button");
  panel.Add<TDRXButton>(u"Buttons.DropDown", Row(7), u"Drop-down")->SetKind(bkDropDown);
  panel.Add<TDRXButton>(u"Buttons.Split", Row(8), u"Split")->SetKind(bkSplit);
}

void FillCheckBoxes(TGalleryPanel& panel) {
  panel.Add<TDRXCheckBox>(u"CheckBoxes.Unchecked", BoxRow(0), u"Unchecked");
  panel.Add<TDRXCheckBox>(u"CheckBoxes.Checked", BoxRow(1), u"Checked")->SetChecked(true);
  auto* grayed = panel.Add<TDRXCheckBox>(u"CheckBoxes.Grayed", BoxRow(2), u"Grayed");
  grayed->SetAllowGrayed(true);
  grayed->SetState(cbGrayed);
  panel.Add<TDRXCheckBox>(u"CheckBoxes.Hover", BoxRow(3), u"Hover")->ViewInfo().SetFlag(bfHover, true);
  panel.Add<TDRXCheckBox>(u"CheckBoxes.Pressed", BoxRow(4), u"Pressed")->ViewInfo().SetFlag(bfPressed, true);
  panel.Add<TDRXCheckBox>(u"CheckBoxes.Focused", BoxRow(5), u"Focused (has the focus)");
  panel.Add<TDRXCheckBox>(u"CheckBoxes.Disabled", BoxRow(6), u"Disabled")->SetEnabled(false);
  auto* checkedDisabled = panel.Add<TDRXCheckBox>(u"CheckBoxes.CheckedDisabled", BoxRow(7), u"Checked, disabled");
  checkedDisabled->SetChecked(true);
  checkedDisabled->SetEnabled(false);
  // Fixed sizes: AutoSize first fits the caption, then lets go of the size.
  auto fixed = [&panel](UStringView name, const TRect& at96, UStringView caption) {
    auto* box = panel.Add<TDRXCheckBox>(name, at96, caption);
    box->SetAutoSize(false);
    box->SetBoundsRect(panel.ScaleFactor().Apply(Bounds(at96.Left, at96.Top, at96.Width(), at96.Height())));
    return box;
  };
  fixed(u"CheckBoxes.Ellipsis", BoxRow(8, 150), u"A caption far too long for its box");
  auto* wrapped = fixed(u"CheckBoxes.WordWrap", BoxRow(9, 220, 34),
                        u"A longer caption that is wrapped at words onto a second line");
  wrapped->SetWordWrap(true);
  wrapped->SetAutoSize(true);  // keeps the width, fits the height to the lines
  auto* line = fixed(u"CheckBoxes.Line", BoxRow(11, 230), u"Section line");
  line->SetShowCheckMark(false);
  line->SetShowLine(true);
  line->SetAlignment(taCenter);
}

void FillRadioBoxes(TGalleryPanel& panel) {
  panel.Add<TDRXRadioBox>(u"RadioBoxes.Checked", BoxRow(0), u"Checked")->SetChecked(true);
  panel.Add<TDRXRadioBox>(u"RadioBoxes.Unchecked", BoxRow(1), u"Unchecked");
  panel.Add<TDRXRadioBox>(u"RadioBoxes.Hover", BoxRow(2), u"Hover")->ViewInfo().SetFlag(bfHover, true);
  auto* checkedDisabled = panel.Add<TDRXRadioBox>(u"RadioBoxes.CheckedDisabled", BoxRow(3), u"Checked, disabled");
  checkedDisabled->SetGroupIndex(1);
  checkedDisabled->SetChecked(true);
  checkedDisabled->SetEnabled(false);
  auto* disabled = panel.Add<TDRXRadioBox>(u"RadioBoxes.Disabled", BoxRow(4), u"Disabled");
  disabled->SetGroupIndex(1);
  disabled->SetEnabled(false);
}

// Labels in three columns, 22 pixels apart.
TRect LabelCell(int column, int row, int32_t width = 220, int32_t height = 18) {
  return Bounds(10 + 235 * column, TGalleryPanel::kTop + 22 * row, width, height);
}

void FillLabels(TGalleryPanel& panel) {
  panel.Add<TDRXLabel>(u"Labels.Plain", LabelCell(0, 0), u"A plain label");
  panel.Add<TDRXLabel>(u"Labels.Disabled", LabelCell(0, 1), u"A disabled label")->SetEnabled(false);
  auto* hover = panel.Add<TDRXLabel>(u"Labels.URLHover", LabelCell(0, 2), u"ovix.example (under the mouse)");
  hover->SetURL(u"https://ovix.example/");
  hover->SetMouseInControl(true);
  panel.Add<TDRXLabel>(u"Labels.URL", LabelCell(0, 3), u"ovix.example")->SetURL(u"https://ovix.example/");
  auto* line = panel.Add<TDRXLabel>(u"Labels.Line", LabelCell(0, 4), u"Section line");
  line->SetAlignment(taCenter);
  line->Style().SetShowLine(true);
  panel.Add<TDRXLabel>(u"Labels.Ellipsis", LabelCell(0, 5, 120), u"A caption far too long for its label");
  static constexpr UStringView kValidation[] = {u"Validation.Information", u"Validation.Warning",
                                                u"Validation.Error", u"Validation.Success"};
  for (int32_t icon = 0; icon < 4; ++icon) {
    UStringView name = kValidation[icon];
    panel.Add<TDRXValidationLabel>(name, LabelCell(1, icon), name.substr(11))->SetIcon(icon);
  }
  panel.Add<TDRXFormattedLabel>(u"FormattedLabel", LabelCell(1, 4, 220, 36),
                                u"[b]Bold[/b], [i]italic[/i], [color=#FF8000]orange[/color] and "
                                u"[url=https://ovix.example/]a link[/url]");
  for (int percent : {0, 50, 100})
    panel.Add<TDRXProgressBar>(u"Progress." + IntToStr(percent), LabelCell(2, percent / 50))->SetProgress(percent);
  auto* waiting = panel.Add<TDRXProgressBar>(u"Progress.Waiting", LabelCell(2, 3, 190));
  waiting->SetWaitingMode(true);
  while (waiting->WaitingPosition() < waiting->ScaleFactor().Apply(10)) waiting->AdvanceWaiting();
  auto* disabled = panel.Add<TDRXProgressBar>(u"Progress.Disabled", LabelCell(2, 4));
  disabled->SetProgress(60);
  disabled->SetEnabled(false);
}

void FillEditors(TGalleryPanel& panel) {
  auto* edit = panel.Add<TDRXEdit>(u"Edit", Bounds(10, TGalleryPanel::kTop, 220, 23));
  edit->SetText(u"C:\\Program Files\\Ovix");
  edit->AddButton(panel.ScaleFactor().Apply(64), u"&Browse");
  auto* memo = panel.Add<TDRXMemo>(u"Memo", Bounds(10, TGalleryPanel::kTop + 30, 220, 64));
  memo->SetReadOnly(true);
  memo->SetScrollBars(ssVertical);
  memo->SetText(u"A read-only memo with more lines than it shows:\r\nsecond\r\nthird\r\nfourth\r\nfifth");
  auto* combo = panel.Add<TDRXImageComboBox>(u"ImageComboBox", Bounds(10, TGalleryPanel::kTop + 102, 220, 23));
  for (const char16_t* language : {u"English", u"Deutsch", u"\u0420\u0443\u0441\u0441\u043A\u0438\u0439"}) combo->Items().AddSorted({language});
  combo->SetItemIndex(1);
}

const TGallerySection kGallerySections[] = {
    {u"Push buttons", Bounds(10, 10, 190, 330), &FillPushButtons},
    {u"Check boxes", Bounds(210, 10, 250, 330), &FillCheckBoxes},
    {u"Radio boxes", Bounds(470, 10, 240, 160), &FillRadioBoxes},
    {u"Edits, memo and lists", Bounds(470, 180, 240, 160), &FillEditors},
    {u"Labels and progress bars", Bounds(10, 350, 700, 170), &FillLabels},
};

}  // namespace

std::span<const TGallerySection> GallerySections() { return kGallerySections; }

// ---- The panel and the form ----

TDRXAlphaColor GallerySkinColor(UStringView id) {
  const TDRXResourceColor* color = RootResourceCollection()->Find<TDRXResourceColor>(id);
  return color ? color->Value() : claNull;
}

TGalleryPanel::TGalleryPanel(TControlGallery& gallery, UStringView title)
    : TDRXCustomControl(&gallery), gallery_(gallery), title_(title) {}

void TGalleryPanel::Place(TDRXCustomControl& control, UStringView name, const TRect& at96, UStringView caption) {
  control.SetName(name);
  control.SetParent(this);
  control.SetBoundsRect(ScaleFactor().Apply(at96));
  if (!caption.empty()) control.SetCaption(caption);
}

void TGalleryPanel::Paint(HDC dc) {
  TFont font = Font();
  font.Style = fsBold;
  TDRXSelection selection(dc, ControlFontHandle(font));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, AlphaColorToColor(GallerySkinColor(u"Common.Colors.Text")));
  RECT title = ToRECT(Rect(0, 0, Width(), ScaleFactor().Apply(TGalleryPanel::kTop - 6)));
  DrawTextW(dc, W(title_), static_cast<int>(title_.size()), &title, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  TDRXGdiObject<HBRUSH> line(CreateSolidBrush(AlphaColorToColor(GallerySkinColor(u"Common.Colors.Line"))));
  const RECT rule = ToRECT(Rect(0, title.bottom, Width(), title.bottom + 1));
  FillRect(dc, &rule, line.Get());
}

TControlGallery::TControlGallery() {
  SetCaption(u"Control gallery");
  SetBorderStyle(bsSingle);
  SetBorderIcons(biSystemMenu);
  SetClientSize(720, 530);
  for (const TGallerySection& section : GallerySections()) {
    auto* panel = new TGalleryPanel(*this, section.Title);
    panel->SetParent(this);
    panel->SetBoundsRect(ScaleFactor().Apply(section.Bounds));
    section.Fill(*panel);
  }
  SetActiveControl(Sample<TDRXWinControl>(u"CheckBoxes.Focused"));
  DarkModeChanged();
}

void TControlGallery::DarkModeChanged() { SetColor(AlphaColorToColor(GallerySkinColor(u"Common.Colors.Background"))); }

// ---- PNG ----

namespace {

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  PutBigEndian(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBigEndian(out, static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

}  // namespace

bool WriteGalleryPng(const UString& fileName, const uint8_t* bgra, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return false;
  std::vector<uint8_t> rows;  // filter byte 0, then red, green, blue
  rows.reserve(size_t(height) * (size_t(width) * 3 + 1));
  for (int32_t y = 0; y < height; ++y) {
    rows.push_back(0);
    for (int32_t x = 0; x < width; ++x) {
      const uint8_t* pixel = bgra + (size_t(y) * width + x) * 4;
      rows.insert(rows.end(), {pixel[2], pixel[1], pixel[0]});
    }
  }
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutBigEndian(header, static_cast<uint32_t>(width));
  PutBigEndian(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter choice, no interlace
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", ZCompress(rows.data(), rows.size(), 9));
  PutChunk(png, "IEND", {});
  FILE* file = _wfopen(W(fileName), L"wb");
  if (!file) return false;
  const bool written = fwrite(png.data(), 1, png.size(), file) == png.size();
  return fclose(file) == 0 && written;
}

bool CaptureWindowPng(HWND window, const UString& fileName) {
  RECT place{};
  // A window of another process may go at any time: nothing then to capture.
  if (!GetWindowRect(window, &place) || place.right <= place.left || place.bottom <= place.top) return false;
  TDRXDIBCanvas canvas(place.right - place.left, place.bottom - place.top);
  HDC screen = GetDC(nullptr);
  BitBlt(canvas.DC(), 0, 0, canvas.Width(), canvas.Height(), screen, place.left, place.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  GdiFlush();
  return WriteGalleryPng(fileName, canvas.Section().Bits(), canvas.Width(), canvas.Height());
}
