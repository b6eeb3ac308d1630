#pragma once
// Component streams ("TPF0"): the binary form in which skins and form resources
// store components and their properties. The reader turns a stream into a small
// generic tree (a component with named property values, its children); the
// consumer interprets the properties by name. The writer writes such a tree back
// byte for byte as it was read.
//
// A component: optional filer flags (a byte 0xF0 | flags, then the child
// position as an integer value when ffChildPos is set), the class name and the
// component name (byte-counted UTF-8), its properties up to a 0 byte, its
// children up to a 0 byte. A property: its byte-counted name and a value, which
// is a type byte followed by the data of that type. A collection value holds
// items up to a 0 byte; each item is an optional order value (an integer), the
// byte vaList, and the item's properties up to a 0 byte.
//
// Bad input raises EReadError and never reads past the stream: "Invalid stream
// format" for a missing signature or a tree nested deeper than
// kMaxComponentStreamDepth, "Invalid property value" for an unknown value type,
// a negative length or an order value that is not an integer, and "Stream read
// error" for data that ends early (every length is checked against the rest of
// the stream before anything is allocated).

#include <cstdint>
#include <string>
#include <vector>

#include "DRX.Classes.Streams.h"

enum TDRXValueType : uint8_t {
  vaNull = 0,  // a value that holds nothing yet; never read or written
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaString = 6,  // byte-counted 8-bit text
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaSet = 11,
  vaLString = 12,  // 8-bit text with a 32-bit length
  vaCollection = 14,
  vaWString = 18,  // UTF-16LE text
  vaUTF8String = 20,
};

// Filer flags of a component.
enum : uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

constexpr std::string_view kComponentStreamSignature = "TPF0";
constexpr int kMaxComponentStreamDepth = 32;

struct TDRXStreamCollectionItem;

// One value of a property. Texts of every text type and identifiers are held
// decoded (8-bit texts in the system's ANSI code page, names and identifiers as
// UTF-8), together with the type they were stored as.
struct TDRXStreamValue {
  TDRXValueType Type = vaNull;
  int32_t Integer = 0;                          // vaInt8, vaInt16, vaInt32
  UString Text;                                 // the text types and vaIdent
  std::string Binary;                           // vaBinary
  std::vector<UString> Elements;                // vaSet
  std::vector<TDRXStreamValue> List;            // vaList
  std::vector<TDRXStreamCollectionItem> Items;  // vaCollection

  // Values in the smallest form that holds them, as a writer would choose.
  static TDRXStreamValue FromInteger(int32_t value);
  // vaString for ASCII up to 255 characters, vaLString for longer ASCII, else vaUTF8String.
  static TDRXStreamValue FromString(UStringView text);
  // "False" and "True" become vaFalse and vaTrue, as identifiers are written.
  static TDRXStreamValue FromIdent(UStringView ident);
  static TDRXStreamValue FromBoolean(bool value);
  static TDRXStreamValue FromBinary(std::string bytes);
  static TDRXStreamValue FromSet(std::vector<UString> elements);
  static TDRXStreamValue FromCollection(std::vector<TDRXStreamCollectionItem> items);

  bool IsInteger() const { return Type == vaInt8 || Type == vaInt16 || Type == vaInt32; }
  bool IsString() const;

  // Typed access; a value of another type raises EReadError "Invalid property value".
  int32_t AsInteger() const;
  const UString& AsString() const;
  // An identifier; vaFalse and vaTrue read as "False" and "True".
  UString AsIdent() const;
  bool AsBoolean() const;
  const std::string& AsBinary() const;
  const std::vector<UString>& AsSet() const;
  const std::vector<TDRXStreamCollectionItem>& AsCollection() const;

  bool operator==(const TDRXStreamValue&) const;
};

struct TDRXStreamProperty {
  UString Name;
  TDRXStreamValue Value;
  bool operator==(const TDRXStreamProperty&) const = default;
};

// An item of a collection value: an optional order value (an integer) and its properties.
struct TDRXStreamCollectionItem {
  bool HasOrder = false;
  TDRXStreamValue Order;
  std::vector<TDRXStreamProperty> Properties;
  bool operator==(const TDRXStreamCollectionItem&) const = default;
};

struct TDRXStreamComponent {
  uint8_t Flags = 0;
  int32_t ChildPos = 0;  // with ffChildPos
  UString ClassName;
  UString Name;
  std::vector<TDRXStreamProperty> Properties;
  std::vector<TDRXStreamComponent> Children;

  // The first property of that name (compared exactly), or none.
  const TDRXStreamValue* Find(UStringView name) const;
  bool operator==(const TDRXStreamComponent&) const = default;
};

// Reads the signature and one component from the stream's position; the
// position ends just after the component.
TDRXStreamComponent ReadComponentStream(TStream& stream);
// Writes the signature and the component. Names longer than 255 bytes in UTF-8,
// or a value whose text does not fit its type, raise EWriteError.
void WriteComponentStream(TStream& stream, const TDRXStreamComponent& component);

// Raises EReadError "Invalid property value".
[[noreturn]] void RaiseInvalidPropertyValue();
