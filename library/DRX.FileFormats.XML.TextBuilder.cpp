#include "DRX.FileFormats.XML.TextBuilder.h"

#include "DRX.FileFormats.XML.References.h"

namespace {

constexpr std::string_view kLineBreak = "\r\n";

// The reader strips codes 0 to 32 from both ends of a text, and layout around
// children would join a text that spans lines.
bool NeedsPreservation(UStringView text) {
  if (text.empty()) return false;
  return text.front() <= 32 || text.back() <= 32 || text.find_first_of(u"\r\n") != UStringView::npos;
}

}  // namespace

TDRXTextXMLBuilder::TDRXTextXMLBuilder(TStream& stream, const TDRXXMLFormatSettings& settings)
    : stream_(stream), settings_(settings) {}

void TDRXTextXMLBuilder::Build(const TDRXXMLNode& document) {
  out_ = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
  out_ += kLineBreak;
  readerPreservesSpace_ = false;
  for (int i = 0; i < document.Count(); ++i) WriteElement(*document.Children(i), 0);
  stream_.WriteBuffer(out_.data(), static_cast<int64_t>(out_.size()));
}

void TDRXTextXMLBuilder::WriteElement(const TDRXXMLNode& node, int level) {
  if (settings_.IndentWithTabs && !readerPreservesSpace_) WriteTabs(level);
  out_ += '<';
  out_ += node.Name;
  const bool hasContent = !node.Text.empty() || node.Count() > 0;
  const bool preserve = hasContent && NeedsPreservation(node.Text);
  if (node.Attributes.Count() > 0 || preserve) {
    for (int i = 0; i < node.Attributes.Count(); ++i)
      WriteAttribute(node.Attributes[i].Name, node.Attributes[i].Value, level);
    if (preserve) WriteAttribute("xml:space", u"preserve", level);
    if (settings_.IndentWithTabs && settings_.AttributesOnSeparateLines) {
      out_ += kLineBreak;
      WriteTabs(level);
    }
  }
  TrackSpaceAttribute(node, preserve);
  if (!hasContent) {
    out_ += "/>";
  } else {
    out_ += '>';
    WriteText(node.Text);
    if (node.Count() > 0) {
      if (settings_.LineBreaks && !readerPreservesSpace_) out_ += kLineBreak;
      for (int i = 0; i < node.Count(); ++i) WriteElement(*node.Children(i), level + 1);
      if (settings_.IndentWithTabs) WriteTabs(level);
    }
    out_ += "</";
    out_ += node.Name;
    out_ += '>';
  }
  readerPreservesSpace_ = false;  // every end tag and empty tag ends preservation
  if (settings_.LineBreaks) out_ += kLineBreak;
}

void TDRXTextXMLBuilder::WriteAttribute(std::string_view name, UStringView value, int level) {
  if (settings_.AttributesOnSeparateLines) {
    out_ += kLineBreak;
    WriteTabs(level + 1);
  } else {
    out_ += ' ';
  }
  out_ += name;
  out_ += "=\"";
  WriteText(value);
  out_ += '"';
}

// The reader takes the first xml:space attribute of a start tag.
void TDRXTextXMLBuilder::TrackSpaceAttribute(const TDRXXMLNode& node, bool preserve) {
  if (const TDRXXMLAttribute* space = node.Attributes.Find("xml:space"))
    readerPreservesSpace_ = UpperCaseAscii(space->Value) == u"PRESERVE";
  else if (preserve)
    readerPreservesSpace_ = true;
}

void TDRXTextXMLBuilder::WriteTabs(int count) { out_.append(static_cast<size_t>(count), '\t'); }

void TDRXTextXMLBuilder::WriteText(UStringView text) { out_ += Utf16ToGeneralizedUtf8(EncodeXMLReferences(text)); }
