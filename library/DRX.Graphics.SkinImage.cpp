#include "DRX.Graphics.SkinImage.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <typeinfo>

#include "DRX.Graphics.SkinImage.Analyzer.h"
#include "DRX.Graphics.SkinImage.Bitmap.h"
#include "DRX.Graphics.SkinImage.Geometry.h"
#include "DRX.Graphics.SkinImage.Pixels.h"
#include "DRX.Graphics.SkinImage.Renderer.h"
#include "DRX.Graphics.SkinImage.Streaming.h"
#include "DRX.Hashes.h"
#include "DRX.ZLib.h"

namespace {

std::atomic<TDRXSkinImageCompression> gCompression{icFastest};
std::atomic<bool> gDormantEnabled{true};

[[noreturn]] void RaiseCorrupted() { throw EDRXSkinImageException(u"Dormant data has been corrupted"); }

// Storage that cannot inflate to `size` bytes is corrupted; judged before
// anything is allocated for it.
void CheckInflatable(const TDRXSkinImageBitsStorage& storage, int64_t size) {
  if (storage.Size != size || size > ZMaxInflatedSize(static_cast<int64_t>(storage.Data.size()))) RaiseCorrupted();
}

void Inflate(const TDRXSkinImageBitsStorage& storage, uint8_t* target, int64_t size) {
  CheckInflatable(storage, size);
  if (!ZDecompressExact(storage.Data.data(), storage.Data.size(), target, static_cast<size_t>(size))) RaiseCorrupted();
}

}  // namespace

TDRXSkinImageCompression SkinImageCompression() { return gCompression; }
void SetSkinImageCompression(TDRXSkinImageCompression compression) { gCompression = compression; }

int SkinImageCompressionLevel() {
  switch (gCompression.load()) {
    case icNone: return 0;
    case icFastest: return 1;
    case icDefault: return kZLevelDefault;
    case icMaximum: return 9;
  }
  return 1;
}

bool SkinImageDormantEnabled() { return gDormantEnabled; }
void SetSkinImageDormantEnabled(bool enabled) { gDormantEnabled = enabled; }

TDRXSkinImage::TDRXSkinImage() { TDRXSkinImageRenderer::AddImage(); }

TDRXSkinImage::~TDRXSkinImage() {
  bitmap_.reset();
  TDRXSkinImageRenderer::RemoveImage();
}

// Changes and listeners.

void TDRXSkinImage::Changed() {
  ++changeCount_;
  analyzed_ = false;
  TDRXSkinImageRenderer::MarkChanged();
  if (updateCount_ > 0) return;
  // A listener may remove itself (or others) while it runs.
  const auto listeners = listeners_;
  for (const auto& [id, listener] : listeners) listener(*this);
}

void TDRXSkinImage::EndUpdate() {
  if (updateCount_ > 0) --updateCount_;
  Changed();
}

int TDRXSkinImage::AddListener(TDRXSkinImageListener listener) {
  listeners_.emplace_back(nextListenerId_, std::move(listener));
  return nextListenerId_++;
}

