#include "DRX.FileFormats.XML.h"

#include <gtest/gtest.h>

#include "DRX.Encoding.h"
#include "DRX.FileFormats.XML.References.h"
#include "TestSupport.h"

using namespace std::literals;

namespace {

// A compact picture of a tree: name[attr=value,...]'text'{children}.
std::string Describe(const TDRXXMLNode& node) {
  std::string out = node.Name;
  if (node.Attributes.Count() > 0) {
    out += '[';
    for (int i = 0; i < node.Attributes.Count(); ++i)
      out += (i ? "," : "") + node.Attributes[i].Name + "=" + Utf16ToUtf8(node.Attributes[i].Value);
    out += ']';
  }
  if (!node.Text.empty()) out += "'" + Utf16ToUtf8(node.Text) + "'";
  if (node.Count() > 0) {
    out += '{';
    for (int i = 0; i < node.Count(); ++i) out += (i ? "," : "") + Describe(*node.Children(i));
    out += '}';
  }
  return out;
}

// The top-level elements, without the document's own braces.
std::string DescribeDocument(const TDRXXMLDocument& document) {
  const std::string all = Describe(document);
  return all.empty() ? all : all.substr(1, all.size() - 2);
}

std::string DescribeText(std::string_view xml, TDRXXMLEncoding encoding = {xeUtf8, 0}) {
  TDRXXMLDocument document;
  TMemoryStream stream(xml);
  document.LoadFromStream(stream, encoding);
  return DescribeDocument(document);
}

std::string Save(TDRXXMLDocument& document, const TDRXXMLFormatSettings& settings) {
  TMemoryStream stream;
  document.SaveToStream(stream, settings);
  return std::string(stream.Bytes());
}

void Load(TDRXXMLDocument& document, std::string_view bytes) {
  TMemoryStream stream(bytes);
  document.LoadFromStream(stream, {});
}

class TCodePageScope {
 public:
  explicit TCodePageScope(uint32_t codePage) : saved_(GetDRXCodePage()) { SetDRXCodePage(codePage); }
  ~TCodePageScope() { SetDRXCodePage(saved_); }

 private:
  uint32_t saved_;
};

// A document that uses every feature the writers must carry.
void BuildSample(TDRXXMLDocument& document) {
  TDRXXMLNode* root = document.AddChild("Setup");
  root->Attributes.Add("Version", u"1.0");
  root->Text = u"caf\u00E9 \u0416 \U0001F600 <&> \"'\\& \\";
  TDRXXMLNode* files = root->AddChild("Files");
  files->Attributes.Add("Dest", u"C:\\Program Files\\Ovix\\");
  files->Attributes.Add("Empty", u"");
  files->AddChild("File")->Text = u"  padded  ";
  files->AddChild("File")->Text = u"two\r\nlines";
  TDRXXMLNode* nested = files->AddChild("Group");
  nested->Text = u" spaced ";
  nested->AddChild("Item")->AddChild("Leaf")->Text = u"x";
  nested->AddChild("Item")->Text = u"\ttab";
  root->AddChild("Empty");
  root->AddChild("Control")->Text = u"\x01 lone \xD800";
}

}  // namespace

TEST(XMLNames, MatchWithAsciiLettersFoldedOnly) {
  struct Case { std::string_view a, b; bool same; };
  const Case cases[] = {
      {"Setup", "SETUP", true},  {"xml:space", "XML:Space", true}, {"a", "a ", false},
      {"[", "{", false},         {"@", "`", false},                {"\xE4", "\xC4", false},
      {"", "", true},
  };
  for (const auto& c : cases) EXPECT_EQ(SameXMLName(c.a, c.b), c.same) << c.a << " / " << c.b;
}

