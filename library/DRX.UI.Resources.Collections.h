#pragma once
// Resource collections: items that each own one resource under an identifier,
// an index from identifier to item, and the stream form of a whole skin: the
// component "TDRXRootResourceCollectionImpl" with one property "Items", whose
// items carry "ID", "Description", "ResourceClassName" and the resource's own
// properties as "Resource." + name ("ResourceClassName" first, since it
// creates the resource).

#include <memory>
#include <unordered_map>
#include <vector>

#include "DRX.UI.Resources.h"

class TDRXCustomResourceCollection;

// The resource kinds that "ResourceClassName" may name: a class name, tried
// again with "TDRXResource" in front (so "Color" works), compared ignoring
// ASCII case. None for an empty name; any other name that is no creatable
// resource class raises EInvalidCast "The %s is not valid resource".
const TDRXResourceClass* FindResourceClass(UStringView name);

class TDRXResourceCollectionItem : public IDRXResourceOwner {
 public:
  explicit TDRXResourceCollectionItem(TDRXCustomResourceCollection& collection) : collection_(collection) {}
  virtual ~TDRXResourceCollectionItem() = default;
  TDRXResourceCollectionItem(const TDRXResourceCollectionItem&) = delete;
  TDRXResourceCollectionItem& operator=(const TDRXResourceCollectionItem&) = delete;

  const UString& ID() const { return id_; }
  // The item becomes the one its collection finds under the identifier.
  void SetID(UStringView id);
  const UString& Description() const { return description_; }
  void SetDescription(UStringView description) { description_ = UString(description); }
  UString ResourceClassName() const;
  // Replaces the resource by a new one of the named class (none for an empty name).
  void SetResourceClassName(UStringView name);
  TDRXResource* Resource() const { return resource_.get(); }
  TDRXCustomResourceCollection& Collection() const { return collection_; }

  // Identifiers resolve in the item's own collection only.
  TDRXResource* GetResource(UStringView id, const TDRXResourceClass& resourceClass,
                            const TDRXResource* requester) override;

  // Unknown properties raise EReadError "Property %s does not exist".
  void ReadProperty(const TDRXStreamProperty& property);
  std::vector<TDRXStreamProperty> WriteProperties() const;

 private:
  TDRXCustomResourceCollection& collection_;
  UString id_;
  UString description_;
  std::unique_ptr<TDRXResource> resource_;
};

class TDRXCustomResourceCollection : public TDRXResourceNotifier {
 public:
  TDRXCustomResourceCollection() = default;
  ~TDRXCustomResourceCollection() override;

  virtual UString ClassName() const { return u"TDRXCustomResourceCollection"; }

  int Count() const { return static_cast<int>(items_.size()); }
  TDRXResourceCollectionItem& Items(int index) const { return *items_.at(static_cast<size_t>(index)); }
  TDRXResourceCollectionItem& Add();
  void Delete(int index);
  void Clear();

  // The item the index holds for the identifier: the last one whose ID was set to it.
  TDRXResourceCollectionItem* FindItem(UStringView id) const;
  // The indexed item's resource when it is of the class (or a subclass) and not the requester.
  TDRXResource* GetResource(UStringView id, const TDRXResourceClass& resourceClass,
                            const TDRXResource* requester = nullptr) const;
  template <typename T>
  T* Find(UStringView id) const {
    return static_cast<T*>(GetResource(id, T::ClassInfo));
  }

  // Reading "Items" replaces the items; it happens inside one update, so the
  // listeners learn of it once. Unknown properties raise EReadError.
  void LoadFromComponent(const TDRXStreamComponent& component);
  void LoadFromStream(TStream& stream);
  TDRXStreamComponent SaveToComponent() const;
  void SaveToStream(TStream& stream) const;

 protected:
  // Every resource looks for its master again, then the listeners are told.
  void DoChanged() override;

 private:
  friend class TDRXResourceCollectionItem;
  void IndexItem(TDRXResourceCollectionItem& item, const UString& oldID);
  void DropIndexEntry(TDRXResourceCollectionItem& item, const UString& id);
  void DestroyItems();
  void ItemChanged() { Changed(); }

  std::vector<std::unique_ptr<TDRXResourceCollectionItem>> items_;
  std::unordered_map<UString, TDRXResourceCollectionItem*> index_;
};
