#include "DRX.Graphics.SkinImage.Set.h"

#include <algorithm>
#include <cstring>

#include "DRX.Format.h"
#include "DRX.Graphics.SkinImage.Streaming.h"

namespace {

constexpr char kItemSeparator[4] = {'N', 'E', 'X', 'T'};

// Keeps a set's change signals back until the outermost change is done.
class TSetUpdate {
 public:
  TSetUpdate(int& count, const std::function<void()>& done) : count_(count), done_(done) { ++count_; }
  ~TSetUpdate() noexcept(false) {
    if (--count_ == 0) done_();
  }

 private:
  int& count_;
  std::function<void()> done_;
};

}  // namespace

void CheckSkinImageDPI(int dpi) {
  if (dpi < kMinSkinImageDPI || dpi > kMaxSkinImageDPI) throw Exception(Format(u"The %d dpi is not valid.", {dpi}));
}

// Items.

void TDRXSkinImageSetItem::Assign(const TDRXSkinImage& source) {
  if (const auto* item = dynamic_cast<const TDRXSkinImageSetItem*>(&source)) dpi_ = item->dpi_;
  TDRXSkinImage::Assign(source);
}

UString TDRXSkinImageSetItem::ToString() const {
  return Format(u"%d%% / %d dpi - %dx%d", {MulDivRounded(dpi_, 100, 96), dpi_, Width(), Height()});
}

void TDRXSkinImageSetItem::Release() {
  if (--refCount_ == 0) {
    delete this;
    return;
  }
  if (refCount_ == 1 && SkinImageDormantEnabled()) {
    try {
      Dormant();
    } catch (const Exception&) {
      // Compression failed (out of memory): the item simply stays unpacked.
    }
  }
}

bool TDRXSkinImageSetItem::ReadChunk(uint32_t id, TStream& stream, int32_t size) {
  if (id != ChunkId("XDPI")) return false;
  const int dpi = ReadUInt16(stream);
  CheckSkinImageDPI(dpi);
  dpi_ = dpi;
  return true;
}

void TDRXSkinImageSetItem::WriteChunks(TDRXSkinImageChunkWriter& writer) {
  writer.BeginChunk(ChunkId("XDPI"));
  writer.WriteUInt16(static_cast<uint16_t>(dpi_));
  writer.EndChunk();
}

// The set.

TDRXSkinImageSet::TDRXSkinImageSet() { Append(TDRXSkinImageSetItemRef::Create(kMinSkinImageDPI)); }

TDRXSkinImageSet::~TDRXSkinImageSet() {
  ++updateCount_;  // no signals while the set goes
  RemoveAll();
}

void TDRXSkinImageSet::Changed() {
  if (updateCount_ == 0 && OnChange) OnChange();
}

void TDRXSkinImageSet::Append(TDRXSkinImageSetItemRef item) {
  const int id = item->AddListener([this](TDRXSkinImage&) { Changed(); });
  items_.push_back({std::move(item), id});
}

void TDRXSkinImageSet::Insert(TDRXSkinImageSetItemRef item) {
  const int dpi = item->DPI();
  const auto at = std::find_if(items_.begin(), items_.end(), [dpi](const TEntry& e) { return e.Item->DPI() >= dpi; });
  const size_t index = static_cast<size_t>(at - items_.begin());
  Append(std::move(item));
  std::rotate(items_.begin() + static_cast<ptrdiff_t>(index), items_.end() - 1, items_.end());
}

void TDRXSkinImageSet::RemoveAt(size_t index) {
  TEntry entry = std::move(items_[index]);
  items_.erase(items_.begin() + static_cast<ptrdiff_t>(index));
  entry.Item->RemoveListener(entry.ListenerId);
}

void TDRXSkinImageSet::RemoveAll() {
  while (!items_.empty()) RemoveAt(items_.size() - 1);
}

void TDRXSkinImageSet::Add(TDRXSkinImageSetItemRef item) {
  TSetUpdate update(updateCount_, [this] { Changed(); });
  const int dpi = item->DPI();
  for (size_t i = items_.size(); i-- > 0;)
    if (items_[i].Item->DPI() == dpi) RemoveAt(i);
  Insert(std::move(item));
}

