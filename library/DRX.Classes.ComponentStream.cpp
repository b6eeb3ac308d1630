#include "DRX.Classes.ComponentStream.h"

#include <type_traits>

#include "DRX.Encoding.h"

void RaiseInvalidPropertyValue() { throw EReadError(u"Invalid property value"); }

namespace {

[[noreturn]] void RaiseInvalidFormat() { throw EReadError(u"Invalid stream format"); }
[[noreturn]] void RaiseTruncated() { throw EReadError(u"Stream read error"); }

bool IsAscii(UStringView text) {
  for (const char16_t c : text)
    if (c > 0x7F) return false;
  return true;
}

class TComponentReader {
 public:
  explicit TComponentReader(TStream& stream) : stream_(stream), end_(stream.Size()) {}

  TDRXStreamComponent ReadRoot() {
    char signature[4];
    if (Remaining() < 4) RaiseInvalidFormat();
    stream_.ReadBuffer(signature, 4);
    if (std::string_view(signature, 4) != kComponentStreamSignature) RaiseInvalidFormat();
    TDRXStreamComponent root;
    ReadComponent(root, 0);
    return root;
  }

 private:
  int64_t Remaining() { return end_ - stream_.Position(); }

  std::string ReadBytes(int64_t count) {
    if (count < 0) RaiseInvalidPropertyValue();
    if (count > Remaining()) RaiseTruncated();
    std::string bytes(static_cast<size_t>(count), '\0');
    stream_.ReadBuffer(bytes.data(), count);
    return bytes;
  }

  template <typename T>
  T ReadLE() {
    const std::string bytes = ReadBytes(sizeof(T));
    uint64_t value = 0;
    for (size_t i = sizeof(T); i-- > 0;) value = (value << 8) | static_cast<uint8_t>(bytes[i]);
    return static_cast<T>(value);
  }

  uint8_t ReadByte() { return ReadLE<uint8_t>(); }
  UString ReadName() { return Utf8ToUtf16(ReadBytes(ReadByte())); }

  // True when the next byte ends a list of properties, items or values.
  bool AtListEnd() {
    if (ReadByte() == 0) return true;
    stream_.Seek(-1, soCurrent);
    return false;
  }

  void CheckDepth(int depth) {
    if (depth > kMaxComponentStreamDepth) RaiseInvalidFormat();
  }

  void ReadComponent(TDRXStreamComponent& component, int depth) {
    CheckDepth(depth);
    const uint8_t first = ReadByte();
    if ((first & 0xF0) == 0xF0) {
      component.Flags = first & 0x0F;
      if (component.Flags & ffChildPos) component.ChildPos = ReadValue(depth + 1).AsInteger();
    } else {
      stream_.Seek(-1, soCurrent);
    }
    component.ClassName = ReadName();
    component.Name = ReadName();
    ReadProperties(component.Properties, depth);
    while (!AtListEnd()) ReadComponent(component.Children.emplace_back(), depth + 1);
  }

  void ReadProperties(std::vector<TDRXStreamProperty>& properties, int depth) {
    while (!AtListEnd()) {
      TDRXStreamProperty& property = properties.emplace_back();
      property.Name = ReadName();
      property.Value = ReadValue(depth + 1);
    }
  }

  TDRXStreamValue ReadValue(int depth) {
    CheckDepth(depth);
    TDRXStreamValue value;
    value.Type = static_cast<TDRXValueType>(ReadByte());
    switch (value.Type) {
      case vaList:
        while (!AtListEnd()) value.List.push_back(ReadValue(depth + 1));
        break;
      case vaInt8: value.Integer = ReadLE<int8_t>(); break;
      case vaInt16: value.Integer = ReadLE<int16_t>(); break;
      case vaInt32: value.Integer = ReadLE<int32_t>(); break;
      case vaString: value.Text = DecodeText(TDRXEncoding::Ansi(), ReadBytes(ReadByte())); break;
      case vaIdent: value.Text = ReadName(); break;
      case vaFalse:
      case vaTrue: break;
      case vaBinary: value.Binary = ReadBytes(ReadLE<int32_t>()); break;
      case vaSet:
        for (UString element = ReadName(); !element.empty(); element = ReadName()) value.Elements.push_back(element);
        break;
      case vaLString: value.Text = DecodeText(TDRXEncoding::Ansi(), ReadBytes(ReadLE<int32_t>())); break;
      case vaCollection:
        while (!AtListEnd()) ReadCollectionItem(value.Items.emplace_back(), depth + 1);
        break;
      case vaWString: {
        const int32_t count = ReadLE<int32_t>();
        if (count < 0) RaiseInvalidPropertyValue();
        value.Text = DecodeText(TDRXEncoding::Utf16LE(), ReadBytes(int64_t{count} * 2));
        break;
      }
      case vaUTF8String: value.Text = Utf8ToUtf16(ReadBytes(ReadLE<int32_t>())); break;
      default: RaiseInvalidPropertyValue();
    }
    return value;
  }

