#include "DRX.UI.Controls.h"

#include <algorithm>

#include "DRX.Platform.h"

// ---- TDRXComponent ----

TDRXComponent::TDRXComponent(TDRXComponent* owner) : owner_(owner) {
  if (owner_) owner_->components_.push_back(this);
}

TDRXComponent::~TDRXComponent() {
  while (!components_.empty()) delete components_.back();  // each one leaves the list
  if (owner_) {
    auto& siblings = owner_->components_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
}

TDRXComponent* TDRXComponent::FindComponent(UStringView name) const {
  if (name.empty()) return nullptr;
  for (TDRXComponent* component : components_)
    if (SameText(component->Name(), name)) return component;
  return nullptr;
}

// ---- TDRXCustomControl: the tree ----

TDRXCustomControl::TDRXCustomControl(TDRXComponent* owner) : TDRXComponent(owner) {}

TDRXCustomControl::~TDRXCustomControl() {
  DestroyChildren();
  if (parent_) parent_->RemoveChild(this);
}

void TDRXCustomControl::DestroyChildren() {
  while (!controls_.empty()) delete controls_.back();  // each one leaves the list
}

void TDRXCustomControl::RemoveChild(TDRXCustomControl* child) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), child), controls_.end());
  for (TDRXCustomControl* above = this; above; above = above->parent_)
    if (above->IsWindowed()) {
      above->ForgetControl(child);
      break;
    }
  if (child->align_ != alNone) Realign();
  InvalidateRect(child->bounds_);
}

void TDRXCustomControl::SetParent(TDRXCustomControl* parent) {
  if (parent == parent_) return;
  for (const TDRXCustomControl* above = parent; above; above = above->parent_)
    if (above == this) return;  // a control cannot be its own ancestor
  if (parent_) parent_->RemoveChild(this);
  parent_ = parent;
  if (parent_) {
    tabOrder_ = 0;
    for (const TDRXCustomControl* sibling : parent_->controls_) tabOrder_ = std::max(tabOrder_, sibling->tabOrder_ + 1);
    parent_->controls_.push_back(this);
    if (align_ != alNone) parent_->Realign();
  }
  ParentChanged();
  if (parentFont_) FontChanged();
  Invalidate();
}

TDRXWinControl* TDRXCustomControl::ParentWindow() const {
  for (TDRXCustomControl* above = parent_; above; above = above->parent_)
    if (TDRXWinControl* window = above->AsWinControl()) return window;
  return nullptr;
}

TDRXCustomControl* TDRXCustomControl::Root() {
  TDRXCustomControl* root = this;
  while (root->parent_) root = root->parent_;
  return root;
}

TPoint TDRXCustomControl::OriginInParentWindow() const {
  TPoint origin{bounds_.Left, bounds_.Top};
  for (const TDRXCustomControl* above = parent_; above && !above->IsWindowed(); above = above->parent_) {
    origin.X += above->bounds_.Left;
    origin.Y += above->bounds_.Top;
  }
  return origin;
}

void TDRXCustomControl::ParentChanged() { PlacementChanged(); }

void TDRXCustomControl::PlacementChanged() {
  for (TDRXCustomControl* child : controls_) child->PlacementChanged();
}

// ---- Bounds and layout ----

void TDRXCustomControl::SetBoundsRect(const TRect& bounds) {
  TRect corrected = CorrectBounds(bounds);
  corrected.Right = std::max(corrected.Right, corrected.Left);
  corrected.Bottom = std::max(corrected.Bottom, corrected.Top);
  if (corrected == bounds_) return;
  ApplyBounds(corrected);
  if (parent_ && align_ != alNone) parent_->ChildLayoutChanged();
}

void TDRXCustomControl::ApplyBounds(const TRect& bounds) {
  const TRect old = bounds_;
  if (bounds == old) return;
  if (parent_) parent_->InvalidateRect(old);
  bounds_ = bounds;
  BoundsChanged();
  PlacementChanged();
  if (old.Width() != bounds.Width() || old.Height() != bounds.Height()) {
    const TSize oldSize{old.Width(), old.Height()}, newSize{bounds.Width(), bounds.Height()};
    // While scaling, the children scale themselves instead of following anchors.
    if (!aligning_)
      for (TDRXCustomControl* child : std::vector<TDRXCustomControl*>(controls_)) child->ParentResized(oldSize, newSize);
    Resized();
  }
  Invalidate();
}

