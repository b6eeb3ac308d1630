#include "DRX.FileFormats.XML.Binary.h"

#include <cstring>

namespace {

[[noreturn]] void RaiseTruncated() { throw EReadError(u"Stream read error"); }

void AppendVarUInt(std::string& out, uint64_t value) {
  do {
    const uint8_t group = value & 0x7F;
    value >>= 7;
    out.push_back(static_cast<char>(value ? group | 0x80 : group));
  } while (value);
}

void AppendUnits(std::string& out, UStringView text) {
  AppendVarUInt(out, text.size());
  for (const char16_t unit : text) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
  }
}

}  // namespace

class TDRXXMLByteReader {
 public:
  explicit TDRXXMLByteReader(std::string_view data) : data_(data) {}

  size_t Remaining() const { return data_.size() - position_; }

  std::string_view ReadBytes(uint64_t count) {
    if (count > Remaining()) RaiseTruncated();
    const std::string_view bytes = data_.substr(position_, static_cast<size_t>(count));
    position_ += static_cast<size_t>(count);
    return bytes;
  }

  // Little-endian integers.
  template <typename T>
  T Read() {
    const std::string_view bytes = ReadBytes(sizeof(T));
    uint64_t value = 0;
    for (size_t i = sizeof(T); i-- > 0;) value = (value << 8) | static_cast<uint8_t>(bytes[i]);
    return static_cast<T>(value);
  }

  uint64_t ReadVarUInt() {
    uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
      const uint8_t byte = Read<uint8_t>();
      if (shift > 63 || (shift == 63 && (byte & 0x7E)))
        throw EReadError(u"Invalid binary XML: a number does not fit 64 bits");
      value |= static_cast<uint64_t>(byte & 0x7F) << shift;
      if (!(byte & 0x80)) return value;
    }
  }

  // UTF-16LE code units.
  UString ReadUnits(uint64_t count) {
    if (count > Remaining() / 2) RaiseTruncated();
    const std::string_view bytes = ReadBytes(count * 2);
    UString text(static_cast<size_t>(count), u'\0');
    for (size_t i = 0; i < text.size(); ++i)
      text[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) | (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
    return text;
  }

  // A count of items that take at least `itemSize` bytes each must fit the rest.
  void CheckCount(uint64_t count, size_t itemSize) const {
    if (count > Remaining() / itemSize) RaiseTruncated();
  }

 private:
  std::string_view data_;
  size_t position_ = 0;
};

// --- TDRXBinaryXMLBuilder ---

TDRXBinaryXMLBuilder::TDRXBinaryXMLBuilder(TStream& stream) : stream_(stream) {}

void TDRXBinaryXMLBuilder::Build(const TDRXXMLNode& document) {
  tree_.clear();
  names_.clear();
  nameIndices_.clear();
  WriteChildren(document);
  std::string header(kSXMLMagic);
  const uint64_t length = tree_.size();
  for (int i = 0; i < 8; ++i) header.push_back(static_cast<char>(length >> (8 * i)));
  stream_.WriteBuffer(header.data(), static_cast<int64_t>(header.size()));
  stream_.WriteBuffer(tree_.data(), static_cast<int64_t>(tree_.size()));
  WriteStringTable();
}

void TDRXBinaryXMLBuilder::WriteStringTable() {
  std::string table;
  AppendVarUInt(table, names_.size());
  for (const std::string& name : names_) {
    AppendVarUInt(table, name.size());
    table += name;
  }
  stream_.WriteBuffer(table.data(), static_cast<int64_t>(table.size()));
}

void TDRXBinaryXMLBuilder::WriteChildren(const TDRXXMLNode& node) {
  AppendVarUInt(tree_, static_cast<uint64_t>(node.Count()));
  for (int i = 0; i < node.Count(); ++i) {
    WriteName(node.Children(i)->Name);
    WriteNode(*node.Children(i));
  }
}

void TDRXBinaryXMLBuilder::WriteNode(const TDRXXMLNode& node) {
  const bool hasText = !node.Text.empty(), hasAttributes = node.Attributes.Count() > 0, hasChildren = node.Count() > 0;
  tree_.push_back(static_cast<char>((hasAttributes ? xnfAttributes : 0) | (hasChildren ? xnfChildren : 0) | (hasText ? xnfText : 0)));
  if (hasText) AppendUnits(tree_, node.Text);
  if (hasAttributes) {
    AppendVarUInt(tree_, static_cast<uint64_t>(node.Attributes.Count()));
    for (int i = 0; i < node.Attributes.Count(); ++i) {
      WriteName(node.Attributes[i].Name);
      AppendUnits(tree_, node.Attributes[i].Value);
    }
  }
  if (hasChildren) WriteChildren(node);
}

