#include "DRX.Classes.ComponentText.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {

TEST(ComponentText, ComponentsWithPropertiesAndChildrenInOrder) {
  const TDRXStreamComponent form = ReadComponentText(
      u"; a form\n"
      u"object Main: TMainForm\n"
      u"  Caption = \"Say \"\"hi\"\"; twice\"  ; the text keeps its ';'\n"
      u"  Font.Height = -11\n"
      u"  Anchors = [akLeft, akBottom]\n"
      u"  Default = True\n"
      u"  Position = poScreenCenter\n"
      u"  object First: TButton\n"
      u"    object : TInner\n"
      u"    end\n"
      u"  end\n"
      u"\r\n"
      u"  object Second: TLabel\r\n"
      u"  end\r\n"
      u"end\n");
  EXPECT_EQ(form.Name, u"Main");
  EXPECT_EQ(form.ClassName, u"TMainForm");
  ASSERT_EQ(form.Properties.size(), 5u);
  EXPECT_EQ(form.Find(u"Caption")->AsString(), u"Say \"hi\"; twice");
  EXPECT_EQ(form.Find(u"Font.Height")->AsInteger(), -11);
  EXPECT_EQ(form.Find(u"Anchors")->AsSet(), (std::vector<UString>{u"akLeft", u"akBottom"}));
  EXPECT_EQ(form.Find(u"Default")->Type, vaTrue);
  EXPECT_EQ(form.Find(u"Position")->AsIdent(), u"poScreenCenter");
  ASSERT_EQ(form.Children.size(), 2u);
  EXPECT_EQ(form.Children[0].Name, u"First");
  ASSERT_EQ(form.Children[0].Children.size(), 1u);
  EXPECT_EQ(form.Children[0].Children[0].Name, u"");
  EXPECT_EQ(form.Children[0].Children[0].ClassName, u"TInner");
  EXPECT_EQ(form.Children[1].ClassName, u"TLabel");
}

TEST(ComponentText, TheStreamOfATextReadsBackAsTheSameTree) {
  const TDRXStreamComponent form =
      ReadComponentText(u"object A: TA\n  Text = \"\u00e9t\u00e9\"\n  Set = []\n  object B: TB\n    Width = 70000\n  end\nend\n");
  TMemoryStream stream;
  WriteComponentStream(stream, form);
  EXPECT_EQ(stream.Bytes().substr(0, 4), "TPF0");
  stream.SetPosition(0);
  EXPECT_EQ(ReadComponentStream(stream), form);
}

TEST(ComponentText, MistakesNameTheirLine) {
  const std::pair<const char16_t*, const char*> cases[] = {
      {u"", "line 1: \"object Name: Class\" expected"},
      {u"; only a comment\n", "line 1: \"object Name: Class\" expected"},
      {u"Width = 3\n", "line 1: \"object Name: Class\" expected"},
      {u"object A TA\nend\n", "line 1: \":\" expected between the name and the class"},
      {u"object A:\nend\n", "line 1: class name expected after \":\""},
      {u"object 1A: TA\nend\n", "line 1: component name expected"},
      {u"object A: TA\n  Width 3\nend\n", "line 2: \"name = value\" expected"},
      {u"object A: TA\n  Width =\nend\n", "line 2: value expected after \"=\""},
      {u"object A: TA\n\n  Width = 3x\nend\n", "line 3: integer expected"},
      {u"object A: TA\n  Caption = \"open\nend\n", "line 2: a text must end with \" and stand alone"},
      {u"object A: TA\n  Anchors = [akLeft, 2]\nend\n", "line 2: identifier expected in a set"},
      {u"object A: TA\n  Width = 3\n", "line 2: \"end\" expected"},
      {u"object A: TA\nend\nobject B: TB\nend\n", "line 3: text after the last \"end\""},
  };
  for (const auto& [text, message] : cases)
    EXPECT_EQ(MessageOf<EComponentTextError>([&] { ReadComponentText(text); }), message) << message;
}

TEST(ComponentText, NestingDeeperThanAStreamHoldsIsRefused) {
  UString text;
  for (int i = 0; i <= kMaxComponentStreamDepth; ++i) text += u"object A: TA\n";
  for (int i = 0; i <= kMaxComponentStreamDepth; ++i) text += u"end\n";
  EXPECT_EQ(MessageOf<EComponentTextError>([&] { ReadComponentText(text); }),
            "line 33: components nested too deeply");
}

}  // namespace