void TDRXCustomControl::ParentResized(TSize oldSize, TSize newSize) {
  if (align_ != alNone || anchors_ == kDefaultAnchors) return;
  SetBoundsRect(AnchorBounds(bounds_, anchors_, oldSize, newSize));
}

void TDRXCustomControl::Resized() { Realign(); }

void TDRXCustomControl::ChildLayoutChanged() {
  if (!aligning_) Realign();
}

void TDRXCustomControl::Realign() {
  if (aligning_) return;
  std::vector<TDRXLayoutItem> items;
  items.reserve(controls_.size());
  bool anyAligned = false;
  for (const TDRXCustomControl* child : controls_) {
    items.push_back({child->bounds_, child->align_, child->margins_, child->visible_});
    anyAligned = anyAligned || child->align_ != alNone;
  }
  if (!anyAligned) return;
  aligning_ = true;
  const std::vector<TRect> placed = AlignItems(ClientRect(), padding_, items);
  const std::vector<TDRXCustomControl*> children = controls_;
  for (size_t i = 0; i < children.size(); ++i)
    if (children[i]->align_ != alNone) children[i]->ApplyBounds(children[i]->CorrectBounds(placed[i]));
  aligning_ = false;
}

void TDRXCustomControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  if (parent_) parent_->Realign();
}

void TDRXCustomControl::SetMargins(const TDRXMargins& margins) {
  if (margins == margins_) return;
  margins_ = margins;
  if (parent_ && align_ != alNone) parent_->Realign();
}

void TDRXCustomControl::SetPadding(const TDRXMargins& padding) {
  if (padding == padding_) return;
  padding_ = padding;
  Realign();
}

// ---- State ----

void TDRXCustomControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  VisibleChanged();
}

void TDRXCustomControl::VisibleChanged() {
  if (parent_) {
    if (align_ != alNone) parent_->Realign();
    parent_->InvalidateRect(bounds_);
  }
  PlacementChanged();
}

bool TDRXCustomControl::EnabledInTree() const {
  for (const TDRXCustomControl* control = this; control; control = control->parent_)
    if (!control->enabled_) return false;
  return true;
}

void TDRXCustomControl::SetTabOrder(int order) {
  if (!parent_) {
    tabOrder_ = order;
    return;
  }
  std::vector<TDRXCustomControl*> siblings = parent_->ControlsInTabOrder();
  siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  const auto place = static_cast<size_t>(std::clamp(order, 0, static_cast<int>(siblings.size())));
  siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(place), this);
  for (size_t i = 0; i < siblings.size(); ++i) siblings[i]->tabOrder_ = static_cast<int>(i);
}

std::vector<TDRXCustomControl*> TDRXCustomControl::ControlsInTabOrder() const {
  std::vector<TDRXCustomControl*> sorted = controls_;
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const TDRXCustomControl* a, const TDRXCustomControl* b) { return a->tabOrder_ < b->tabOrder_; });
  return sorted;
}

bool TDRXCustomControl::Showing() const {
  for (const TDRXCustomControl* control = this; control; control = control->parent_)
    if (!control->visible_) return false;
  return true;
}

void TDRXCustomControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  EnabledChanged();
}

const TFont& TDRXCustomControl::Font() const {
  if (parentFont_ && parent_) return parent_->Font();
  return font_;
}

void TDRXCustomControl::SetFont(const TFont& font) {
  const bool changed = parentFont_ || !(font == font_);
  font_ = font;
  parentFont_ = false;
  if (!changed) return;
  FontChanged();
  NotifyChildrenFontChanged();
}

void TDRXCustomControl::SetParentFont(bool value) {
  if (value == parentFont_) return;
  if (!value) font_ = Font();  // keeps what it shows
  parentFont_ = value;
  FontChanged();
  NotifyChildrenFontChanged();
}