  // An item: an optional order value, then vaList and the item's properties up to a 0 byte.
  void ReadCollectionItem(TDRXStreamCollectionItem& item, int depth) {
    const uint8_t type = ReadByte();
    if (type == vaInt8 || type == vaInt16 || type == vaInt32) {
      stream_.Seek(-1, soCurrent);
      item.HasOrder = true;
      item.Order = ReadValue(depth + 1);
      if (ReadByte() != vaList) RaiseInvalidPropertyValue();
    } else if (type != vaList) {
      RaiseInvalidPropertyValue();
    }
    ReadProperties(item.Properties, depth);
  }

  TStream& stream_;
  int64_t end_;
};

class TComponentWriter {
 public:
  explicit TComponentWriter(TStream& stream) : stream_(stream) {}

  void WriteRoot(const TDRXStreamComponent& root) {
    stream_.WriteBuffer(kComponentStreamSignature.data(), 4);
    WriteComponent(root);
  }

 private:
  void WriteBytes(std::string_view bytes) { stream_.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size())); }

  template <typename T>
  void WriteLE(T value) {
    char bytes[sizeof(T)];
    auto bits = static_cast<std::make_unsigned_t<T>>(value);
    for (size_t i = 0; i < sizeof(T); ++i, bits = static_cast<decltype(bits)>(bits >> 8)) bytes[i] = static_cast<char>(bits & 0xFF);
    WriteBytes({bytes, sizeof(T)});
  }

  void WriteByte(uint8_t value) { WriteLE(value); }

  void WriteShortBytes(std::string_view bytes) {
    if (bytes.size() > 255) throw EWriteError(u"String is too long to be written");
    WriteByte(static_cast<uint8_t>(bytes.size()));
    WriteBytes(bytes);
  }

  void WriteLongBytes(std::string_view bytes) {
    if (bytes.size() > 0x7FFFFFFF) throw EWriteError(u"String is too long to be written");
    WriteLE(static_cast<int32_t>(bytes.size()));
    WriteBytes(bytes);
  }

  void WriteName(UStringView name) { WriteShortBytes(Utf16ToUtf8(name)); }

  void WriteComponent(const TDRXStreamComponent& component) {
    if (component.Flags != 0) {
      WriteByte(static_cast<uint8_t>(0xF0 | (component.Flags & 0x0F)));
      if (component.Flags & ffChildPos) WriteValue(TDRXStreamValue::FromInteger(component.ChildPos));
    }
    WriteName(component.ClassName);
    WriteName(component.Name);
    WriteProperties(component.Properties);
    for (const TDRXStreamComponent& child : component.Children) WriteComponent(child);
    WriteByte(0);
  }

  void WriteProperties(const std::vector<TDRXStreamProperty>& properties) {
    for (const TDRXStreamProperty& property : properties) {
      WriteName(property.Name);
      WriteValue(property.Value);
    }
    WriteByte(0);
  }

  void WriteValue(const TDRXStreamValue& value) {
    WriteByte(value.Type);
    switch (value.Type) {
      case vaList:
        for (const TDRXStreamValue& element : value.List) WriteValue(element);
        WriteByte(0);
        break;
      case vaInt8: WriteLE(static_cast<int8_t>(value.Integer)); break;
      case vaInt16: WriteLE(static_cast<int16_t>(value.Integer)); break;
      case vaInt32: WriteLE(value.Integer); break;
      case vaString: WriteShortBytes(EncodeText(TDRXEncoding::Ansi(), value.Text)); break;
      case vaIdent: WriteName(value.Text); break;
      case vaFalse:
      case vaTrue: break;
      case vaBinary: WriteLongBytes(value.Binary); break;
      case vaSet:
        for (const UString& element : value.Elements) WriteName(element);
        WriteByte(0);
        break;
      case vaLString: WriteLongBytes(EncodeText(TDRXEncoding::Ansi(), value.Text)); break;
      case vaCollection:
        for (const TDRXStreamCollectionItem& item : value.Items) WriteCollectionItem(item);
        WriteByte(0);
        break;
      case vaWString:
        if (value.Text.size() > 0x3FFFFFFF) throw EWriteError(u"String is too long to be written");
        WriteLE(static_cast<int32_t>(value.Text.size()));
        WriteBytes(EncodeText(TDRXEncoding::Utf16LE(), value.Text));
        break;
      case vaUTF8String: WriteLongBytes(Utf16ToUtf8(value.Text)); break;
      default: throw EWriteError(u"Invalid property value");
    }
  }

  void WriteCollectionItem(const TDRXStreamCollectionItem& item) {
    if (item.HasOrder) {
      if (!item.Order.IsInteger()) throw EWriteError(u"Invalid property value");
      WriteValue(item.Order);
    }
    WriteByte(vaList);
    WriteProperties(item.Properties);
  }

  TStream& stream_;
};

}  // namespace

