#include "DRX.Classes.ComponentStream.h"

#include <gtest/gtest.h>

using namespace std::literals;

namespace {

std::string Write(const TDRXStreamComponent& component) {
  TMemoryStream stream;
  WriteComponentStream(stream, component);
  return std::string(stream.Bytes());
}

TDRXStreamComponent Read(std::string_view bytes) {
  TMemoryStream stream(bytes);
  return ReadComponentStream(stream);
}

std::string ReadError(std::string_view bytes) {
  try {
    Read(bytes);
  } catch (const EReadError& e) {
    return Utf16ToUtf8(e.Message());
  }
  return "no error";
}

TDRXStreamValue Typed(TDRXValueType type, TDRXStreamValue value) {
  value.Type = type;
  return value;
}

// One property of every value type, including the forms a writer would not choose.
TDRXStreamComponent EveryType() {
  TDRXStreamComponent root;
  root.ClassName = u"TDRXRootResourceCollectionImpl";
  auto add = [&](UString name, TDRXStreamValue value) { root.Properties.push_back({std::move(name), std::move(value)}); };
  TDRXStreamValue list;
  list.Type = vaList;
  list.List = {TDRXStreamValue::FromInteger(1), TDRXStreamValue::FromString(u"two")};
  add(u"List", list);
  add(u"Int8", TDRXStreamValue::FromInteger(-128));
  add(u"Int16", TDRXStreamValue::FromInteger(-32768));
  add(u"Int32", TDRXStreamValue::FromInteger(INT32_MIN));
  add(u"WideInt8", Typed(vaInt32, TDRXStreamValue::FromInteger(5)));
  add(u"String", TDRXStreamValue::FromString(u"Segoe UI"));
  add(u"Ident", TDRXStreamValue::FromIdent(u"claWhitesmoke"));
  add(u"False", TDRXStreamValue::FromBoolean(false));
  add(u"True", TDRXStreamValue::FromIdent(u"True"));
  add(u"Binary", TDRXStreamValue::FromBinary("\0\x01NEXT\xFF"s));
  add(u"Set", TDRXStreamValue::FromSet({u"fsBold", u"fsItalic"}));
  add(u"EmptySet", TDRXStreamValue::FromSet({}));
  add(u"LString", TDRXStreamValue::FromString(UString(300, u'x')));
  add(u"WString", Typed(vaWString, TDRXStreamValue::FromString(u"\u0416\U0001F600")));
  add(u"UTF8", TDRXStreamValue::FromString(u"Gr\u00FC\u00DFe"));
  TDRXStreamCollectionItem first, second;
  first.Properties = {{u"ID", TDRXStreamValue::FromString(u"Common.Colors.Text")}};
  second.HasOrder = true;
  second.Order = TDRXStreamValue::FromInteger(7);
  add(u"Items", TDRXStreamValue::FromCollection({first, second}));
  TDRXStreamComponent child;
  child.Flags = ffInherited | ffChildPos;
  child.ChildPos = 3;
  child.ClassName = u"TChild";
  child.Name = u"Child1";
  root.Children.push_back(child);
  return root;
}

TEST(ComponentStream, RoundTripKeepsEveryTypeAndTheBytes) {
  const TDRXStreamComponent tree = EveryType();
  const std::string bytes = Write(tree);
  const TDRXStreamComponent back = Read(bytes);
  EXPECT_EQ(back, tree);
  EXPECT_EQ(Write(back), bytes);
  EXPECT_EQ(back.Find(u"WideInt8")->Type, vaInt32);
  EXPECT_EQ(back.Find(u"WString")->Text, u"\u0416\U0001F600");
  EXPECT_EQ(back.Find(u"LString")->Type, vaLString);
  EXPECT_EQ(back.Find(u"UTF8")->Type, vaUTF8String);
  EXPECT_EQ(back.Find(u"True")->Type, vaTrue);
}

TEST(ComponentStream, LayoutOfASkinItem) {
  TDRXStreamComponent root;
  root.ClassName = u"TDRXRootResourceCollectionImpl";
  TDRXStreamCollectionItem item;
  item.Properties = {{u"ID", TDRXStreamValue::FromString(u"A")},
                     {u"ResourceClassName", TDRXStreamValue::FromString(u"Color")},
                     {u"Resource.Value", TDRXStreamValue::FromIdent(u"claRed")},
                     {u"Resource.Opacity", TDRXStreamValue::FromInteger(200)}};
  root.Properties = {{u"Items", TDRXStreamValue::FromCollection({item})}};
  const std::string expected =
      "TPF0\x1ETDRXRootResourceCollectionImpl\x00"
      "\x05Items\x0E"
      "\x01"
      "\x02ID\x06\x01" "A"
      "\x11ResourceClassName\x06\x05" "Color"
      "\x0EResource.Value\x07\x06" "claRed"
      "\x10Resource.Opacity\x03\xC8\x00"
      "\x00"  // end of the item
      "\x00"  // end of the collection
      "\x00"  // end of the properties
      "\x00"s;  // end of the children
  EXPECT_EQ(Write(root), expected);
  TMemoryStream stream(expected + "tail");
  EXPECT_EQ(ReadComponentStream(stream), root);
  EXPECT_EQ(stream.Position(), static_cast<int64_t>(expected.size()));
}

TEST(ComponentStream, OrderValueBeforeTheItem) {
  const std::string bytes = "TPF0\x01T\x00\x05Items\x0E\x03\x10\x27\x01\x02ID\x06\x01X\x00\x00\x00\x00"s;
  const TDRXStreamComponent root = Read(bytes);
  const auto& items = root.Find(u"Items")->AsCollection();
  ASSERT_EQ(items.size(), 1u);
  EXPECT_TRUE(items[0].HasOrder);
  EXPECT_EQ(items[0].Order.Type, vaInt16);
  EXPECT_EQ(items[0].Order.Integer, 10000);
  EXPECT_EQ(items[0].Properties[0].Value.AsString(), u"X");
  EXPECT_EQ(Write(root), bytes);
}

TEST(ComponentStream, EveryTruncationIsAReadError) {
  const std::string bytes = Write(EveryType());
  for (size_t length = 0; length < bytes.size(); ++length) {
    const std::string message = ReadError(bytes.substr(0, length));
    EXPECT_TRUE(message == "Stream read error" || message == "Invalid stream format") << length << ": " << message;
  }
}

TEST(ComponentStream, HostileValuesAreErrorsOfTheStream) {
  const std::string prefix = "TPF0\x01T\x00\x01P"s;
  struct Case {
    std::string value;
    std::string message;
  };
  const Case cases[] = {
      {"\x00"s, "Invalid property value"},                        // vaNull
      {"\x05\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"s, "Invalid property value"},  // extended
      {"\x0D"s, "Invalid property value"},                        // nil
      {"\x13\x01\x00\x00\x00\x00\x00\x00\x00"s, "Invalid property value"},  // int64
      {"\x15"s, "Invalid property value"},
      {"\xFF"s, "Invalid property value"},
      {"\x0A\xFF\xFF\xFF\xFF"s, "Invalid property value"},        // negative binary length
      {"\x0C\x00\x00\x00\x80"s, "Invalid property value"},
      {"\x12\xFF\xFF\xFF\x7F"s, "Stream read error"},             // 4 GiB of UTF-16 announced
      {"\x14\xFF\xFF\xFF\x7F"s, "Stream read error"},
      {"\x0A\x10\x00\x00\x00short"s, "Stream read error"},
      {"\x0E\x06\x01X"s, "Invalid property value"},               // an item opened by a string
      {"\x0E\x02\x05\x02"s, "Invalid property value"},            // order value without vaList
      {"\x04\x01\x02"s, "Stream read error"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadError(prefix + c.value + "\x00\x00"s), c.message) << int(uint8_t(c.value[0]));
}

TEST(ComponentStream, SignatureAndNesting) {
  EXPECT_EQ(ReadError(""), "Invalid stream format");
  EXPECT_EQ(ReadError("TPF1\x01T\x00\x00\x00"s), "Invalid stream format");
  // Lists nested deeper than the limit, and just within it.
  auto nested = [](int depth) {
    return "TPF0\x01T\x00\x01P"s + std::string(depth, '\x01') + std::string(depth + 2, '\x00');
  };
  EXPECT_EQ(ReadError(nested(kMaxComponentStreamDepth + 5)), "Invalid stream format");
  EXPECT_EQ(ReadError(nested(kMaxComponentStreamDepth - 2)), "no error");
  std::string children = "TPF0"s;
  for (int i = 0; i < 1000; ++i) children += "\x01T\x00\x00"s;
  EXPECT_EQ(ReadError(children), "Invalid stream format");
}

TEST(ComponentStream, TypedAccessRefusesOtherTypes) {
  const TDRXStreamValue text = TDRXStreamValue::FromString(u"1");
  EXPECT_THROW(text.AsInteger(), EReadError);
  EXPECT_THROW(text.AsIdent(), EReadError);
  EXPECT_THROW(TDRXStreamValue::FromInteger(1).AsString(), EReadError);
  EXPECT_THROW(TDRXStreamValue::FromIdent(u"x").AsBoolean(), EReadError);
  EXPECT_EQ(TDRXStreamValue::FromBoolean(true).AsIdent(), u"True");
  EXPECT_EQ(TDRXStreamValue::FromInteger(127).Type, vaInt8);
  EXPECT_EQ(TDRXStreamValue::FromInteger(128).Type, vaInt16);
  EXPECT_EQ(TDRXStreamValue::FromInteger(-32769).Type, vaInt32);
}

TEST(ComponentStream, NamesLongerThanAByteCountAreNotWritten) {
  TDRXStreamComponent root;
  root.ClassName = UString(256, u'T');
  TMemoryStream stream;
  EXPECT_THROW(WriteComponentStream(stream, root), EWriteError);
}

}  // namespace
