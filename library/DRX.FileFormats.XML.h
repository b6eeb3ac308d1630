#pragma once
// XML documents: a tree of named nodes with attributes and text, read from XML
// text (a tolerant reader that never reports a syntax error), from the compact
// binary form "SXML" or the older "BXML", and written as text or "SXML".
// Names are 8-bit strings kept as they stood in the source; texts and values are UTF-16.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "DRX.Classes.Streams.h"
#include "DRX.Exceptions.h"
#include "DRX.Strings.h"

class EDRXXMLDocument : public Exception { using Exception::Exception; };

// Element and attribute names match when they have the same bytes after folding
// the ASCII letters a-z onto A-Z; nothing else is folded.
bool SameXMLName(std::string_view a, std::string_view b);

// A node has at most this many ancestors. Every recursive walk over a tree
// (copying, comparing, writing, freeing) is bounded by it; readers stop or fail
// at it instead of building a tree that could overflow the stack.
constexpr int kMaxXMLDepth = 256;

struct TDRXXMLAttribute {
  std::string Name;
  UString Value;
};

// An owning list of attributes in source order; duplicate names are kept.
class TDRXXMLAttributes {
 public:
  TDRXXMLAttribute& Add(std::string_view name, UStringView value);
  // The first attribute whose name matches, or none.
  TDRXXMLAttribute* Find(std::string_view name);
  const TDRXXMLAttribute* Find(std::string_view name) const;
  // The n-th (from 0) attribute whose name matches, or none.
  const TDRXXMLAttribute* FindOccurrence(std::string_view name, int occurrence) const;
  // How many attributes before the one at `index` have a matching name.
  int OccurrenceOf(int index) const;
  // The first matching attribute's value, or the empty string.
  UString GetValue(std::string_view name) const;
  // Removes the first matching attribute; false when there is none.
  bool Remove(std::string_view name);
  void Clear() { items_.clear(); }

  int Count() const { return static_cast<int>(items_.size()); }
  TDRXXMLAttribute& operator[](int index) { return *items_.at(index); }
  const TDRXXMLAttribute& operator[](int index) const { return *items_.at(index); }

 private:
  std::vector<std::unique_ptr<TDRXXMLAttribute>> items_;
};

class TDRXXMLNode {
 public:
  TDRXXMLNode() = default;
  virtual ~TDRXXMLNode() = default;
  TDRXXMLNode(const TDRXXMLNode&) = delete;
  TDRXXMLNode& operator=(const TDRXXMLNode&) = delete;

  std::string Name;
  TDRXXMLAttributes Attributes;
  UString Text;

  TDRXXMLNode* Parent() const { return parent_; }

  // Appends a new child. Raises EDRXXMLDocument when the child would have more
  // than kMaxXMLDepth ancestors (and, under a document, for a second root).
  virtual TDRXXMLNode* AddChild(std::string_view name);
  // Deep copy of name, text, attributes and children; raises as AddChild does.
  virtual void Assign(const TDRXXMLNode& source);
  // Removes the children.
  virtual void Clear();

  int Count() const { return static_cast<int>(children_.size()); }
  // The child at the index, or none when the index is out of range.
  TDRXXMLNode* Children(int index) const;

  // The first child whose name matches, or none.
  TDRXXMLNode* FindNode(std::string_view name) const;
  // Walks the path one child level per name. With `create`, a missing step is
  // added by AddChild. On success `node` is the last step (this node for an
  // empty path); otherwise it is none and the result false.
  bool FindNode(std::span<const std::string_view> path, TDRXXMLNode*& node, bool create = false);
  bool FindNode(std::initializer_list<std::string_view> path, TDRXXMLNode*& node, bool create = false) {
    return FindNode(std::span<const std::string_view>(path.begin(), path.size()), node, create);
  }

  // Same class, byte-equal names, equal texts, the same number of attributes
  // where each of this node's attributes equals the one of that name in the
  // other node (attributes of the same name pair up in order, others in any
  // order), and the same number of children, equal in order.
  bool Equals(const TDRXXMLNode& other) const;

  // Moves this node, which must belong to a parent, to the end of newParent's
  // children. Refused (false, nothing happens) when newParent is this node, its
  // current parent or one of its descendants, when this node has no parent, or
  // when the move would break the depth limit. A document as new parent still
  // raises "Only one Root available" when it has a root already.
  bool SetParent(TDRXXMLNode& newParent);
  // Takes this node out of its parent's children and hands it to the caller;
  // empty when the node has no parent.
  std::unique_ptr<TDRXXMLNode> Detach();

  // The number of ancestors.
  int Depth() const;
  // The number of levels below this node (0 without children).
  int Height() const;

 protected:
  // Raises when one more child may not be added; the document's single-root rule.
  virtual void CheckNewChild() const {}

 private:
  TDRXXMLNode* Adopt(std::unique_ptr<TDRXXMLNode> child);
  bool IsAncestorOf(const TDRXXMLNode& node) const;

  TDRXXMLNode* parent_ = nullptr;
  std::vector<std::unique_ptr<TDRXXMLNode>> children_;
};

// The encoding setting of the text reader.
enum TDRXXMLEncodingKind : uint8_t {
  xeLanguage,  // the 8-bit code page of the language file (GetDRXCodePage)
  xeUtf8,
  xeCodePage,  // the explicit Windows code page in CodePage
};

struct TDRXXMLEncoding {
  TDRXXMLEncodingKind Kind = xeLanguage;
  uint32_t CodePage = 0;
};

enum TDRXXMLForm : uint8_t { xfBinary, xfText };

// The writer settings. The text writer honours the last three.
struct TDRXXMLFormatSettings {
  TDRXXMLForm Form = xfBinary;
  bool AttributesOnSeparateLines = false;
  bool IndentWithTabs = false;
  bool LineBreaks = false;
};

// A node without name, text or attributes whose children are the top-level
// elements; it has at most one, the root.
class TDRXXMLDocument : public TDRXXMLNode {
 public:
  TDRXXMLDocument() = default;
  // An empty document that then loads the stream in the language's code page.
  explicit TDRXXMLDocument(TStream& stream);

  void Clear() override;

  // Clears, then loads the stream's remaining bytes in whichever form they have
  // ("SXML", "BXML" or text). Fewer than 5 remaining bytes leave it empty.
  // Text never fails, a binary form that is truncated or inconsistent raises
  // EReadError; any form raises EDRXXMLDocument for a second root, and a binary
  // one for nesting deeper than kMaxXMLDepth (text stops reading there).
  virtual void LoadFromStream(TStream& stream, const TDRXXMLEncoding& encoding = {});
  // Clears and reads the text form, UTF-8 unless the text declares otherwise.
  virtual void LoadFromString(std::string_view text);
  virtual void SaveToStream(TStream& stream, const TDRXXMLFormatSettings& settings = {});

 protected:
  void CheckNewChild() const override;
};
