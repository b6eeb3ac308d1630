#pragma once
// The layout a form resource gives a form: the form's own window properties
// and, for each control on it, its class, name, rectangle (at the resource's
// 96 DPI), anchors, tab order and event handlers by name. Read from the
// component stream of the resource; the form creates the controls and binds
// the handler names to its own methods.
//
// Known properties: the form's ClientWidth, ClientHeight, BorderStyle,
// BorderIcons, Position, Color, Caption, Font.Name, Font.Height, Font.Style,
// Font.Color, OnCloseQuery; a control's Left, Top, Width, Height, Anchors,
// TabOrder, Caption, Default, Visible, OnClick. Anything else, or a value of
// the wrong kind, raises EReadError ("Property %s does not exist", "Invalid
// property value"): a form that the program would misread fails at build time.

#include <cstdint>
#include <vector>

#include "DRX.Classes.ComponentStream.h"
#include "DRX.Graphics.Types.h"
#include "DRX.UI.Controls.Layout.h"

// The form's values as the stream names them (bsSingle, poScreenCenter,
// [biSystemMenu]); the form maps them onto its own properties.
enum class TDRXLayoutBorderStyle : uint8_t { None, Single, Sizeable, Dialog };
enum class TDRXLayoutPosition : uint8_t { Designed, ScreenCenter, OwnerFormCenter };

struct TDRXLayoutBorderIcons {
  bool SystemMenu = true;
  bool Minimize = true;
  bool Maximize = true;
  bool operator==(const TDRXLayoutBorderIcons&) const = default;
};


struct TDRXControlLayout {
  UString ClassName;
  UString Name;
  TRect BoundsRect;  // left, top, right, bottom
  TAnchors Anchors = kDefaultAnchors;
  int32_t TabOrder = -1;  // -1: not given
  UString Caption;
  bool Default = false;
  bool Visible = true;
  UString OnClick;  // a handler's name; empty for none
};

struct TDRXFormLayout {
  UString ClassName;
  UString Name;
  TSize ClientSize;
  TDRXLayoutBorderStyle BorderStyle = TDRXLayoutBorderStyle::Sizeable;
  TDRXLayoutBorderIcons BorderIcons;
  TDRXLayoutPosition Position = TDRXLayoutPosition::Designed;
  TColor Color = RGBColor(0xF0, 0xF0, 0xF0);
  UString Caption;
  TFont Font;
  bool FontColorSet = false;  // otherwise the font takes the window-text colour
  UString OnCloseQuery;
  std::vector<TDRXControlLayout> Controls;  // in stream order

  // The control of that name, or none.
  const TDRXControlLayout* Find(UStringView name) const;
};

TDRXFormLayout ReadFormLayout(const TDRXStreamComponent& form);
// Reads the component stream from the stream's position.
TDRXFormLayout ReadFormLayout(TStream& stream);
