#include "DRX.UI.Controls.Layout.h"

#include <algorithm>

int32_t TDRXScaleFactor::Apply(int32_t value) const {
  if (IsIdentity() || Denominator == 0) return value;
  return MulDivRounded(value, Numerator, Denominator);
}

TRect TDRXScaleFactor::Apply(const TRect& rect) const {
  // Edges are scaled, so that neighbours stay neighbours after rounding.
  return {Apply(rect.Left), Apply(rect.Top), Apply(rect.Right), Apply(rect.Bottom)};
}

TDRXMargins TDRXScaleFactor::Apply(const TDRXMargins& margins) const {
  return {Apply(margins.Left), Apply(margins.Top), Apply(margins.Right), Apply(margins.Bottom)};
}

namespace {

int32_t NotBelow(int32_t value, int32_t floor) { return std::max(value, floor); }

// Takes a slot of that extent off the near or the far end of the free
// space [spaceNear, spaceFar) on one axis; the slot's own ends come back.
void TakeSlot(int32_t& spaceNear, int32_t& spaceFar, int32_t& slotNear, int32_t& slotFar, int32_t extent,
              bool fromNear) {
  if (fromNear) {
    slotFar = std::min(spaceFar, spaceNear + extent);
    spaceNear = slotFar;
  } else {
    slotNear = std::max(spaceNear, spaceFar - extent);
    spaceFar = slotNear;
  }
}

// Takes the item's slot off one edge of the free space and returns its bounds.
TRect PlaceAtEdge(TRect& space, const TDRXLayoutItem& item) {
  const TDRXMargins& m = item.Margins;
  TRect slot = space;
  if (item.Align == alTop || item.Align == alBottom)
    TakeSlot(space.Top, space.Bottom, slot.Top, slot.Bottom, m.Top + item.Bounds.Height() + m.Bottom,
             item.Align == alTop);
  else if (item.Align == alLeft || item.Align == alRight)
    TakeSlot(space.Left, space.Right, slot.Left, slot.Right, m.Left + item.Bounds.Width() + m.Right,
             item.Align == alLeft);
  TRect placed = ShrinkRect(slot, m);
  placed.Right = NotBelow(placed.Right, placed.Left);
  placed.Bottom = NotBelow(placed.Bottom, placed.Top);
  return placed;
}

}  // namespace

std::vector<TRect> AlignItems(const TRect& client, const TDRXMargins& padding, std::span<const TDRXLayoutItem> items) {
  std::vector<TRect> result;
  result.reserve(items.size());
  for (const TDRXLayoutItem& item : items) result.push_back(item.Bounds);
  TRect space = ShrinkRect(client, padding);
  space.Right = NotBelow(space.Right, space.Left);
  space.Bottom = NotBelow(space.Bottom, space.Top);
  for (const TAlign edge : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (size_t i = 0; i < items.size(); ++i) {
      if (!items[i].Visible || items[i].Align != edge) continue;
      result[i] = PlaceAtEdge(space, items[i]);
    }
  }
  return result;
}

namespace {

// One axis of AnchorBounds: the near and far edge of the control.
void AnchorAxis(int32_t& nearEdge, int32_t& farEdge, bool nearAnchored, bool farAnchored, int32_t oldSize,
                int32_t newSize) {
  const int32_t delta = newSize - oldSize;
  if (nearAnchored && farAnchored) {
    farEdge = NotBelow(farEdge + delta, nearEdge);
  } else if (farAnchored) {
    nearEdge += delta;
    farEdge += delta;
  } else if (!nearAnchored) {
    const int32_t shift = FloorDiv(newSize, 2) - FloorDiv(oldSize, 2);
    nearEdge += shift;
    farEdge += shift;
  }
}

}  // namespace

TRect AnchorBounds(const TRect& bounds, TAnchors anchors, TSize oldSize, TSize newSize) {
  TRect result = bounds;
  AnchorAxis(result.Left, result.Right, anchors & akLeft, anchors & akRight, oldSize.cx, newSize.cx);
  AnchorAxis(result.Top, result.Bottom, anchors & akTop, anchors & akBottom, oldSize.cy, newSize.cy);
  return result;
}
