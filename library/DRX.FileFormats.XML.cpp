#include "DRX.FileFormats.XML.h"

#include <algorithm>
#include <typeinfo>

#include "DRX.FileFormats.XML.Binary.h"
#include "DRX.FileFormats.XML.TextBuilder.h"
#include "DRX.FileFormats.XML.TextParser.h"

namespace {

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

[[noreturn]] void RaiseTooDeep() { throw EDRXXMLDocument(u"XML nesting too deep"); }

// Copies name, text, attributes and children into a node that has none.
void CopyInto(const TDRXXMLNode& source, TDRXXMLNode& target) {
  target.Name = source.Name;
  target.Text = source.Text;
  for (int i = 0; i < source.Attributes.Count(); ++i) target.Attributes.Add(source.Attributes[i].Name, source.Attributes[i].Value);
  for (int i = 0; i < source.Count(); ++i) CopyInto(*source.Children(i), *target.AddChild({}));
}

}  // namespace

bool SameXMLName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

// --- TDRXXMLAttributes ---

TDRXXMLAttribute& TDRXXMLAttributes::Add(std::string_view name, UStringView value) {
  items_.push_back(std::make_unique<TDRXXMLAttribute>(TDRXXMLAttribute{std::string(name), UString(value)}));
  return *items_.back();
}

TDRXXMLAttribute* TDRXXMLAttributes::Find(std::string_view name) {
  for (auto& item : items_)
    if (SameXMLName(item->Name, name)) return item.get();
  return nullptr;
}

const TDRXXMLAttribute* TDRXXMLAttributes::Find(std::string_view name) const {
  return const_cast<TDRXXMLAttributes*>(this)->Find(name);
}

const TDRXXMLAttribute* TDRXXMLAttributes::FindOccurrence(std::string_view name, int occurrence) const {
  for (const auto& item : items_)
    if (SameXMLName(item->Name, name) && occurrence-- == 0) return item.get();
  return nullptr;
}

int TDRXXMLAttributes::OccurrenceOf(int index) const {
  const std::string_view name = items_.at(index)->Name;
  return static_cast<int>(std::count_if(items_.begin(), items_.begin() + index, [&](const auto& item) { return SameXMLName(item->Name, name); }));
}

UString TDRXXMLAttributes::GetValue(std::string_view name) const {
  const TDRXXMLAttribute* attribute = Find(name);
  return attribute ? attribute->Value : UString();
}

bool TDRXXMLAttributes::Remove(std::string_view name) {
  const auto found = std::find_if(items_.begin(), items_.end(), [&](const auto& item) { return SameXMLName(item->Name, name); });
  if (found == items_.end()) return false;
  items_.erase(found);
  return true;
}

// --- TDRXXMLNode ---

TDRXXMLNode* TDRXXMLNode::Adopt(std::unique_ptr<TDRXXMLNode> child) {
  child->parent_ = this;
  children_.push_back(std::move(child));
  return children_.back().get();
}

TDRXXMLNode* TDRXXMLNode::AddChild(std::string_view name) {
  if (Depth() >= kMaxXMLDepth) RaiseTooDeep();
  CheckNewChild();
  TDRXXMLNode* child = Adopt(std::make_unique<TDRXXMLNode>());
  child->Name = name;
  return child;
}

void TDRXXMLNode::Assign(const TDRXXMLNode& source) {
  if (&source == this) return;
  // Copied aside first: the source may be an ancestor of this node.
  TDRXXMLNode copy;
  CopyInto(source, copy);
  if (Depth() + copy.Height() > kMaxXMLDepth) RaiseTooDeep();
  Clear();
  Name = std::move(copy.Name);
  Text = std::move(copy.Text);
  Attributes = std::move(copy.Attributes);
  for (auto& child : copy.children_) {
    CheckNewChild();
    Adopt(std::move(child));
  }
}

void TDRXXMLNode::Clear() { children_.clear(); }

TDRXXMLNode* TDRXXMLNode::Children(int index) const {
  return (index >= 0 && index < Count()) ? children_[index].get() : nullptr;
}

TDRXXMLNode* TDRXXMLNode::FindNode(std::string_view name) const {
  for (const auto& child : children_)
    if (SameXMLName(child->Name, name)) return child.get();
  return nullptr;
}

