#pragma once
// Styles: the resource set of one control. A style holds five maps from a slot
// index to a resource, one per kind; each style class creates its slots with
// their default identifiers ("Buttons.Colors.Text"). A slot takes its values
// from the resource its ID names, looked up in the style's Collection, else in
// the collection the owning control offers, else in the root collection. The
// style follows those collections (a reload of the root reaches it) and tells
// its control once per change.

#include <array>
#include <map>
#include <memory>

#include "DRX.UI.Resources.Collections.h"
#include "DRX.UI.Resources.Font.h"
#include "DRX.UI.Resources.Texture.h"
#include "DRX.UI.Resources.Values.h"

class TDRXStyle;

// What a style asks of the control that owns it.
class IDRXStyleOwner {
 public:
  // The collection the control offers its styles, or none.
  virtual TDRXCustomResourceCollection* StyleResourceCollection() { return nullptr; }
  virtual void StyleChanged(TDRXStyle& style) {}

 protected:
  ~IDRXStyleOwner() = default;
};

enum TDRXStyleSlotKind : uint8_t { skColor, skFont, skInteger, skMargins, skTexture };

class TDRXStyle : public IDRXResourceOwner, private IDRXResourceListener {
 public:
  explicit TDRXStyle(IDRXStyleOwner* owner = nullptr);
  virtual ~TDRXStyle();
  TDRXStyle(const TDRXStyle&) = delete;
  TDRXStyle& operator=(const TDRXStyle&) = delete;

  IDRXStyleOwner* Owner() const { return owner_; }
  TDRXCustomResourceCollection* Collection() const { return collection_; }
  void SetCollection(TDRXCustomResourceCollection* collection);
  int TargetDPI() const { return targetDPI_; }
  void SetTargetDPI(int dpi);

  // The lookup of the slots: the style's collection, else the owner's, else the root.
  TDRXResource* GetResource(UStringView id, const TDRXResourceClass& resourceClass,
                            const TDRXResource* requester) override;

  // A slot of the kind; std::out_of_range for a slot the style class did not create.
  TDRXResource& Slot(TDRXStyleSlotKind kind, int slot) const;
  TDRXResourceColor& Colors(int slot) const { return static_cast<TDRXResourceColor&>(Slot(skColor, slot)); }
  TDRXResourceFont& Fonts(int slot) const { return static_cast<TDRXResourceFont&>(Slot(skFont, slot)); }
  TDRXResourceInteger& Integers(int slot) const { return static_cast<TDRXResourceInteger&>(Slot(skInteger, slot)); }
  TDRXResourceMargins& Margins(int slot) const { return static_cast<TDRXResourceMargins&>(Slot(skMargins, slot)); }
  TDRXResourceTexture& Textures(int slot) const { return static_cast<TDRXResourceTexture&>(Slot(skTexture, slot)); }
  int SlotCount(TDRXStyleSlotKind kind) const { return static_cast<int>(slots_[kind].size()); }

  // Every slot looks for its master again.
  void ResolveSlots();

  void BeginUpdate();
  void EndUpdate();

 protected:
  // Tells the owner of a change (once, at the end of an open update).
  void Changed();
  // Creates the slot with its default identifier (the resource class decides the kind).
  TDRXResource& AddSlot(TDRXStyleSlotKind kind, int slot, const TDRXResourceClass& resourceClass, UStringView defaultID);
  TDRXResourceColor& AddColor(int slot, UStringView defaultID) {
    return static_cast<TDRXResourceColor&>(AddSlot(skColor, slot, TDRXResourceColor::ClassInfo, defaultID));
  }
  TDRXResourceFont& AddFont(int slot, UStringView defaultID) {
    return static_cast<TDRXResourceFont&>(AddSlot(skFont, slot, TDRXResourceFont::ClassInfo, defaultID));
  }
  TDRXResourceInteger& AddInteger(int slot, UStringView defaultID) {
    return static_cast<TDRXResourceInteger&>(AddSlot(skInteger, slot, TDRXResourceInteger::ClassInfo, defaultID));
  }
  TDRXResourceMargins& AddMargins(int slot, UStringView defaultID) {
    return static_cast<TDRXResourceMargins&>(AddSlot(skMargins, slot, TDRXResourceMargins::ClassInfo, defaultID));
  }
  TDRXResourceTexture& AddTexture(int slot, UStringView defaultID) {
    return static_cast<TDRXResourceTexture&>(AddSlot(skTexture, slot, TDRXResourceTexture::ClassInfo, defaultID));
  }

 private:
  void ResourceNotify(TDRXResourceNotifier& sender, TDRXResourceNotification notification) override;
  // Listens to exactly the collections that lookups may use.
  void FollowCollections();

  IDRXStyleOwner* owner_;
  TDRXCustomResourceCollection* collection_ = nullptr;
  TDRXCustomResourceCollection* followedOffered_ = nullptr;
  TDRXCustomResourceCollection* followedRoot_ = nullptr;
  const TDRXResourceNotifier* dying_ = nullptr;  // a collection telling of its removal
  int targetDPI_ = 96;
  std::array<std::map<int, std::unique_ptr<TDRXResource>>, 5> slots_;
  int updateCount_ = 0;
  bool changedInUpdate_ = false;
};
