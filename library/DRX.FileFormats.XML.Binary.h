#pragma once
// The binary forms of an XML document. "SXML": the magic, a signed 64-bit
// length of the node tree, the tree, and a string table of the names the tree
// refers to by index; counts and indices are unsigned LEB128 numbers. "BXML",
// the older form that is only read: the magic and the tree with names inline.
//
// Readers work on the bytes after the magic. Data that ends early raises
// EReadError "Stream read error"; lengths, counts and indices are checked
// against the data before anything is read or allocated, and an inconsistent
// form raises EReadError with its own message. A tree that nests deeper than
// kMaxXMLDepth, or a second root, raises EDRXXMLDocument.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "DRX.Classes.Streams.h"
#include "DRX.FileFormats.XML.h"

constexpr std::string_view kSXMLMagic = "SXML";
constexpr std::string_view kBXMLMagic = "BXML";

// The flags byte that begins every node in both forms.
enum : uint8_t { xnfAttributes = 1, xnfChildren = 2, xnfText = 4 };

// Bounds-checked reading of the forms' numbers and strings (defined with the readers).
class TDRXXMLByteReader;

class TDRXBinaryXMLBuilder {
 public:
  explicit TDRXBinaryXMLBuilder(TStream& stream);
  // Writes the magic, the tree length, the document's children and the string table.
  void Build(const TDRXXMLNode& document);
  // Writes the names in index order, which is the order of first use in the tree.
  void WriteStringTable();

 private:
  void WriteChildren(const TDRXXMLNode& node);
  void WriteNode(const TDRXXMLNode& node);
  void WriteName(const std::string& name);

  TStream& stream_;
  std::string tree_;
  std::vector<std::string> names_;
  std::unordered_map<std::string, uint64_t> nameIndices_;
};

class TDRXBinaryXMLParser {
 public:
  // `data` (the bytes after the magic) must outlive the parser.
  explicit TDRXBinaryXMLParser(std::string_view data) : data_(data) {}
  void Parse(TDRXXMLNode& document);

 private:
  void ReadStringTable(TDRXXMLByteReader& reader);
  void ReadChildren(TDRXXMLByteReader& reader, TDRXXMLNode& parent);
  void ReadNode(TDRXXMLByteReader& reader, TDRXXMLNode& node);
  const std::string& Name(uint64_t index) const;

  std::string_view data_;
  std::vector<std::string> names_;
};

class TDRXLegacyBinaryXMLParser {
 public:
  // `data` (the bytes after the magic) must outlive the parser.
  explicit TDRXLegacyBinaryXMLParser(std::string_view data) : data_(data) {}
  void Parse(TDRXXMLNode& document);

 private:
  void ReadChildren(TDRXXMLByteReader& reader, TDRXXMLNode& parent);
  void ReadNode(TDRXXMLByteReader& reader, TDRXXMLNode& node);

  std::string_view data_;
};
