#include "DRX.UI.Resources.h"

#include <algorithm>

namespace {

// Chains of masters are short in any skin; a longer one is taken for a loop.
constexpr int kMaxMasterChain = 256;

}  // namespace

TDRXBoolean ReadDRXBoolean(const TDRXStreamValue& value) {
  const UString ident = value.AsIdent();
  if (ident == u"Default") return TDRXBoolean::Default;
  if (ident == u"False") return TDRXBoolean::False;
  if (ident == u"True") return TDRXBoolean::True;
  RaiseInvalidPropertyValue();
}

TDRXStreamValue DRXBooleanValue(TDRXBoolean value) {
  switch (value) {
    case TDRXBoolean::False: return TDRXStreamValue::FromBoolean(false);
    case TDRXBoolean::True: return TDRXStreamValue::FromBoolean(true);
    default: return TDRXStreamValue::FromIdent(u"Default");
  }
}

// --- TDRXResourceNotifier ---

void TDRXResourceNotifier::AddListener(IDRXResourceListener* listener) {
  if (listener && !HasListener(listener)) listeners_.push_back(listener);
}

void TDRXResourceNotifier::RemoveListener(IDRXResourceListener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

bool TDRXResourceNotifier::HasListener(const IDRXResourceListener* listener) const {
  return std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end();
}

void TDRXResourceNotifier::BeginUpdate() {
  if (updateCount_++ == 0) Notify(rnBeginUpdate);
}

void TDRXResourceNotifier::EndUpdate() {
  if (updateCount_ == 0 || --updateCount_ > 0) return;
  if (changedInUpdate_) {
    changedInUpdate_ = false;
    DoChanged();
  }
  Notify(rnEndUpdate);
}

void TDRXResourceNotifier::Notify(TDRXResourceNotification notification) {
  const std::vector<IDRXResourceListener*> snapshot = listeners_;
  for (IDRXResourceListener* listener : snapshot)
    if (HasListener(listener)) listener->ResourceNotify(*this, notification);
}

void TDRXResourceNotifier::Changed() {
  if (IsUpdating())
    changedInUpdate_ = true;
  else
    DoChanged();
}

// --- TDRXResourceClass ---

bool TDRXResourceClass::InheritsFrom(const TDRXResourceClass& ancestor) const {
  for (const TDRXResourceClass* c = this; c; c = c->Parent)
    if (c == &ancestor) return true;
  return false;
}

// --- TDRXResource ---

const TDRXResourceClass TDRXResource::ClassInfo = {u"TDRXResource", nullptr, nullptr};

TDRXResource::TDRXResource(IDRXResourceOwner* owner, UStringView defaultID)
    : owner_(owner), defaultID_(defaultID), id_(defaultID) {}

TDRXResource::~TDRXResource() {
  Notify(rnRemoving);
  if (master_) master_->RemoveListener(this);
}

void TDRXResource::SetID(UStringView id) {
  if (id_ == id) return;
  id_ = UString(id);
  ResolveMaster();
}

void TDRXResource::SetTargetDPI(int dpi) {
  if (targetDPI_ == dpi) return;
  targetDPI_ = dpi;
  Changed();
}

void TDRXResource::ResolveMaster() {
  TDRXResource* candidate = nullptr;
  if (!id_.empty() && owner_) {
    candidate = owner_->GetResource(id_, ClassType(), this);
    if (candidate && candidate->LeadsTo(this)) candidate = nullptr;
  }
  SetMaster(candidate);
}

bool TDRXResource::LeadsTo(const TDRXResource* target) const {
  int length = 0;
  for (const TDRXResource* r = this; r; r = r->master_)
    if (r == target || ++length > kMaxMasterChain) return true;
  return false;
}

void TDRXResource::SetMaster(TDRXResource* master) {
  if (master_ == master) return;
  if (master_) master_->RemoveListener(this);
  master_ = master;
  if (master_) master_->AddListener(this);
  Changed();
}

void TDRXResource::ResourceNotify(TDRXResourceNotifier& sender, TDRXResourceNotification notification) {
  if (&sender != master_) return;
  if (notification == rnChanged) {
    Changed();
  } else if (notification == rnRemoving) {
    master_->RemoveListener(this);
    master_ = nullptr;
    ResolveMaster();
    if (!master_) Changed();
  }
}

bool TDRXResource::ReadProperty(UStringView name, const TDRXStreamValue& value) {
  if (name == u"ID") {
    SetID(value.AsString());
    return true;
  }
  return ReadValue(name, value);
}

void TDRXResource::WriteID(std::vector<TDRXStreamProperty>& properties) const {
  if (id_ != defaultID_) properties.push_back({u"ID", TDRXStreamValue::FromString(id_)});
}
