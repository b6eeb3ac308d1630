#include "DRX.UI.Resources.Styles.h"

#include "DRX.UI.Resources.Root.h"

namespace {

bool Is(const TDRXResourceNotifier& sender, const TDRXCustomResourceCollection* collection) {
  return collection && &sender == static_cast<const TDRXResourceNotifier*>(collection);
}

void Follow(TDRXCustomResourceCollection*& followed, TDRXCustomResourceCollection* wanted, IDRXResourceListener* listener) {
  if (followed == wanted) return;
  if (followed) followed->RemoveListener(listener);
  followed = wanted;
  if (followed) followed->AddListener(listener);
}

}  // namespace

// The owner is not asked yet: it may still be under construction (a control
// that is its styles' owner creates them in its constructor).
TDRXStyle::TDRXStyle(IDRXStyleOwner* owner) : owner_(owner) { Follow(followedRoot_, RootResourceCollection(), this); }

TDRXStyle::~TDRXStyle() {
  for (auto& kind : slots_)
    for (auto& [slot, resource] : kind) resource->RemoveListener(this);
  for (auto& kind : slots_) kind.clear();
  if (collection_) collection_->RemoveListener(this);
  if (followedOffered_) followedOffered_->RemoveListener(this);
  if (followedRoot_) followedRoot_->RemoveListener(this);
}

void TDRXStyle::SetCollection(TDRXCustomResourceCollection* collection) {
  if (collection_ == collection) return;
  if (collection_ && collection_ != followedOffered_ && collection_ != followedRoot_) collection_->RemoveListener(this);
  collection_ = collection;
  if (collection_) collection_->AddListener(this);
  ResolveSlots();
}

void TDRXStyle::SetTargetDPI(int dpi) {
  if (targetDPI_ == dpi) return;
  targetDPI_ = dpi;
  BeginUpdate();
  for (auto& kind : slots_)
    for (auto& [slot, resource] : kind) resource->SetTargetDPI(dpi);
  EndUpdate();
}

void TDRXStyle::FollowCollections() {
  // A collection that is going away is not followed again, whoever still offers it.
  auto wanted = [this](TDRXCustomResourceCollection* collection) {
    return dying_ && Is(*dying_, collection) ? nullptr : collection;
  };
  Follow(followedOffered_, wanted(owner_ ? owner_->StyleResourceCollection() : nullptr), this);
  Follow(followedRoot_, wanted(RootResourceCollection()), this);
  // A collection followed twice must stay followed when one of the two goes.
  if (collection_) collection_->AddListener(this);
  if (followedOffered_) followedOffered_->AddListener(this);
}

TDRXResource* TDRXStyle::GetResource(UStringView id, const TDRXResourceClass& resourceClass,
                                     const TDRXResource* requester) {
  if (collection_) return collection_->GetResource(id, resourceClass, requester);
  if (TDRXCustomResourceCollection* offered = owner_ ? owner_->StyleResourceCollection() : nullptr)
    return offered->GetResource(id, resourceClass, requester);
  TDRXCustomResourceCollection* root = RootResourceCollection();
  return root ? root->GetResource(id, resourceClass, requester) : nullptr;
}

TDRXResource& TDRXStyle::Slot(TDRXStyleSlotKind kind, int slot) const { return *slots_[kind].at(slot); }

TDRXResource& TDRXStyle::AddSlot(TDRXStyleSlotKind kind, int slot, const TDRXResourceClass& resourceClass,
                                 UStringView defaultID) {
  FollowCollections();
  std::unique_ptr<TDRXResource>& place = slots_[kind][slot];
  if (place) place->RemoveListener(this);
  place = resourceClass.Create(this, defaultID);
  place->SetTargetDPI(targetDPI_);
  place->AddListener(this);
  return *place;
}

void TDRXStyle::ResolveSlots() {
  BeginUpdate();
  FollowCollections();
  for (auto& kind : slots_)
    for (auto& [slot, resource] : kind) resource->ResolveMaster();
  EndUpdate();
}

void TDRXStyle::BeginUpdate() { ++updateCount_; }

void TDRXStyle::EndUpdate() {
  if (updateCount_ == 0 || --updateCount_ > 0 || !changedInUpdate_) return;
  changedInUpdate_ = false;
  if (owner_) owner_->StyleChanged(*this);
}

void TDRXStyle::Changed() {
  if (updateCount_ > 0)
    changedInUpdate_ = true;
  else if (owner_)
    owner_->StyleChanged(*this);
}

void TDRXStyle::ResourceNotify(TDRXResourceNotifier& sender, TDRXResourceNotification notification) {
  const bool fromCollection = Is(sender, collection_) || Is(sender, followedOffered_) || Is(sender, followedRoot_);
  if (!fromCollection) {
    if (notification == rnChanged) Changed();
    return;
  }
  switch (notification) {
    case rnBeginUpdate: BeginUpdate(); break;
    case rnEndUpdate: EndUpdate(); break;
    case rnChanged: ResolveSlots(); break;
    case rnRemoving:
      if (Is(sender, collection_)) collection_ = nullptr;
      if (Is(sender, followedOffered_)) followedOffered_ = nullptr;
      if (Is(sender, followedRoot_)) followedRoot_ = nullptr;
      dying_ = &sender;
      ResolveSlots();
      dying_ = nullptr;
      break;
  }
}