TEST(XMLAttributes, FindGetValueAndRemoveTakeTheFirstMatch) {
  TDRXXMLAttributes attributes;
  attributes.Add("Name", u"first");
  attributes.Add("NAME", u"second");
  EXPECT_EQ(attributes.GetValue("name"), u"first");
  EXPECT_EQ(attributes.GetValue("missing"), u"");
  EXPECT_EQ(attributes.Find("missing"), nullptr);
  EXPECT_TRUE(attributes.Remove("name"));
  EXPECT_EQ(attributes.GetValue("name"), u"second");
  EXPECT_TRUE(attributes.Remove("Name"));
  EXPECT_FALSE(attributes.Remove("Name"));
  EXPECT_EQ(attributes.Count(), 0);
}

TEST(XMLNode, ChildrenAndFindNodeForms) {
  TDRXXMLDocument document;
  TDRXXMLNode* root = document.AddChild("Install");
  root->AddChild("Settings")->AddChild("Item")->Text = u"1";
  EXPECT_EQ(document.Count(), 1);
  EXPECT_EQ(document.Children(0), root);
  EXPECT_EQ(document.Children(1), nullptr);
  EXPECT_EQ(document.Children(-1), nullptr);
  EXPECT_EQ(root->Children(0)->Parent(), root);
  EXPECT_EQ(document.FindNode("INSTALL"), root);
  EXPECT_EQ(document.FindNode("Settings"), nullptr);

  TDRXXMLNode* node = nullptr;
  ASSERT_TRUE(document.FindNode({"install", "settings", "ITEM"}, node));
  EXPECT_EQ(node->Text, u"1");
  EXPECT_FALSE(document.FindNode({"Install", "Actions", "Run"}, node));
  EXPECT_EQ(node, nullptr);
  EXPECT_EQ(root->Count(), 1) << "a failed walk adds nothing";
  ASSERT_TRUE(document.FindNode({"Install", "Actions", "Run"}, node, true));
  EXPECT_EQ(node->Name, "Run");
  EXPECT_EQ(node->Parent()->Parent(), root);
  ASSERT_TRUE(document.FindNode({}, node));
  EXPECT_EQ(node, &document);
  EXPECT_THROW(document.FindNode({"Other"}, node, true), EDRXXMLDocument) << "a second root";
}

TEST(XMLNode, DocumentKeepsOneRoot) {
  TDRXXMLDocument document;
  document.AddChild("a");
  EXPECT_EQ(MessageOf<EDRXXMLDocument>([&] { document.AddChild("b"); }), "Only one Root available");
  EXPECT_EQ(DescribeDocument(document), "a");
}

TEST(XMLNode, SetParentMovesAndRefusesCycles) {
  TDRXXMLNode root;
  TDRXXMLNode* a = root.AddChild("a");
  TDRXXMLNode* b = root.AddChild("b");
  TDRXXMLNode* a1 = a->AddChild("a1");
  EXPECT_FALSE(a->SetParent(*a));
  EXPECT_FALSE(a->SetParent(root)) << "already its parent";
  EXPECT_FALSE(a->SetParent(*a1)) << "its own descendant";
  EXPECT_FALSE(root.SetParent(*a)) << "a node without parent is not owned by a tree";
  EXPECT_EQ(Describe(root), "{a{a1},b}");
  EXPECT_TRUE(a->SetParent(*b));
  EXPECT_EQ(a->Parent(), b);
  EXPECT_EQ(Describe(root), "{b{a{a1}}}");
  std::unique_ptr<TDRXXMLNode> detached = a1->Detach();
  EXPECT_EQ(detached.get(), a1);
  EXPECT_EQ(a1->Parent(), nullptr);
  EXPECT_EQ(Describe(root), "{b{a}}");
  EXPECT_EQ(a1->Detach(), nullptr);

  TDRXXMLDocument document;
  document.AddChild("only");
  EXPECT_THROW(b->SetParent(document), EDRXXMLDocument);
  EXPECT_EQ(b->Parent(), &root) << "a refused move leaves the node where it was";
}