// --- TDRXStreamValue ---

TDRXStreamValue TDRXStreamValue::FromInteger(int32_t value) {
  TDRXStreamValue result;
  result.Type = (value >= INT8_MIN && value <= INT8_MAX) ? vaInt8 : (value >= INT16_MIN && value <= INT16_MAX) ? vaInt16 : vaInt32;
  result.Integer = value;
  return result;
}

TDRXStreamValue TDRXStreamValue::FromString(UStringView text) {
  TDRXStreamValue result;
  result.Type = !IsAscii(text) ? vaUTF8String : text.size() <= 255 ? vaString : vaLString;
  result.Text = UString(text);
  return result;
}

TDRXStreamValue TDRXStreamValue::FromIdent(UStringView ident) {
  if (ident == u"False" || ident == u"True") return FromBoolean(ident == u"True");
  TDRXStreamValue result;
  result.Type = vaIdent;
  result.Text = UString(ident);
  return result;
}

TDRXStreamValue TDRXStreamValue::FromBoolean(bool value) {
  TDRXStreamValue result;
  result.Type = value ? vaTrue : vaFalse;
  return result;
}

TDRXStreamValue TDRXStreamValue::FromBinary(std::string bytes) {
  TDRXStreamValue result;
  result.Type = vaBinary;
  result.Binary = std::move(bytes);
  return result;
}

TDRXStreamValue TDRXStreamValue::FromSet(std::vector<UString> elements) {
  TDRXStreamValue result;
  result.Type = vaSet;
  result.Elements = std::move(elements);
  return result;
}

TDRXStreamValue TDRXStreamValue::FromCollection(std::vector<TDRXStreamCollectionItem> items) {
  TDRXStreamValue result;
  result.Type = vaCollection;
  result.Items = std::move(items);
  return result;
}

bool TDRXStreamValue::IsString() const {
  return Type == vaString || Type == vaLString || Type == vaWString || Type == vaUTF8String;
}

int32_t TDRXStreamValue::AsInteger() const {
  if (!IsInteger()) RaiseInvalidPropertyValue();
  return Integer;
}

const UString& TDRXStreamValue::AsString() const {
  if (!IsString()) RaiseInvalidPropertyValue();
  return Text;
}

UString TDRXStreamValue::AsIdent() const {
  if (Type == vaFalse) return u"False";
  if (Type == vaTrue) return u"True";
  if (Type != vaIdent) RaiseInvalidPropertyValue();
  return Text;
}

bool TDRXStreamValue::AsBoolean() const {
  if (Type != vaFalse && Type != vaTrue) RaiseInvalidPropertyValue();
  return Type == vaTrue;
}

const std::string& TDRXStreamValue::AsBinary() const {
  if (Type != vaBinary) RaiseInvalidPropertyValue();
  return Binary;
}

const std::vector<UString>& TDRXStreamValue::AsSet() const {
  if (Type != vaSet) RaiseInvalidPropertyValue();
  return Elements;
}

const std::vector<TDRXStreamCollectionItem>& TDRXStreamValue::AsCollection() const {
  if (Type != vaCollection) RaiseInvalidPropertyValue();
  return Items;
}

bool TDRXStreamValue::operator==(const TDRXStreamValue& other) const {
  return Type == other.Type && Integer == other.Integer && Text == other.Text && Binary == other.Binary &&
         Elements == other.Elements && List == other.List && Items == other.Items;
}

// --- TDRXStreamComponent ---

const TDRXStreamValue* TDRXStreamComponent::Find(UStringView name) const {
  for (const TDRXStreamProperty& property : Properties)
    if (property.Name == name) return &property.Value;
  return nullptr;
}

TDRXStreamComponent ReadComponentStream(TStream& stream) { return TComponentReader(stream).ReadRoot(); }

void WriteComponentStream(TStream& stream, const TDRXStreamComponent& component) {
  TComponentWriter(stream).WriteRoot(component);
}