void TDRXCustomControl::NotifyChildrenFontChanged() {
  for (TDRXCustomControl* child : controls_) {
    if (!child->parentFont_) continue;
    child->FontChanged();
    child->NotifyChildrenFontChanged();
  }
}

void TDRXCustomControl::NotifyHighContrastChanged() {
  HighContrastChanged();
  // A snapshot: a control may rebuild its children.
  const std::vector<TDRXCustomControl*> children = controls_;
  for (TDRXCustomControl* child : children) child->NotifyHighContrastChanged();
}

void TDRXCustomControl::SetCaption(UStringView caption) {
  if (caption == caption_) return;
  caption_ = UString(caption);
  CaptionChanged();
}

int TDRXCustomControl::CurrentDPI() const { return parent_ ? parent_->CurrentDPI() : 96; }

void TDRXCustomControl::ChangeScale(int32_t numerator, int32_t denominator) {
  const TDRXScaleFactor factor{numerator, denominator};
  if (factor.IsIdentity() || denominator <= 0 || numerator <= 0) return;
  margins_ = factor.Apply(margins_);
  padding_ = factor.Apply(padding_);
  if (!parentFont_) font_.Height = factor.Apply(font_.Height);
  aligning_ = true;  // the children scale themselves; one realignment afterwards
  ApplyBounds(CorrectBounds(factor.Apply(bounds_)));
  for (TDRXCustomControl* child : std::vector<TDRXCustomControl*>(controls_)) child->ChangeScale(numerator, denominator);
  aligning_ = false;
  Realign();
  FontChanged();
}

// ---- Painting and mouse ----

void TDRXCustomControl::InvalidateRect(const TRect& rect) {
  if (!parent_ || !visible_) return;
  TRect inParent = RectIntersection(rect, ClientRect());
  if (inParent.IsEmpty()) return;
  inParent.Offset(bounds_.Left, bounds_.Top);
  parent_->InvalidateRect(inParent);
}

TDRXCustomControl* TDRXCustomControl::WindowlessControlAt(TPoint point, TPoint& local) {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TDRXCustomControl* child = *it;
    if (child->IsWindowed() || !child->visible_ || !child->bounds_.Contains(point)) continue;
    const TPoint inChild{point.X - child->bounds_.Left, point.Y - child->bounds_.Top};
    if (TDRXCustomControl* inner = child->WindowlessControlAt(inChild, local)) return inner;
    if (child->enabled_ && child->HitTest(inChild)) {
      local = inChild;
      return child;
    }
  }
  return nullptr;
}

void TDRXCustomControl::SetMouseInControl(bool inside) {
  if (inside == mouseInControl_) return;
  mouseInControl_ = inside;
  if (inside)
    MouseEnter();
  else
    MouseLeave();
}

void TDRXCustomControl::Click() {
  if (OnClick) OnClick(*this);
}

// ---- Accelerators ----

namespace {

// The index of the accelerator character, or npos.
size_t AcceleratorIndex(UStringView caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] != u'&') return i + 1;
    ++i;
  }
  return UStringView::npos;
}

char16_t UpperAscii(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

}  // namespace

char16_t AcceleratorOf(UStringView caption) {
  const size_t index = AcceleratorIndex(caption);
  return index == UStringView::npos ? 0 : UpperAscii(caption[index]);
}

UString StripAccelerator(UStringView caption) {
  UString shown;
  shown.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&') {
      if (i + 1 >= caption.size()) break;
      ++i;
    }
    shown.push_back(caption[i]);
  }
  return shown;
}

UString AcceleratorShortcut(UStringView caption) {
  const char16_t accelerator = AcceleratorOf(caption);
  if (accelerator == 0 || accelerator == u' ') return {};
  return UString(u"Alt+") + accelerator;
}

#ifndef _WIN32
void TDRXCustomControl::NotifyAccessibleChange(uint32_t) {}
#endif

bool IsAccelerator(char16_t character, UStringView caption) {
  const char16_t accelerator = AcceleratorOf(caption);
  return accelerator != 0 && UpperAscii(character) == accelerator;
}