void TDRXSkinImage::RemoveListener(int id) {
  std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

template <typename T>
void TDRXSkinImage::Update(T& field, const T& value) {
  if (field == value) return;
  field = value;
  Changed();
}

void TDRXSkinImage::SetAllowColoration(bool value) { Update(allowColoration_, value); }
void TDRXSkinImage::SetFrameLayout(TDRXSkinImageLayout value) { Update(frameLayout_, value); }
void TDRXSkinImage::SetMargins(const TDRXMargins& value) { Update(margins_, value); }
void TDRXSkinImage::SetContentOffsets(const TDRXMargins& value) { Update(contentOffsets_, value); }
void TDRXSkinImage::SetStretchMode(TDRXSkinImageStretchMode value) { Update(stretchMode_, value); }
void TDRXSkinImage::SetSizingMode(TDRXSkinImageSizingMode value) { Update(sizingMode_, value); }
void TDRXSkinImage::SetTileArea(const TDRXSkinImageTileArea& value) { Update(tileArea_, value); }
void TDRXSkinImage::SetTileAreaLayout(TDRXSkinImageLayout value) { Update(tileAreaLayout_, value); }
void TDRXSkinImage::SetHitTestMode(TDRXSkinImageHitTestMode value) { Update(hitTestMode_, value); }
void TDRXSkinImage::SetHitTestFrame(int32_t value) { Update(hitTestFrame_, value); }

void TDRXSkinImage::SetFrameCount(int32_t value) {
  const int32_t limit = frameLayout_ == ilVertical ? height_ : width_;
  Update(frameCount_, std::max(std::min(value, limit), 1));
}

// Pixels and their forms.

void TDRXSkinImage::Clear() {
  if (width_ == 0 && height_ == 0 && !bitmap_ && !storage_) return;
  bitmap_.reset();
  storage_.reset();
  width_ = height_ = 0;
  alphaState_ = asUnknown;
  premultiplied_ = false;
  Changed();
}

void TDRXSkinImage::SetSize(int32_t width, int32_t height) {
  TDRXSkinImageBitmap::CheckSize(width, height);
  std::unique_ptr<TDRXSkinImageBitmap> bitmap;
  if (width > 0 && height > 0) bitmap = std::make_unique<TDRXSkinImageBitmap>(width, height);
  bitmap_ = std::move(bitmap);
  storage_.reset();
  width_ = bitmap_ ? width : 0;
  height_ = bitmap_ ? height : 0;
  alphaState_ = asUnknown;
  premultiplied_ = false;
  Changed();
}

void TDRXSkinImage::AssignPixels(int32_t width, int32_t height, const void* pixels, bool premultiplied,
                                 bool keyTransparency) {
  ReplacePixels(width, height, premultiplied, keyTransparency, [&](uint8_t* bits) {
    std::memcpy(bits, pixels, static_cast<size_t>(width) * height * 4);
  });
}

void TDRXSkinImage::ReplacePixels(int32_t width, int32_t height, bool premultiplied, bool keyTransparency,
                                  const std::function<void(uint8_t* pixels)>& fill) {
  BeginUpdate();
  try {
    SetSize(width, height);
    if (bitmap_) {
      fill(bitmap_->Bits());
      if (keyTransparency)
        alphaState_ = KeyTransparentPixels(bitmap_->Bits(), bitmap_->ByteCount() / 4) ? asHasAlpha : asNoAlpha;
    }
    premultiplied_ = premultiplied;
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

uint8_t* TDRXSkinImage::Bits() {
  Unpack();
  return bitmap_ ? bitmap_->Bits() : nullptr;
}

void TDRXSkinImage::Unpack() {
  if (!storage_) return;
  if (Empty()) {
    storage_.reset();
    return;
  }
  CheckInflatable(*storage_, static_cast<int64_t>(width_) * height_ * 4);
  auto bitmap = std::make_unique<TDRXSkinImageBitmap>(width_, height_);
  Inflate(*storage_, bitmap->Bits(), static_cast<int64_t>(bitmap->ByteCount()));
  alphaState_ = storage_->AlphaState;
  premultiplied_ = storage_->Premultiplied;
  bitmap_ = std::move(bitmap);
  storage_.reset();
}

void TDRXSkinImage::Dormant() {
  if (Empty() || storage_ || !bitmap_) return;
  auto storage = std::make_unique<TDRXSkinImageBitsStorage>();
  storage->Data = ZCompress(bitmap_->Bits(), bitmap_->ByteCount(), SkinImageCompressionLevel());
  storage->Size = static_cast<int64_t>(bitmap_->ByteCount());
  storage->AlphaState = alphaState_;
  storage->Premultiplied = premultiplied_;
  storage_ = std::move(storage);
  bitmap_.reset();
}

std::vector<uint8_t> TDRXSkinImage::PixelBytes() const {
  if (bitmap_) return {bitmap_->Bits(), bitmap_->Bits() + bitmap_->ByteCount()};
  std::vector<uint8_t> bytes;
  if (storage_ && !Empty()) {
    CheckInflatable(*storage_, static_cast<int64_t>(width_) * height_ * 4);
    bytes.resize(static_cast<size_t>(width_) * height_ * 4);
    Inflate(*storage_, bytes.data(), static_cast<int64_t>(bytes.size()));
  }
  return bytes;
}

bool TDRXSkinImage::HasAlpha() {
  if (alphaState_ == asUnknown) DetermineAlphaState();
  return alphaState_ == asHasAlpha;
}

void TDRXSkinImage::DetermineAlphaState() {
  uint8_t* pixels = Bits();
  bool modified = false;
  alphaState_ = pixels ? TDRXSkinImageAnalyzer::DetermineAlphaState(pixels, bitmap_->ByteCount() / 4, modified)
                       : asNoAlpha;
  if (modified) Changed();
}

void TDRXSkinImage::SetPremultiplied(bool premultiplied) {
  if (premultiplied_ == premultiplied) return;
  if (HasAlpha()) {
    uint8_t* pixels = Bits();
    const size_t count = bitmap_ ? bitmap_->ByteCount() / 4 : 0;
    if (premultiplied) PremultiplyPixels(pixels, count);
    else UnpremultiplyPixels(pixels, count);
  }
  premultiplied_ = premultiplied;
  Changed();
}

// Frames.

int32_t TDRXSkinImage::FrameWidth() const { return frameLayout_ == ilVertical ? width_ : width_ / frameCount_; }
int32_t TDRXSkinImage::FrameHeight() const { return frameLayout_ == ilVertical ? height_ / frameCount_ : height_; }

TRect TDRXSkinImage::FrameRect(int32_t index) const {
  if (index < 0 || index >= frameCount_) index = 0;
  const int32_t w = FrameWidth(), h = FrameHeight();
  return frameLayout_ == ilVertical ? Bounds(0, index * h, w, h) : Bounds(index * w, 0, w, h);
}

TDRXSkinImageDrawingMode TDRXSkinImage::DrawingMode() const {
  if (sizingMode_ != szMarginsOnly && !tileArea_.IsEmpty()) return dmFivePart;
  if (sizingMode_ == szTileAreaOnly || margins_.IsZero()) return dmWholeFrame;
  return dmNinePart;
}

void TDRXSkinImage::EnsureAnalyzed() {
  if (!analyzed_ || frameStates_.size() != static_cast<size_t>(frameCount_)) TDRXSkinImageAnalyzer::Analyze(*this);
}

TDRXSkinImageFrameState TDRXSkinImage::FrameState(int32_t index) {
  if (index < 0 || index >= frameCount_) throw EDRXSkinImageException(u"Invalid FrameInfo Index");
  EnsureAnalyzed();
  return frameStates_[index];
}

TDRXSkinImageFrameState TDRXSkinImage::InnerAreaState(int32_t index) {
  if (index < 0 || index >= frameCount_) throw EDRXSkinImageException(u"Invalid FrameInfo Index");
  EnsureAnalyzed();
  return innerStates_[index];
}

bool TDRXSkinImage::HitTest(const TRect& rect, int32_t x, int32_t y) {
  if (hitTestMode_ == htAlways) return true;
  if (hitTestMode_ != htByAlpha) return false;
  if (Empty()) return true;
  if (rect.IsEmpty()) return false;
  const TRect frame = FrameRect(hitTestFrame_);
  const TPoint point = MapHitPoint(TDRXSkinImagePartRules::Of(*this), rect, frame, x, y);
  if (!frame.Contains(point.X, point.Y) || point.X >= width_ || point.Y >= height_) return false;
  uint8_t* pixels = Bits();
  SetPremultiplied(true);
  return pixels[(static_cast<size_t>(point.Y) * width_ + point.X) * 4 + 3] >= 128;
}

// Copies, comparison, streams.

void TDRXSkinImage::CopySettings(const TDRXSkinImage& source) {
  allowColoration_ = source.allowColoration_;
  sizingMode_ = source.sizingMode_;
  hitTestMode_ = source.hitTestMode_;
  frameLayout_ = source.frameLayout_;
  margins_ = source.margins_;
  stretchMode_ = source.stretchMode_;
  tileArea_ = source.tileArea_;
  tileAreaLayout_ = source.tileAreaLayout_;
  contentOffsets_ = source.contentOffsets_;
  frameCount_ = source.frameCount_;
  hitTestFrame_ = source.hitTestFrame_;
}

bool TDRXSkinImage::SameSettings(const TDRXSkinImage& other) const {
  return allowColoration_ == other.allowColoration_ && sizingMode_ == other.sizingMode_ &&
         hitTestMode_ == other.hitTestMode_ && frameLayout_ == other.frameLayout_ && margins_ == other.margins_ &&
         stretchMode_ == other.stretchMode_ && tileArea_ == other.tileArea_ &&
         tileAreaLayout_ == other.tileAreaLayout_ && contentOffsets_ == other.contentOffsets_ &&
         frameCount_ == other.frameCount_ && hitTestFrame_ == other.hitTestFrame_;
}

void TDRXSkinImage::Assign(const TDRXSkinImage& source) {
  if (&source == this) return;
  std::unique_ptr<TDRXSkinImageBitmap> bitmap;
  std::unique_ptr<TDRXSkinImageBitsStorage> storage;
  if (source.storage_) {
    storage = std::make_unique<TDRXSkinImageBitsStorage>(*source.storage_);
  } else if (source.bitmap_) {
    bitmap = std::make_unique<TDRXSkinImageBitmap>(source.width_, source.height_);
    std::memcpy(bitmap->Bits(), source.bitmap_->Bits(), bitmap->ByteCount());
  }
  bitmap_ = std::move(bitmap);
  storage_ = std::move(storage);
  width_ = source.width_;
  height_ = source.height_;
  alphaState_ = source.alphaState_;
  premultiplied_ = source.premultiplied_;
  CopySettings(source);
  Changed();
}

bool TDRXSkinImage::Equals(const TDRXSkinImage& other) const {
  if (&other == this) return true;
  return typeid(*this) == typeid(other) && SameSettings(other) && width_ == other.width_ &&
         height_ == other.height_ && PixelBytes() == other.PixelBytes();
}

uint32_t TDRXSkinImage::HashCode() const {
  const std::vector<uint8_t> bytes = PixelBytes();
  return TDRXHashCRC32::Calculate(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TDRXSkinImage::LoadFromStream(TStream& stream) { TDRXSkinImageReader(*this).Read(stream); }

void TDRXSkinImage::SaveToStream(TStream& stream) { TDRXSkinImageWriter(*this).Write(stream); }
