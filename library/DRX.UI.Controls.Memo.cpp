#include "DRX.UI.Controls.Memo.h"

#include <algorithm>

TDRXMemoLayout CalculateMemoLayout(const TRect& content, TDRXScrollStyle bars, int32_t barSize, TSize systemBars) {
  const bool vertical = HasVerticalBar(bars);
  const bool horizontal = HasHorizontalBar(bars);
  const int32_t width = std::max(content.Width(), 0);
  const int32_t height = std::max(content.Height(), 0);
  const int32_t bar = std::max(barSize, 0);
  const int32_t visibleWidth = std::max(width - (vertical ? bar : 0), 0);
  const int32_t visibleHeight = std::max(height - (horizontal ? bar : 0), 0);
  const TRect visible = Bounds(content.Left, content.Top, visibleWidth, visibleHeight);
  const TRect area = Bounds(content.Left, content.Top, width, height);

  TDRXMemoLayout layout;
  layout.InnerVisible = Bounds(0, 0, visibleWidth, visibleHeight);
  layout.InnerWindow = Bounds(visible.Left, visible.Top,
                              visibleWidth + (vertical ? std::max(systemBars.cx, 0) : 0),
                              visibleHeight + (horizontal ? std::max(systemBars.cy, 0) : 0));
  if (vertical) layout.VertBar = {visible.Right, area.Top, area.Right, visible.Bottom};
  if (horizontal) layout.HorzBar = {area.Left, visible.Bottom, visible.Right, area.Bottom};
  if (vertical && horizontal) layout.Corner = {visible.Right, visible.Bottom, area.Right, area.Bottom};
  return layout;
}

TDRXStyleMemo::TDRXStyleMemo(IDRXStyleOwner* owner) : TDRXStyleEditBox(owner, u"Memo.Textures.Border") {}
