#include "DRX.UI.FormLayout.h"

#include <gtest/gtest.h>

#include "DRX.Classes.ComponentText.h"
#include "TestSupport.h"

namespace {

TDRXFormLayout LayoutOf(UStringView text) { return ReadFormLayout(ReadComponentText(text)); }

TEST(FormLayout, TheWizardFormAsTheBuildCompiledIt) {
  TMemoryStream stream;
  stream.LoadFromFile(CompiledFormFile(u"InstallerForm"));
  const TDRXFormLayout form = ReadFormLayout(stream);
  EXPECT_EQ(form.Name, u"InstallerForm");
  EXPECT_EQ(form.ClassName, u"TInstallerForm");
  EXPECT_EQ(form.ClientSize, (TSize{640, 480}));
  EXPECT_EQ(form.BorderStyle, TDRXLayoutBorderStyle::Single);
  EXPECT_EQ(form.BorderIcons, (TDRXLayoutBorderIcons{true, false, false}));
  EXPECT_EQ(form.Position, TDRXLayoutPosition::ScreenCenter);
  EXPECT_EQ(form.Color, clWhite);
  EXPECT_EQ(form.Font.Name, u"Segoe UI");
  EXPECT_EQ(form.Font.Height, -11);
  EXPECT_EQ(form.Font.Style, 0);
  EXPECT_FALSE(form.FontColorSet) << "the window-text colour";
  EXPECT_EQ(form.OnCloseQuery, u"FormCloseQuery");

  struct TExpected {
    const char16_t* name;
    const char16_t* className;
    TRect bounds;
    TAnchors anchors;
    int32_t tabOrder;
    const char16_t* onClick;
    bool isDefault;
  };
  const TExpected expected[] = {
      {u"lbVerInfo", u"TDRXLabel", Bounds(12, 447, 257, 25), akLeft | akBottom, -1, u"", false},
      {u"bBack", u"TDRXButton", Bounds(384, 447, 121, 25), akRight | akBottom, 0, u"bBackClick", false},
      {u"bNext", u"TDRXButton", Bounds(511, 447, 121, 25), akRight | akBottom, 1, u"bNextClick", true},
  };
  ASSERT_EQ(form.Controls.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const TDRXControlLayout& control = form.Controls[i];
    const TExpected& e = expected[i];
    EXPECT_EQ(control.Name, e.name);
    EXPECT_EQ(control.ClassName, e.className);
    EXPECT_EQ(control.BoundsRect, e.bounds) << i;
    EXPECT_EQ(control.Anchors, e.anchors) << i;
    EXPECT_EQ(control.TabOrder, e.tabOrder) << i;
    EXPECT_EQ(control.OnClick, e.onClick) << i;
    EXPECT_EQ(control.Default, e.isDefault) << i;
    EXPECT_TRUE(control.Visible);
  }
  EXPECT_EQ(form.Find(u"bNext"), &form.Controls[2]);
  EXPECT_EQ(form.Find(u"bnext"), nullptr) << "names compare exactly";
}

TEST(FormLayout, DefaultsOfAFormThatSetsLittle) {
  const TDRXFormLayout form = LayoutOf(u"object F: TF\n  object B: TB\n    Width = 10\n    Left = 5\n  end\nend\n");
  EXPECT_EQ(form.BorderStyle, TDRXLayoutBorderStyle::Sizeable);
  EXPECT_EQ(form.BorderIcons, (TDRXLayoutBorderIcons{true, true, true}));
  EXPECT_EQ(form.Position, TDRXLayoutPosition::Designed);
  EXPECT_EQ(form.Font.Height, -11);
  EXPECT_TRUE(form.OnCloseQuery.empty());
  EXPECT_EQ(form.Controls[0].BoundsRect, Bounds(5, 0, 10, 0)) << "Left after Width keeps the width";
  EXPECT_EQ(form.Controls[0].Anchors, akLeft | akTop);
}

TEST(FormLayout, ColoursByNameOrNumber) {
  EXPECT_EQ(LayoutOf(u"object F: TF\n  Color = clRed\nend\n").Color, RGBColor(255, 0, 0));
  const TDRXFormLayout form = LayoutOf(u"object F: TF\n  Font.Color = 16711680\nend\n");
  EXPECT_EQ(form.Font.Color, RGBColor(0, 0, 255));
  EXPECT_TRUE(form.FontColorSet);
}

TEST(FormLayout, WhatTheProgramWouldMisreadIsRefused) {
  const std::pair<const char16_t*, const char*> cases[] = {
      {u"object F: TF\n  Colour = clWhite\nend\n", "Property Colour does not exist"},
      {u"object F: TF\n  object B: TB\n    OnChange = X\n  end\nend\n", "Property OnChange does not exist"},
      {u"object F: TF\n  BorderStyle = bsRound\nend\n", "Invalid property value"},
      {u"object F: TF\n  BorderIcons = [biSystemMenu, biClose]\nend\n", "Invalid property value"},
      {u"object F: TF\n  Color = clNoSuchColour\nend\n", "Invalid property value"},
      {u"object F: TF\n  ClientWidth = \"640\"\nend\n", "Invalid property value"},
      {u"object F: TF\n  object B: TB\n    object C: TC\n    end\n  end\nend\n", "Invalid stream format"},
  };
  for (const auto& [text, message] : cases) EXPECT_EQ(MessageOf<EReadError>([&] { LayoutOf(text); }), message) << message;
}

}  // namespace