void TDRXBinaryXMLBuilder::WriteName(const std::string& name) {
  const auto [found, added] = nameIndices_.try_emplace(name, names_.size());
  if (added) names_.push_back(name);
  AppendVarUInt(tree_, found->second);
}

// --- TDRXBinaryXMLParser ---

void TDRXBinaryXMLParser::Parse(TDRXXMLNode& document) {
  TDRXXMLByteReader header(data_);
  const int64_t treeLength = header.Read<int64_t>();
  if (treeLength < 0) throw EReadError(u"Invalid binary XML: negative tree length");
  if (static_cast<uint64_t>(treeLength) > header.Remaining()) RaiseTruncated();
  const size_t treeStart = sizeof(int64_t);
  TDRXXMLByteReader table(data_.substr(treeStart + static_cast<size_t>(treeLength)));
  ReadStringTable(table);
  TDRXXMLByteReader tree(data_.substr(treeStart, static_cast<size_t>(treeLength)));
  ReadChildren(tree, document);
}

void TDRXBinaryXMLParser::ReadStringTable(TDRXXMLByteReader& reader) {
  const uint64_t count = reader.ReadVarUInt();
  reader.CheckCount(count, 1);
  names_.clear();
  for (uint64_t i = 0; i < count; ++i) names_.emplace_back(reader.ReadBytes(reader.ReadVarUInt()));
}

void TDRXBinaryXMLParser::ReadChildren(TDRXXMLByteReader& reader, TDRXXMLNode& parent) {
  const uint64_t count = reader.ReadVarUInt();
  reader.CheckCount(count, 2);  // a name index and a flags byte at least
  for (uint64_t i = 0; i < count; ++i) {
    TDRXXMLNode* child = parent.AddChild(Name(reader.ReadVarUInt()));
    ReadNode(reader, *child);
  }
}

void TDRXBinaryXMLParser::ReadNode(TDRXXMLByteReader& reader, TDRXXMLNode& node) {
  const uint8_t flags = reader.Read<uint8_t>();
  if (flags & xnfText) node.Text = reader.ReadUnits(reader.ReadVarUInt());
  if (flags & xnfAttributes) {
    const uint64_t count = reader.ReadVarUInt();
    reader.CheckCount(count, 2);  // a name index and a unit count at least
    for (uint64_t i = 0; i < count; ++i) {
      const std::string& name = Name(reader.ReadVarUInt());
      node.Attributes.Add(name, reader.ReadUnits(reader.ReadVarUInt()));
    }
  }
  if (flags & xnfChildren) ReadChildren(reader, node);
}

const std::string& TDRXBinaryXMLParser::Name(uint64_t index) const {
  if (index >= names_.size()) throw EReadError(u"Invalid binary XML: name index out of range");
  return names_[static_cast<size_t>(index)];
}

// --- TDRXLegacyBinaryXMLParser ---

namespace {

std::string_view ReadLegacyName(TDRXXMLByteReader& reader) { return reader.ReadBytes(reader.Read<uint16_t>()); }

// Counts are signed; none or fewer mean no items.
uint64_t ReadLegacyCount(TDRXXMLByteReader& reader, size_t itemSize) {
  const int32_t count = reader.Read<int32_t>();
  if (count <= 0) return 0;
  reader.CheckCount(static_cast<uint64_t>(count), itemSize);
  return static_cast<uint64_t>(count);
}

}  // namespace

void TDRXLegacyBinaryXMLParser::Parse(TDRXXMLNode& document) {
  TDRXXMLByteReader reader(data_);
  ReadChildren(reader, document);
}

void TDRXLegacyBinaryXMLParser::ReadChildren(TDRXXMLByteReader& reader, TDRXXMLNode& parent) {
  const uint64_t count = ReadLegacyCount(reader, 3);  // a name length and a flags byte at least
  for (uint64_t i = 0; i < count; ++i) {
    TDRXXMLNode* child = parent.AddChild(ReadLegacyName(reader));
    ReadNode(reader, *child);
  }
}

void TDRXLegacyBinaryXMLParser::ReadNode(TDRXXMLByteReader& reader, TDRXXMLNode& node) {
  const uint8_t flags = reader.Read<uint8_t>();
  if (flags & xnfText) node.Text = reader.ReadUnits(ReadLegacyCount(reader, 2));
  if (flags & xnfAttributes) {
    const uint64_t count = ReadLegacyCount(reader, 4);  // two lengths at least
    for (uint64_t i = 0; i < count; ++i) {
      const std::string_view name = ReadLegacyName(reader);
      node.Attributes.Add(name, reader.ReadUnits(reader.Read<uint16_t>()));
    }
  }
  if (flags & xnfChildren) ReadChildren(reader, node);
}
