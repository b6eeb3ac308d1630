#include "DRX.UI.Resources.Collections.h"

#include <iterator>

#include "DRX.Format.h"
#include "DRX.UI.Resources.Font.h"
#include "DRX.UI.Resources.Texture.h"
#include "DRX.UI.Resources.Values.h"

namespace {

constexpr UStringView kResourcePrefix = u"Resource.";

const TDRXResourceClass* const kResourceClasses[] = {
    &TDRXResourceColor::ClassInfo, &TDRXResourceFont::ClassInfo, &TDRXResourceMargins::ClassInfo,
    &TDRXResourceInteger::ClassInfo, &TDRXResourceTexture::ClassInfo};

const TDRXResourceClass* FindClassNamed(UStringView name) {
  for (const TDRXResourceClass* resourceClass : kResourceClasses)
    if (UpperCaseAscii(resourceClass->Name) == UpperCaseAscii(name)) return resourceClass;
  return nullptr;
}

[[noreturn]] void RaiseUnknownProperty(UStringView name) {
  throw EReadError(Format(u"Property %s does not exist", {name}));
}

}  // namespace

const TDRXResourceClass* FindResourceClass(UStringView name) {
  if (name.empty()) return nullptr;
  const TDRXResourceClass* found = FindClassNamed(name);
  if (!found) found = FindClassNamed(UString(u"TDRXResource") + UString(name));
  if (!found) throw EInvalidCast(Format(u"The %s is not valid resource", {name}));
  return found;
}

// --- TDRXResourceCollectionItem ---

void TDRXResourceCollectionItem::SetID(UStringView id) {
  const UString oldID = id_;
  id_ = UString(id);
  collection_.IndexItem(*this, oldID);
  collection_.ItemChanged();
}

UString TDRXResourceCollectionItem::ResourceClassName() const {
  return resource_ ? UString(resource_->ClassType().Name) : UString();
}

void TDRXResourceCollectionItem::SetResourceClassName(UStringView name) {
  const TDRXResourceClass* resourceClass = FindResourceClass(name);
  // The old resource goes after the new one exists, so that resources that took
  // their values from it can find the new one.
  std::unique_ptr<TDRXResource> old = std::move(resource_);
  if (resourceClass) resource_ = resourceClass->Create(this, u"");
  old.reset();
  collection_.ItemChanged();
}

TDRXResource* TDRXResourceCollectionItem::GetResource(UStringView id, const TDRXResourceClass& resourceClass,
                                                      const TDRXResource* requester) {
  return collection_.GetResource(id, resourceClass, requester);
}

void TDRXResourceCollectionItem::ReadProperty(const TDRXStreamProperty& property) {
  const UStringView name = property.Name;
  if (name == u"ID") {
    SetID(property.Value.AsString());
  } else if (name == u"Description") {
    SetDescription(property.Value.AsString());
  } else if (name == u"ResourceClassName") {
    SetResourceClassName(property.Value.AsString());
  } else if (name.substr(0, kResourcePrefix.size()) == kResourcePrefix && resource_) {
    if (!resource_->ReadProperty(name.substr(kResourcePrefix.size()), property.Value)) RaiseUnknownProperty(name);
  } else {
    RaiseUnknownProperty(name);
  }
}

std::vector<TDRXStreamProperty> TDRXResourceCollectionItem::WriteProperties() const {
  std::vector<TDRXStreamProperty> properties;
  if (!id_.empty()) properties.push_back({u"ID", TDRXStreamValue::FromString(id_)});
  if (!description_.empty()) properties.push_back({u"Description", TDRXStreamValue::FromString(description_)});
  if (!resource_) return properties;
  properties.push_back({u"ResourceClassName", TDRXStreamValue::FromString(resource_->ClassType().Name)});
  std::vector<TDRXStreamProperty> own;
  resource_->WriteProperties(own);
  for (TDRXStreamProperty& property : own)
    properties.push_back({UString(kResourcePrefix) + property.Name, std::move(property.Value)});
  return properties;
}