TEST(XMLNode, AssignCopiesDeeplyAndEqualsComparesByTheRules) {
  TDRXXMLDocument source;
  BuildSample(source);
  TDRXXMLDocument copy;
  copy.Assign(source);
  EXPECT_TRUE(copy.Equals(source));
  copy.Children(0)->Children(0)->Children(0)->Text = u"changed";
  EXPECT_FALSE(copy.Equals(source)) << "the copy shares nothing";

  // A node may take a copy of its own ancestor.
  TDRXXMLNode* files = source.Children(0)->Children(0);
  files->Children(2)->Assign(*files);
  EXPECT_EQ(files->Children(2)->Count(), 3);
  EXPECT_EQ(files->Children(2)->Children(2)->Count(), 2);

  TDRXXMLNode x, y;
  x.Attributes.Add("a", u"1");
  x.Attributes.Add("b", u"2");
  y.Attributes.Add("B", u"2");
  y.Attributes.Add("A", u"1");
  EXPECT_TRUE(x.Equals(y)) << "attribute order and name case do not matter";
  y.Name = "n";
  EXPECT_FALSE(x.Equals(y)) << "node names compare byte for byte";
  y.Name.clear();
  y.Attributes.Add("c", u"3");
  EXPECT_FALSE(x.Equals(y)) << "attribute count";
  x.Attributes.Add("A", u"other");
  y.Attributes.Remove("c");
  y.Attributes.Add("a", u"other");
  EXPECT_TRUE(x.Equals(y) && y.Equals(x)) << "same-named attributes pair up in order";
  EXPECT_TRUE(x.Equals(x));
  x.Attributes[2].Value = u"1";
  EXPECT_FALSE(x.Equals(y) || y.Equals(x));
  TDRXXMLDocument emptyDocument;
  EXPECT_FALSE(emptyDocument.Equals(TDRXXMLNode())) << "the class counts";
}

TEST(XMLNode, DepthIsLimited) {
  TDRXXMLNode root;
  TDRXXMLNode* node = &root;
  for (int i = 0; i < kMaxXMLDepth; ++i) node = node->AddChild("n");
  EXPECT_THROW(node->AddChild("n"), EDRXXMLDocument);
  EXPECT_EQ(root.Height(), kMaxXMLDepth);
  TDRXXMLNode other;
  TDRXXMLNode* top = other.AddChild("top");
  EXPECT_FALSE(root.Children(0)->SetParent(*top)) << "the subtree would end below the limit";
  EXPECT_THROW(top->Assign(root), EDRXXMLDocument);
}

TEST(XMLTextReader, BuildsTheTreeByTheTolerantRules) {
  struct Case { std::string_view xml, tree; };
  const Case cases[] = {
      {"<a/>", ""},  // fewer than 5 bytes
      {"<a/> ", "a"},
      {"<a x=1 y>t</a>", "a[x=1,y=]'t'"},
      {"<a>  t  <b/>u</a>", "a't'{b}"},
      {"<a>x<b/>y<c/></a>", "a'y'{b,c}"},
      {"<a>t<b></b>u<c/>  </a>", "a't'{b,c}"},  // text after a child's end tag is lost
      {"<a xml:space=\"preserve\">  t  </a>", "a'  t  '"},
      {"<a xml:space='Preserve'><b> t </b><c> u </c></a>", "a{b' t ',c'u'}"},
      {"<a xml:space=\"preserve\"><b/><c> t </c></a>", "a{b,c't'}"},
      {"<a xml:space=\"preserve\"><b xml:space=\"default\"> t </b></a>", "a{b't'}"},
      {"<a x=\"1>2\">t</a>", "a[x=1]'2\">t'"},
      {"<a>&#65;&#x41;&amp;\\&&nbsp;</a>", "a'AA&&nbsp'"},
      {"<a><b>t</x></y>", "a{b't'}"},
      {"<a>t<!-- c --></a>", "a"},
      {"<a><![CDATA[<x> &amp; ]]></a>", "a'<x> & '"},
      {"<?xml version=\"1.0\"?><!DOCTYPE a><a/>", "a"},
      {"<a x = \"1\" = y=>t</a>", "a[x=1,y=]'t'"},
      {"<a/><!-- after -->", "a"},
      {"<a><b <c/></a>", "a{b}"},  // a tag start inside a tag stops reading
      {"<a><b x=\"1\"", "a{b[x=1]}"},
      {"<a/></x><b/>", "a"},  // a closing tag with no open element stops reading
      {"<a><!-- open</a>", "a"},
      {"<\"q n\" 'v'=\"1\"/>", "q n[v=1]"},
      {"<a>\xC3</a>", "a"},  // invalid UTF-8 empties the value
  };
  for (const auto& c : cases) EXPECT_EQ(DescribeText(c.xml), c.tree) << c.xml;
}

