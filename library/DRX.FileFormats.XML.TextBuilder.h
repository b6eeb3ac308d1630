#pragma once
// The writer of the XML text form: a UTF-8 declaration, then the root element,
// laid out by the format settings.

#include <string>

#include "DRX.Classes.Streams.h"
#include "DRX.FileFormats.XML.h"

class TDRXTextXMLBuilder {
 public:
  TDRXTextXMLBuilder(TStream& stream, const TDRXXMLFormatSettings& settings);
  // Writes the document's children as top-level elements.
  void Build(const TDRXXMLNode& document);

 private:
  void WriteElement(const TDRXXMLNode& node, int level);
  void WriteAttribute(std::string_view name, UStringView value, int level);
  void TrackSpaceAttribute(const TDRXXMLNode& node, bool preserve);
  void WriteTabs(int count);
  void WriteText(UStringView text);

  TStream& stream_;
  TDRXXMLFormatSettings settings_;
  std::string out_;
  // Whether the reader keeps whitespace at this point. Layout is added only
  // where it does not, so that the text reads back as it was written.
  bool readerPreservesSpace_ = false;
};