// --- TDRXCustomResourceCollection ---

TDRXCustomResourceCollection::~TDRXCustomResourceCollection() {
  Notify(rnRemoving);
  DestroyItems();
}

TDRXResourceCollectionItem& TDRXCustomResourceCollection::Add() {
  items_.push_back(std::make_unique<TDRXResourceCollectionItem>(*this));
  Changed();
  return *items_.back();
}

void TDRXCustomResourceCollection::Delete(int index) {
  TDRXResourceCollectionItem& item = Items(index);
  DropIndexEntry(item, item.ID());
  std::unique_ptr<TDRXResourceCollectionItem> removed = std::move(items_[static_cast<size_t>(index)]);
  items_.erase(items_.begin() + index);
  removed.reset();
  Changed();
}

void TDRXCustomResourceCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  DestroyItems();
  Changed();
  EndUpdate();
}

TDRXResourceCollectionItem* TDRXCustomResourceCollection::FindItem(UStringView id) const {
  const auto found = index_.find(UString(id));
  return found == index_.end() ? nullptr : found->second;
}

TDRXResource* TDRXCustomResourceCollection::GetResource(UStringView id, const TDRXResourceClass& resourceClass,
                                                        const TDRXResource* requester) const {
  const TDRXResourceCollectionItem* item = FindItem(id);
  TDRXResource* resource = item ? item->Resource() : nullptr;
  if (!resource || resource == requester || !resource->ClassType().InheritsFrom(resourceClass)) return nullptr;
  return resource;
}

void TDRXCustomResourceCollection::IndexItem(TDRXResourceCollectionItem& item, const UString& oldID) {
  DropIndexEntry(item, oldID);
  if (!item.ID().empty()) index_[item.ID()] = &item;
}

void TDRXCustomResourceCollection::DropIndexEntry(TDRXResourceCollectionItem& item, const UString& id) {
  const auto entry = index_.find(id);
  if (entry == index_.end() || entry->second != &item) return;
  // Another item of that identifier is found again: the last one.
  index_.erase(entry);
  for (auto i = items_.rbegin(); i != items_.rend(); ++i)
    if (i->get() != &item && (*i)->ID() == id) {
      index_[id] = i->get();
      break;
    }
}

void TDRXCustomResourceCollection::DestroyItems() {
  index_.clear();
  // Last first, each out of the list before it goes: resources that took their
  // values from it look for another master in a consistent collection.
  while (!items_.empty()) {
    std::unique_ptr<TDRXResourceCollectionItem> last = std::move(items_.back());
    items_.pop_back();
  }
}

void TDRXCustomResourceCollection::DoChanged() {
  for (const auto& item : items_)
    if (item->Resource()) item->Resource()->ResolveMaster();
  Notify(rnChanged);
}

void TDRXCustomResourceCollection::LoadFromComponent(const TDRXStreamComponent& component) {
  BeginUpdate();
  try {
    for (const TDRXStreamProperty& property : component.Properties) {
      if (property.Name != u"Items") RaiseUnknownProperty(property.Name);
      Clear();
      for (const TDRXStreamCollectionItem& streamItem : property.Value.AsCollection()) {
        TDRXResourceCollectionItem& item = Add();
        for (const TDRXStreamProperty& itemProperty : streamItem.Properties) item.ReadProperty(itemProperty);
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TDRXCustomResourceCollection::LoadFromStream(TStream& stream) { LoadFromComponent(ReadComponentStream(stream)); }

TDRXStreamComponent TDRXCustomResourceCollection::SaveToComponent() const {
  TDRXStreamComponent component;
  component.ClassName = ClassName();
  std::vector<TDRXStreamCollectionItem> items;
  for (const auto& item : items_) items.push_back({false, {}, item->WriteProperties()});
  component.Properties.push_back({u"Items", TDRXStreamValue::FromCollection(std::move(items))});
  return component;
}

void TDRXCustomResourceCollection::SaveToStream(TStream& stream) const {
  WriteComponentStream(stream, SaveToComponent());
}