bool TDRXXMLNode::FindNode(std::span<const std::string_view> path, TDRXXMLNode*& node, bool create) {
  node = this;
  for (const std::string_view name : path) {
    TDRXXMLNode* next = node->FindNode(name);
    if (!next && create) next = node->AddChild(name);
    node = next;
    if (!node) return false;
  }
  return true;
}

bool TDRXXMLNode::Equals(const TDRXXMLNode& other) const {
  if (typeid(*this) != typeid(other) || Name != other.Name || Text != other.Text) return false;
  if (Attributes.Count() != other.Attributes.Count() || Count() != other.Count()) return false;
  for (int i = 0; i < Attributes.Count(); ++i) {
    const TDRXXMLAttribute* match = other.Attributes.FindOccurrence(Attributes[i].Name, Attributes.OccurrenceOf(i));
    if (!match || match->Value != Attributes[i].Value) return false;
  }
  for (int i = 0; i < Count(); ++i)
    if (!children_[i]->Equals(*other.children_[i])) return false;
  return true;
}

bool TDRXXMLNode::IsAncestorOf(const TDRXXMLNode& node) const {
  for (const TDRXXMLNode* p = node.parent_; p; p = p->parent_)
    if (p == this) return true;
  return false;
}

bool TDRXXMLNode::SetParent(TDRXXMLNode& newParent) {
  if (!parent_ || &newParent == this || &newParent == parent_ || IsAncestorOf(newParent)) return false;
  if (newParent.Depth() + 1 + Height() > kMaxXMLDepth) return false;
  newParent.CheckNewChild();
  newParent.Adopt(Detach());
  return true;
}

std::unique_ptr<TDRXXMLNode> TDRXXMLNode::Detach() {
  if (!parent_) return nullptr;
  auto& siblings = parent_->children_;
  const auto found = std::find_if(siblings.begin(), siblings.end(), [&](const auto& item) { return item.get() == this; });
  std::unique_ptr<TDRXXMLNode> self = std::move(*found);
  siblings.erase(found);
  parent_ = nullptr;
  return self;
}

int TDRXXMLNode::Depth() const {
  int depth = 0;
  for (const TDRXXMLNode* p = parent_; p; p = p->parent_) ++depth;
  return depth;
}

int TDRXXMLNode::Height() const {
  int height = 0;
  for (const auto& child : children_) height = std::max(height, 1 + child->Height());
  return height;
}

// --- TDRXXMLDocument ---

TDRXXMLDocument::TDRXXMLDocument(TStream& stream) { LoadFromStream(stream, {}); }

void TDRXXMLDocument::CheckNewChild() const {
  if (Count() > 0) throw EDRXXMLDocument(u"Only one Root available");
}

void TDRXXMLDocument::Clear() {
  TDRXXMLNode::Clear();
  Text.clear();
  Attributes.Clear();
}

void TDRXXMLDocument::LoadFromStream(TStream& stream, const TDRXXMLEncoding& encoding) {
  Clear();
  if (stream.Size() - stream.Position() < 5) return;
  char magic[4];
  stream.ReadBuffer(magic, 4);
  const std::string_view form(magic, 4);
  if (form != kSXMLMagic && form != kBXMLMagic) stream.Seek(-4, soCurrent);
  const std::string bytes = ReadRemainingBytes(stream);
  if (form == kSXMLMagic)
    TDRXBinaryXMLParser(bytes).Parse(*this);
  else if (form == kBXMLMagic)
    TDRXLegacyBinaryXMLParser(bytes).Parse(*this);
  else
    TDRXTextXMLParser(bytes, encoding).Parse(*this);
}

void TDRXXMLDocument::LoadFromString(std::string_view text) {
  Clear();
  TDRXTextXMLParser(text, {xeUtf8, 0}).Parse(*this);
}

void TDRXXMLDocument::SaveToStream(TStream& stream, const TDRXXMLFormatSettings& settings) {
  if (settings.Form == xfText)
    TDRXTextXMLBuilder(stream, settings).Build(*this);
  else
    TDRXBinaryXMLBuilder(stream).Build(*this);
}