TEST(XMLTextReader, SecondRootRaisesOutOfTheLoader) {
  TDRXXMLDocument document;
  EXPECT_EQ(MessageOf<EDRXXMLDocument>([&] { document.LoadFromString("<a/>text<b/>"); }), "Only one Root available");
  EXPECT_EQ(DescribeDocument(document), "a");
  EXPECT_TRUE(document.Text.empty()) << "the document carries no text";
}

TEST(XMLTextReader, DecodesByTheEncodingSetting) {
  const TCodePageScope scope(1251);
  const std::string plain = "<a v=\"\xC6\">\xC6</a>";
  TMemoryStream stream(plain);
  TDRXXMLDocument viaCreate(stream);
  EXPECT_EQ(viaCreate.Children(0)->Text, u"\u0416") << "the language's code page, not UTF-8";
  EXPECT_EQ(viaCreate.Children(0)->Attributes.GetValue("v"), u"\u0416");
  EXPECT_EQ(DescribeText(plain, {xeCodePage, 1252}), "a[v=\xC3\x86]'\xC3\x86'");
  EXPECT_EQ(DescribeText("<?xml encoding=\"WINDOWS-1252\"?>" + plain), "a[v=\xC3\x86]'\xC3\x86'");
  EXPECT_EQ(DescribeText("<?xml encoding=\"latin1\"?>" + plain), "a[v=\xD0\x96]'\xD0\x96'");
  EXPECT_EQ(DescribeText("\xEF\xBB\xBF<?xml encoding=\"utf-8\"?><a>\xD0\x96</a>", {xeLanguage, 0}), "a'\xD0\x96'")
      << "a byte-order mark is stray text before the declaration";

  TDRXXMLDocument fromString;
  fromString.LoadFromString("<a>\xD0\x96</a>");
  EXPECT_EQ(fromString.Children(0)->Text, u"\u0416");
  fromString.LoadFromString("<a>\xED\xA0\xBD\xED\xB8\x80</a>");
  EXPECT_EQ(fromString.Children(0)->Text, u"\U0001F600") << "surrogates stored as three-byte sequences";
}

TEST(XMLTextReader, DeepNestingStopsAtTheLimit) {
  std::string xml;
  for (int i = 0; i < 100000; ++i) xml += "<n>";
  TDRXXMLDocument document;
  document.LoadFromString(xml);
  EXPECT_EQ(document.Height(), kMaxXMLDepth);
}