TDRXSkinImageSetItem& TDRXSkinImageSet::NewItem(int dpi) {
  CheckSkinImageDPI(dpi);
  for (const TEntry& entry : items_)
    if (entry.Item->DPI() == dpi) throw Exception(Format(u"Image for %d dpi is already exists.", {dpi}));
  TDRXSkinImageSetItemRef item = TDRXSkinImageSetItemRef::Create(dpi);
  TDRXSkinImageSetItem& added = *item;
  TSetUpdate update(updateCount_, [this] { Changed(); });
  Insert(std::move(item));
  return added;
}

TDRXSkinImageSetItem& TDRXSkinImageSet::BestItem(int dpi) const {
  // Items keep a stream's order when loaded, so this does not rely on the order.
  TDRXSkinImageSetItem* best = nullptr;
  TDRXSkinImageSetItem* lowest = nullptr;
  for (const TEntry& entry : items_) {
    TDRXSkinImageSetItem* item = entry.Item.Get();
    if (item->DPI() <= dpi && (!best || item->DPI() > best->DPI())) best = item;
    if (!lowest || item->DPI() < lowest->DPI()) lowest = item;
  }
  return best ? *best : *lowest;
}

TDRXSkinImageSetItem& TDRXSkinImageSet::ItemFor(int dpi, const TDRXColorSchema& schema) const {
  // Only the neutral schema exists (see TDRXColorSchema): no tinted copy is made.
  return BestItem(dpi);
}

void TDRXSkinImageSet::ClearToDefaultItem() {
  const auto first96 = std::find_if(items_.begin(), items_.end(),
                                    [](const TEntry& e) { return e.Item->DPI() == kMinSkinImageDPI; });
  const size_t keep = static_cast<size_t>(first96 - items_.begin());
  for (size_t i = items_.size(); i-- > 0;)
    if (i != keep) RemoveAt(i);
  if (items_.empty()) {
    Append(TDRXSkinImageSetItemRef::Create(kMinSkinImageDPI));
  } else if (items_[0].Item->RefCount() > 1) {
    // Shared with a texture or another set: clearing it would clear theirs too.
    TDRXSkinImageSetItemRef fresh = TDRXSkinImageSetItemRef::Create(kMinSkinImageDPI);
    fresh->Assign(*items_[0].Item);
    fresh->Clear();
    RemoveAt(0);
    Append(std::move(fresh));
  } else {
    items_[0].Item->Clear();
  }
}

void TDRXSkinImageSet::Clear() {
  TSetUpdate update(updateCount_, [this] { Changed(); });
  ClearToDefaultItem();
}

void TDRXSkinImageSet::Assign(const TDRXSkinImageSet& source) {
  if (&source == this) return;
  TSetUpdate update(updateCount_, [this] { Changed(); });
  RemoveAll();
  for (const TEntry& entry : source.items_) Append(entry.Item);
}

void TDRXSkinImageSet::Assign(const TDRXSkinImage& source) {
  TSetUpdate update(updateCount_, [this] { Changed(); });
  ClearToDefaultItem();
  items_[0].Item->Assign(source);
}

void TDRXSkinImageSet::LoadFromStream(TStream& stream) {
  TSetUpdate update(updateCount_, [this] { Changed(); });
  ClearToDefaultItem();
  items_.back().Item->LoadFromStream(stream);
  for (;;) {
    char separator[4];
    const int64_t got = stream.Read(separator, 4);
    if (got != 4 || std::memcmp(separator, kItemSeparator, 4) != 0) {
      stream.Seek(-got, soCurrent);
      return;
    }
    Append(TDRXSkinImageSetItemRef::Create(kMinSkinImageDPI));
    items_.back().Item->LoadFromStream(stream);
  }
}

void TDRXSkinImageSet::SaveToStream(TStream& stream) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (i > 0) stream.WriteBuffer(kItemSeparator, 4);
    items_[i].Item->SaveToStream(stream);
  }
}

bool TDRXSkinImageSet::Equals(const TDRXSkinImageSet& other) const {
  if (other.items_.size() != items_.size()) return false;
  for (size_t i = 0; i < items_.size(); ++i) {
    const TDRXSkinImageSetItem& a = *items_[i].Item;
    const TDRXSkinImageSetItem& b = *other.items_[i].Item;
    if (a.DPI() != b.DPI() || !a.Equals(b)) return false;
  }
  return true;
}
