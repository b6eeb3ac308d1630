#pragma once
// Checks shared by the XML fuzz targets: whatever a reader builds must survive
// the writers unchanged.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "DRX.FileFormats.XML.h"
#include "DRX.FileFormats.XML.Binary.h"
#include "DRX.FileFormats.XML.References.h"

namespace xmlfuzz {

inline std::string Save(TDRXXMLDocument& document, const TDRXXMLFormatSettings& settings) {
  TMemoryStream stream;
  document.SaveToStream(stream, settings);
  return std::string(stream.Bytes());
}

inline void ExpectReadsBackEqual(TDRXXMLDocument& document, const TDRXXMLFormatSettings& settings) {
  TMemoryStream stream(Save(document, settings));
  TDRXXMLDocument reread;
  reread.LoadFromStream(stream, {});
  if (!reread.Equals(document)) std::abort();
}

// Names the text reader reads back as the same names.
inline bool IsPlainName(std::string_view name) {
  if (name.empty() || name[0] == '!' || name[0] == '?') return false;
  return name.find_first_of(" \t\r\n=/<>\"'") == std::string_view::npos;
}

inline bool HasReference(UStringView text) {
  for (size_t i = 0; i < text.size(); ++i)
    if (XMLReferenceLength(text, i) > 0) return true;
  return false;
}

// The text form keeps a tree exactly unless names would not read back as names,
// an attribute steers whitespace (xml:space) or a text already holds references,
// which the writer copies and the reader then resolves.
inline bool TextFormKeeps(const TDRXXMLNode& node) {
  if (node.Parent() && !IsPlainName(node.Name)) return false;
  if (HasReference(node.Text)) return false;
  for (int i = 0; i < node.Attributes.Count(); ++i) {
    const TDRXXMLAttribute& attribute = node.Attributes[i];
    if (!IsPlainName(attribute.Name) || SameXMLName(attribute.Name, "xml:space") || HasReference(attribute.Value)) return false;
  }
  for (int i = 0; i < node.Count(); ++i)
    if (!TextFormKeeps(*node.Children(i))) return false;
  return true;
}

// SXML always reads back equal; the text form too where it can (every layout).
inline void ExpectWritersKeep(TDRXXMLDocument& document, unsigned layout) {
  ExpectReadsBackEqual(document, {});
  const TDRXXMLFormatSettings text{xfText, (layout & 1) != 0, (layout & 2) != 0, (layout & 4) != 0};
  if (TextFormKeeps(document))
    ExpectReadsBackEqual(document, text);
  else
    Save(document, text);
}

// Runs a binary reader (on the bytes after its magic), then the writers.
template <typename TParser>
int FuzzBinaryReader(const uint8_t* data, size_t size) {
  TDRXXMLDocument document;
  try {
    TParser(std::string_view(reinterpret_cast<const char*>(data), size)).Parse(document);
  } catch (const Exception&) {  // malformed data: EReadError; a second root or too deep: EDRXXMLDocument
  }
  ExpectWritersKeep(document, size % 8);
  return 0;
}

}  // namespace xmlfuzz