TEST(XMLReferences, DecodeTable) {
  struct Case { std::u16string_view in, out; };
  const Case cases[] = {
      {u"&#65;", u"A"},      {u"&#x41;", u"A"},   {u"&#0x41;", u"A"},   {u"&#X41;", u"A"},
      {u"&#65601;", u"A"},   {u"&#zz;", u"\0"sv}, {u"&#;", u"\0"sv},    {u"&#4294967296;", u"\0"sv},
      {u"&amp;", u"&"},      {u"\\&", u"&"},      {u"&nbsp;", u"nbsp"}, {u"&AMP;", u"AMP"},
      {u"&lt;&gt;&quot;&apos;", u"<>\"'"},         {u"\\<\\>\\\"\\'", u"<>\"'"},
      {u"&;", u""},          {u"a & b;", u"a & b;"}, {u"&#$41;", u"&#$41;"}, {u"\\x\\", u"\\x\\"},
      {u"\\&amp;", u"&amp;"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeXMLReferences(c.in), c.out) << Utf16ToUtf8(c.in);
}

TEST(XMLTextWriter, LaysOutElementsByTheSettings) {
  TDRXXMLDocument document;
  TDRXXMLNode* root = document.AddChild("a");
  root->Attributes.Add("x", u"1 & <2>");
  root->Text = u"t &amp; u";
  root->AddChild("b")->Attributes.Add("y", u"\"q\"");
  root->AddChild("c")->Text = u" s";
  const std::string declaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";
  EXPECT_EQ(Save(document, {xfText, false, false, false}),
            declaration + "<a x=\"1 &amp; &lt;2&gt;\">t &amp; u<b y=\"&quot;q&quot;\"/><c xml:space=\"preserve\"> s</c></a>");
  EXPECT_EQ(Save(document, {xfText, false, true, true}),
            declaration +
                "<a x=\"1 &amp; &lt;2&gt;\">t &amp; u\r\n"
                "\t<b y=\"&quot;q&quot;\"/>\r\n"
                "\t<c xml:space=\"preserve\"> s</c>\r\n"
                "</a>\r\n");
  EXPECT_EQ(Save(document, {xfText, true, true, true}),
            declaration +
                "<a\r\n\tx=\"1 &amp; &lt;2&gt;\"\r\n>t &amp; u\r\n"
                "\t<b\r\n\t\ty=\"&quot;q&quot;\"\r\n\t/>\r\n"
                "\t<c\r\n\t\txml:space=\"preserve\"\r\n\t> s</c>\r\n"
                "</a>\r\n");
}

TEST(XMLTextWriter, BackslashBeforeAnEscapedCharacterSurvives) {
  EXPECT_EQ(EncodeXMLReferences(u"\\<"), u"&#92;&lt;");
  EXPECT_EQ(EncodeXMLReferences(u"\\\\&x"), u"&#92;&#92;&amp;x");
  EXPECT_EQ(EncodeXMLReferences(u"C:\\dir\\"), u"C:\\dir\\");
  for (const UStringView text : {u"\\<"sv, u"\\\\&x"sv, u"a\\\"b\\'"sv, u"C:\\dir\\"sv})
    EXPECT_EQ(DecodeXMLReferences(EncodeXMLReferences(text)), text) << Utf16ToUtf8(text);
}

TEST(XMLForms, EveryWriterReadsBackEqual) {
  TDRXXMLDocument source;
  BuildSample(source);
  for (int bits = 0; bits < 8; ++bits) {
    const TDRXXMLFormatSettings settings{xfText, (bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
    TDRXXMLDocument reread;
    Load(reread, Save(source, settings));
    EXPECT_TRUE(reread.Equals(source)) << "text settings " << bits << "\n" << Describe(reread) << "\n" << Describe(source);
  }
  TMemoryStream stream("ahead" + Save(source, {}));
  stream.SetPosition(5);
  TDRXXMLDocument reread;
  reread.AddChild("stale");
  reread.LoadFromStream(stream, {});
  EXPECT_TRUE(reread.Equals(source)) << "SXML, from the stream's position";
}

TEST(XMLBinary, SXMLLayout) {
  TDRXXMLDocument document;
  TDRXXMLNode* root = document.AddChild("r");
  root->Attributes.Add("k", u"v");
  root->AddChild("c")->Text = u"\u0416";
  root->AddChild("r");
  const std::string tree =
      "\x01"              // one top-level element
      "\x00" "\x03"       // name 0 ("r"), attributes and children
      "\x01" "\x01" "\x01" "v\x00"  // one attribute: name 1 ("k"), one unit
      "\x02"              // two children
      "\x02" "\x04" "\x01" "\x16\x04"  // name 2 ("c"), text of one unit
      "\x00" "\x00"s;     // name 0 again, nothing
  const std::string expected = "SXML"s + char(tree.size()) + std::string(7, '\0') + tree + "\x03\x01r\x01k\x01" "c";
  EXPECT_EQ(Save(document, {}), expected);
}

TEST(XMLBinary, LegacyBXMLReads) {
  const std::string bxml =
      "BXML" "\x01\x00\x00\x00"            // one child
      "\x01\x00" "r" "\x07"                // "r": attributes, children, text
      "\x02\x00\x00\x00" "h\x00i\x00"      // text "hi"
      "\x01\x00\x00\x00" "\x01\x00" "k" "\x01\x00" "v\x00"
      "\x01\x00\x00\x00" "\x01\x00" "c" "\x04" "\xFF\xFF\xFF\xFF"s;  // child "c", negative text count
  TDRXXMLDocument document;
  Load(document, bxml);
  EXPECT_EQ(DescribeDocument(document), "r[k=v]'hi'{c}");
}

TEST(XMLBinary, MalformedInputRaisesReadErrors) {
  const auto sxml = [](std::string_view tree, std::string_view table, int64_t length) {
    std::string out = "SXML";
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>(static_cast<uint64_t>(length) >> (8 * i)));
    return out + std::string(tree) + std::string(table);
  };
  struct Case { std::string bytes; std::string_view message; };
  const Case cases[] = {
      {"SXML\x01\x00\x00"s, "Stream read error"},
      {sxml("\x01\x00"s, "\x01\x01" "a", 2), "Stream read error"},  // the tree runs past its length
      {sxml("\x00"s, "\x00"s, 99), "Stream read error"},
      {sxml("\x00"s, "\x00"s, -1), "Invalid binary XML: negative tree length"},
      {sxml("\x01\x05\x00"s, "\x01\x01" "a", 3), "Invalid binary XML: name index out of range"},
      {sxml("\x01\x00\x04\xFF\xFF\xFF\xFF\x0F"s, "\x01\x01" "a", 8), "Stream read error"},  // huge text
      {sxml("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x7F"s, "\x00"s, 9), "Stream read error"},    // huge child count
      {sxml("\x00"s, "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x02"s, 1), "Invalid binary XML: a number does not fit 64 bits"},
      {sxml("\x00"s, "\x01\xFF\xFF\xFF\x7F"s, 1), "Stream read error"},  // huge name
      {"BXML\xFF\xFF\xFF\x7F\x01\x00"s, "Stream read error"},
      {"BXML\x01\x00\x00\x00\xFF\xFF" "ab"s, "Stream read error"},
      {"BXML\x01\x00\x00\x00\x00\x00\x04\xFF\xFF\xFF\x7F"s, "Stream read error"},
  };
  for (const auto& c : cases) {
    TDRXXMLDocument document;
    EXPECT_EQ(MessageOf<EReadError>([&] { Load(document, c.bytes); }), c.message) << testing::PrintToString(c.bytes);
  }
}

TEST(XMLBinary, DeepNestingRaises) {
  std::string tree;
  for (int i = 0; i < 1000; ++i) tree += "\x01\x00\x02"s;  // one child named 0, with children
  tree += "\x00"s;
  std::string bytes = "SXML"s + std::string(8, '\0') + tree + "\x01\x01n";
  const uint64_t length = tree.size();
  for (int i = 0; i < 8; ++i) bytes[4 + i] = static_cast<char>(length >> (8 * i));
  TDRXXMLDocument document;
  EXPECT_THROW(Load(document, bytes), EDRXXMLDocument);
}
