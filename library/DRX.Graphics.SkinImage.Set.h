#pragma once
// Skin image sets: the images of one texture, one per DPI between 96 and 480,
// kept in ascending order of DPI. A texture draws the item that best fits its
// target DPI. Items are reference counted: the set holds one reference, a
// texture that draws an item another; an item that only its set still holds
// goes dormant (compressed) again. The stored form is the items' stored forms
// with "NEXT" between two of them.

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "DRX.Classes.Streams.h"
#include "DRX.Graphics.SkinImage.h"
#include "DRX.Strings.h"

#ifdef _WIN32
struct HBITMAP__;
#endif

constexpr int kMinSkinImageDPI = 96;
constexpr int kMaxSkinImageDPI = 480;

// Raises "The %d dpi is not valid." for a DPI outside 96..480.
void CheckSkinImageDPI(int dpi);

class TDRXSkinImageSetItem : public TDRXSkinImage {
 public:
  explicit TDRXSkinImageSetItem(int dpi = kMinSkinImageDPI) : dpi_(dpi) {}

  int DPI() const { return dpi_; }
  void SetDPI(int dpi) { dpi_ = dpi; }
  // Copies the DPI too when the source is an item.
  void Assign(const TDRXSkinImage& source) override;
  // "%d%% / %d dpi - %dx%d": scale in percent, DPI, width and height.
  UString ToString() const;

  void AddRef() { ++refCount_; }
  // Frees the item with its last reference; when only one is left (its set's),
  // the item goes dormant while the process-wide dormant setting is on.
  void Release();
  int RefCount() const { return refCount_; }

 protected:
  bool ReadChunk(uint32_t id, TStream& stream, int32_t size) override;
  void WriteChunks(TDRXSkinImageChunkWriter& writer) override;

 private:
  int dpi_;
  int refCount_ = 0;
};

// An owning reference to a set item.
class TDRXSkinImageSetItemRef {
 public:
  TDRXSkinImageSetItemRef() = default;
  explicit TDRXSkinImageSetItemRef(TDRXSkinImageSetItem* item) : item_(item) {
    if (item_) item_->AddRef();
  }
  TDRXSkinImageSetItemRef(const TDRXSkinImageSetItemRef& other) : TDRXSkinImageSetItemRef(other.item_) {}
  TDRXSkinImageSetItemRef(TDRXSkinImageSetItemRef&& other) noexcept : item_(std::exchange(other.item_, nullptr)) {}
  TDRXSkinImageSetItemRef& operator=(TDRXSkinImageSetItemRef other) noexcept {
    std::swap(item_, other.item_);
    return *this;
  }
  ~TDRXSkinImageSetItemRef() {
    if (item_) item_->Release();
  }

  TDRXSkinImageSetItem* Get() const { return item_; }
  TDRXSkinImageSetItem* operator->() const { return item_; }
  TDRXSkinImageSetItem& operator*() const { return *item_; }
  explicit operator bool() const { return item_ != nullptr; }

  // A new item with its first reference.
  static TDRXSkinImageSetItemRef Create(int dpi) { return TDRXSkinImageSetItemRef(new TDRXSkinImageSetItem(dpi)); }

 private:
  TDRXSkinImageSetItem* item_ = nullptr;
};

// The colour schema a texture's collection may apply. No setting of the
// application assigns one, so only the neutral schema exists and colours and
// textures are drawn as stored; a schema that recolours would enter here,
// together with the tinted copies of the set's items.
struct TDRXColorSchema {
  bool IsNeutral() const { return true; }
};

class TDRXSkinImageSet {
 public:
  // A new set holds one empty item of 96 DPI.
  TDRXSkinImageSet();
  ~TDRXSkinImageSet();
  TDRXSkinImageSet(const TDRXSkinImageSet&) = delete;
  TDRXSkinImageSet& operator=(const TDRXSkinImageSet&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  TDRXSkinImageSetItem& Items(int index) const { return *items_[index].Item; }

  // Replaces the item of the same DPI and keeps the order of DPIs.
  void Add(TDRXSkinImageSetItemRef item);
  // An empty item of that DPI, inserted in order; "Image for %d dpi is already
  // exists." when the set has one.
  TDRXSkinImageSetItem& NewItem(int dpi);
  // The item with the highest DPI not above `dpi`, else the lowest one.
  TDRXSkinImageSetItem& BestItem(int dpi) const;
  TDRXSkinImageSetItem& ItemFor(int dpi, const TDRXColorSchema& schema) const;

  // Keeps only the 96-DPI item, with its image cleared (a new empty one when the
  // set had none, or when the item is shared with another holder).
  void Clear();
  // From another set: the same items, each with one more reference.
  void Assign(const TDRXSkinImageSet& source);
  // From an image: the set is cleared and its 96-DPI item takes the image.
  void Assign(const TDRXSkinImage& source);

  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;

  bool Equals(const TDRXSkinImageSet& other) const;
  int HashCode() const { return Count(); }

#ifdef _WIN32
  // A new item of that DPI imported from the bitmap; Replace drops the others first.
  void Add(HBITMAP__* bitmap, int dpi);
  void Replace(HBITMAP__* bitmap, int dpi);
#endif

  // Called after every change of the set or of one of its items.
  std::function<void()> OnChange;

 private:
  struct TEntry {
    TDRXSkinImageSetItemRef Item;
    int ListenerId = 0;
  };

  void Insert(TDRXSkinImageSetItemRef item);
  void Append(TDRXSkinImageSetItemRef item);
  void RemoveAt(size_t index);
  void RemoveAll();
  void Changed();
  void ClearToDefaultItem();

  std::vector<TEntry> items_;
  int updateCount_ = 0;
};
