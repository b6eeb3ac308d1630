#include "DRX.UI.Resources.Root.h"

namespace {

struct TRootHolder {
  std::unique_ptr<TDRXRootResourceCollectionImpl> root;
  bool finalized = false;
  TDRXDefaultSkinSource source;
  ~TRootHolder() {
    finalized = true;
    root.reset();
  }
};

TRootHolder& Holder() {
  static TRootHolder holder;
  return holder;
}

std::unique_ptr<TStream> DefaultSkin(bool dark) {
  const TDRXDefaultSkinSource& source = Holder().source;
  return source ? source(dark) : PlatformDefaultSkin(dark);
}

}  // namespace

void ApplyWindows11Variants(TDRXCustomResourceCollection& collection) {
  for (const UStringView id : kWindows11VariantIDs) {
    const UString variant = UString(id) + u".W11";
    TDRXResourceCollectionItem* item = collection.FindItem(id);
    if (item && item->Resource() && collection.FindItem(variant)) item->Resource()->SetID(variant);
  }
}

// --- TDRXRootResourceCollectionImpl ---

TDRXRootResourceCollectionImpl::TDRXRootResourceCollectionImpl() { TDRXApplication::AddListener(this); }

TDRXRootResourceCollectionImpl::~TDRXRootResourceCollectionImpl() { TDRXApplication::RemoveListener(this); }

void TDRXRootResourceCollectionImpl::Load() {
  BeginUpdate();
  try {
    Clear();
    loadedDark_ = TDRXApplication::DarkMode();
    if (std::unique_ptr<TStream> skin = DefaultSkin(loadedDark_)) LoadFromStream(*skin);
    if (PlatformUsesWindows11Variants()) ApplyWindows11Variants(*this);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TDRXRootResourceCollectionImpl::ApplicationDarkModeChanged() {
  if (TDRXApplication::DarkMode() != loadedDark_) Load();
}

TDRXRootResourceCollectionImpl* RootResourceCollection() {
  TRootHolder& holder = Holder();
  if (holder.finalized) return nullptr;
  if (!holder.root) {
    holder.root = std::make_unique<TDRXRootResourceCollectionImpl>();
    holder.root->Load();
  }
  return holder.root.get();
}

void FinalizeRootResourceCollection() {
  TRootHolder& holder = Holder();
  holder.finalized = true;
  holder.root.reset();
}

void SetDefaultSkinSource(TDRXDefaultSkinSource source) { Holder().source = std::move(source); }
