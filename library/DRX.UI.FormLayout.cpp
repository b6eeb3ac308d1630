#include "DRX.UI.FormLayout.h"

#include <functional>
#include <initializer_list>
#include <utility>

#include "DRX.Exceptions.h"
#include "DRX.Format.h"
#include "DRX.Graphics.Colors.h"

namespace {

template <class T>
using TIdentTable = std::initializer_list<std::pair<UStringView, T>>;

template <class T>
T IdentValue(const TDRXStreamValue& value, TIdentTable<T> table) {
  const UString ident = value.AsIdent();
  for (const auto& [name, item] : table)
    if (name == ident) return item;
  RaiseInvalidPropertyValue();
}

template <class T>
T SetValue(const TDRXStreamValue& value, TIdentTable<T> table) {
  T bits = 0;
  for (const UString& element : value.AsSet()) {
    bool known = false;
    for (const auto& [name, bit] : table) {
      if (name != element) continue;
      bits = static_cast<T>(bits | bit);
      known = true;
    }
    if (!known) RaiseInvalidPropertyValue();
  }
  return bits;
}

TColor ColorValue(const TDRXStreamValue& value) {
  if (value.IsInteger()) return static_cast<TColor>(value.AsInteger()) & 0xFFFFFF;
  TColor color = 0;
  if (!IdentToColor(value.AsIdent(), color)) RaiseInvalidPropertyValue();
  return color;
}

using TBorderStyle = TDRXLayoutBorderStyle;
using TPosition = TDRXLayoutPosition;
const TIdentTable<TBorderStyle> kBorderStyles = {{u"bsNone", TBorderStyle::None},
                                                 {u"bsSingle", TBorderStyle::Single},
                                                 {u"bsSizeable", TBorderStyle::Sizeable},
                                                 {u"bsDialog", TBorderStyle::Dialog}};
const TIdentTable<uint8_t> kBorderIcons = {{u"biSystemMenu", 1}, {u"biMinimize", 2}, {u"biMaximize", 4}};
const TIdentTable<TPosition> kPositions = {{u"poDesigned", TPosition::Designed},
                                           {u"poScreenCenter", TPosition::ScreenCenter},
                                           {u"poOwnerFormCenter", TPosition::OwnerFormCenter}};
const TIdentTable<TAnchors> kAnchors = {{u"akLeft", akLeft}, {u"akTop", akTop}, {u"akRight", akRight}, {u"akBottom", akBottom}};
const TIdentTable<TFontStyles> kFontStyles = {
    {u"fsBold", fsBold}, {u"fsItalic", fsItalic}, {u"fsUnderline", fsUnderline}, {u"fsStrikeOut", fsStrikeOut}};

// Applies each property through the reader of its name.
template <class T>
using TPropertyReaders = std::initializer_list<std::pair<UStringView, std::function<void(T&, const TDRXStreamValue&)>>>;

template <class T>
void ReadProperties(T& target, const std::vector<TDRXStreamProperty>& properties, TPropertyReaders<T> readers) {
  for (const TDRXStreamProperty& property : properties) {
    bool known = false;
    for (const auto& [name, read] : readers) {
      if (name != property.Name) continue;
      read(target, property.Value);
      known = true;
    }
    if (!known) throw EReadError(Format(u"Property %s does not exist", {property.Name}));
  }
}

TDRXControlLayout ReadControl(const TDRXStreamComponent& component) {
  using C = TDRXControlLayout;
  using V = TDRXStreamValue;
  C control;
  control.ClassName = component.ClassName;
  control.Name = component.Name;
  ReadProperties<C>(control, component.Properties,
                    {
                        {u"Left", [](C& c, const V& v) { c.BoundsRect.Offset(v.AsInteger() - c.BoundsRect.Left, 0); }},
                        {u"Top", [](C& c, const V& v) { c.BoundsRect.Offset(0, v.AsInteger() - c.BoundsRect.Top); }},
                        {u"Width", [](C& c, const V& v) { c.BoundsRect.Right = c.BoundsRect.Left + v.AsInteger(); }},
                        {u"Height", [](C& c, const V& v) { c.BoundsRect.Bottom = c.BoundsRect.Top + v.AsInteger(); }},
                        {u"Anchors", [](C& c, const V& v) { c.Anchors = SetValue(v, kAnchors); }},
                        {u"TabOrder", [](C& c, const V& v) { c.TabOrder = v.AsInteger(); }},
                        {u"Caption", [](C& c, const V& v) { c.Caption = v.AsString(); }},
                        {u"Default", [](C& c, const V& v) { c.Default = v.AsBoolean(); }},
                        {u"Visible", [](C& c, const V& v) { c.Visible = v.AsBoolean(); }},
                        {u"OnClick", [](C& c, const V& v) { c.OnClick = v.AsIdent(); }},
                    });
  if (!component.Children.empty()) throw EReadError(u"Invalid stream format");
  return control;
}

}  // namespace

const TDRXControlLayout* TDRXFormLayout::Find(UStringView name) const {
  for (const TDRXControlLayout& control : Controls)
    if (control.Name == name) return &control;
  return nullptr;
}

TDRXFormLayout ReadFormLayout(const TDRXStreamComponent& form) {
  using F = TDRXFormLayout;
  using V = TDRXStreamValue;
  F layout;
  layout.ClassName = form.ClassName;
  layout.Name = form.Name;
  layout.Font.Height = -11;
  ReadProperties<F>(layout, form.Properties,
                    {
                        {u"ClientWidth", [](F& f, const V& v) { f.ClientSize.cx = v.AsInteger(); }},
                        {u"ClientHeight", [](F& f, const V& v) { f.ClientSize.cy = v.AsInteger(); }},
                        {u"BorderStyle", [](F& f, const V& v) { f.BorderStyle = IdentValue(v, kBorderStyles); }},
                        {u"BorderIcons",
                         [](F& f, const V& v) {
                           const uint8_t icons = SetValue(v, kBorderIcons);
                           f.BorderIcons = {(icons & 1) != 0, (icons & 2) != 0, (icons & 4) != 0};
                         }},
                        {u"Position", [](F& f, const V& v) { f.Position = IdentValue(v, kPositions); }},
                        {u"Color", [](F& f, const V& v) { f.Color = ColorValue(v); }},
                        {u"Caption", [](F& f, const V& v) { f.Caption = v.AsString(); }},
                        {u"Font.Name", [](F& f, const V& v) { f.Font.Name = v.AsString(); }},
                        {u"Font.Height", [](F& f, const V& v) { f.Font.Height = v.AsInteger(); }},
                        {u"Font.Style", [](F& f, const V& v) { f.Font.Style = SetValue(v, kFontStyles); }},
                        {u"Font.Color",
                         [](F& f, const V& v) {
                           f.Font.Color = ColorValue(v);
                           f.FontColorSet = true;
                         }},
                        {u"OnCloseQuery", [](F& f, const V& v) { f.OnCloseQuery = v.AsIdent(); }},
                    });
  for (const TDRXStreamComponent& child : form.Children) layout.Controls.push_back(ReadControl(child));
  return layout;
}

TDRXFormLayout ReadFormLayout(TStream& stream) { return ReadFormLayout(ReadComponentStream(stream)); }
