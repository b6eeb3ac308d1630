#pragma once
// Skin resources: named colours, fonts, margins, integers and textures that the
// skinned controls take their looks from. A resource is addressed by a dotted
// identifier ("Common.Colors.Text"); a resource whose ID names another resource
// of its own class takes its values from that master, so a skin defines a few
// base values and derives the rest. The kinds are in DRX.UI.Resources.Values,
// .Font and .Texture; collections, the root collection and styles in
// DRX.UI.Resources.Collections, .Root and .Styles.
//
// Resources, styles and collections belong to the interface thread.

#include <cstdint>
#include <memory>
#include <vector>

#include "DRX.Classes.ComponentStream.h"
#include "DRX.Strings.h"

// The three-valued switch of the skins; in the stream form False and True are
// the Boolean value types, Default the identifier "Default".
enum class TDRXBoolean : uint8_t { Default, False, True };

TDRXBoolean ReadDRXBoolean(const TDRXStreamValue& value);
TDRXStreamValue DRXBooleanValue(TDRXBoolean value);

enum TDRXResourceNotification : uint8_t { rnBeginUpdate, rnEndUpdate, rnRemoving, rnChanged };

class TDRXResourceNotifier;

class IDRXResourceListener {
 public:
  virtual void ResourceNotify(TDRXResourceNotifier& sender, TDRXResourceNotification notification) = 0;

 protected:
  ~IDRXResourceListener() = default;
};

// The listener list and update counter of resources and collections. Listeners
// may add and remove listeners (themselves included) while they are told; a
// listener removed during a notification is not told any more.
class TDRXResourceNotifier {
 public:
  TDRXResourceNotifier() = default;
  virtual ~TDRXResourceNotifier() = default;
  TDRXResourceNotifier(const TDRXResourceNotifier&) = delete;
  TDRXResourceNotifier& operator=(const TDRXResourceNotifier&) = delete;

  void AddListener(IDRXResourceListener* listener);  // once; a second add does nothing
  void RemoveListener(IDRXResourceListener* listener);
  bool HasListener(const IDRXResourceListener* listener) const;

  // The outermost pair tells rnBeginUpdate and rnEndUpdate; a change made in
  // between is told once, just before rnEndUpdate, so that listeners which
  // follow the update bracket see it inside.
  void BeginUpdate();
  void EndUpdate();
  bool IsUpdating() const { return updateCount_ > 0; }

 protected:
  void Notify(TDRXResourceNotification notification);
  // Tells rnChanged now, or after the update when one is open.
  void Changed();
  // What a change does once it is due; the default tells the listeners.
  virtual void DoChanged() { Notify(rnChanged); }

 private:
  std::vector<IDRXResourceListener*> listeners_;
  int updateCount_ = 0;
  bool changedInUpdate_ = false;
};

class TDRXResource;
class IDRXResourceOwner;

// A class reference of the resource kinds: its name, its parent and how to
// create one ("create through the class").
struct TDRXResourceClass {
  UStringView Name;
  const TDRXResourceClass* Parent;
  std::unique_ptr<TDRXResource> (*Create)(IDRXResourceOwner* owner, UStringView defaultID);

  bool InheritsFrom(const TDRXResourceClass& ancestor) const;
};

// Whoever creates resources resolves identifiers for them: a collection item
// asks its collection, a style its collections in turn.
class IDRXResourceOwner {
 public:
  // The resource of that class (or a subclass) with the identifier, other than
  // the requester; none when there is none.
  virtual TDRXResource* GetResource(UStringView id, const TDRXResourceClass& resourceClass,
                                    const TDRXResource* requester) = 0;

 protected:
  ~IDRXResourceOwner() = default;
};

class TDRXResource : public TDRXResourceNotifier, protected IDRXResourceListener {
 public:
  static const TDRXResourceClass ClassInfo;

  TDRXResource(IDRXResourceOwner* owner, UStringView defaultID);
  // Tells rnRemoving first: resources that take their values from this one look
  // for another master.
  ~TDRXResource() override;

  virtual const TDRXResourceClass& ClassType() const = 0;

  const UString& ID() const { return id_; }
  void SetID(UStringView id);
  const UString& DefaultID() const { return defaultID_; }
  TDRXResource* Master() const { return master_; }
  IDRXResourceOwner* Owner() const { return owner_; }
  int TargetDPI() const { return targetDPI_; }
  void SetTargetDPI(int dpi);

  // Whether the resource's own values count (and are written); true only
  // without a master unless a kind says otherwise.
  virtual bool IsValueStored() const { return master_ == nullptr; }

  // Asks the owner again for the resource that ID names. A candidate whose own
  // chain of masters leads back to this resource is refused.
  virtual void ResolveMaster();

  // The stream form, by property name without the "Resource." prefix. Reading
  // returns false for a name that is not a property of this kind; a value of
  // the wrong type raises the stream's invalid-property-value error.
  bool ReadProperty(UStringView name, const TDRXStreamValue& value);
  // The properties worth storing, in published order.
  virtual void WriteProperties(std::vector<TDRXStreamProperty>& properties) const = 0;

 protected:
  virtual bool ReadValue(UStringView name, const TDRXStreamValue& value) = 0;
  void WriteID(std::vector<TDRXStreamProperty>& properties) const;
  void ResourceNotify(TDRXResourceNotifier& sender, TDRXResourceNotification notification) override;
  void SetMaster(TDRXResource* master);

  // Stores a different value and tells of the change.
  template <typename T>
  void Update(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Changed();
  }

  // The master as the kind's own class (resolution guarantees it).
  template <typename T>
  const T* MasterAs() const {
    return static_cast<const T*>(master_);
  }

 private:
  bool LeadsTo(const TDRXResource* candidate) const;

  IDRXResourceOwner* owner_;
  UString defaultID_;
  UString id_;
  TDRXResource* master_ = nullptr;
  int targetDPI_ = 96;
};

// The class references' Create: a new resource of the kind, its master resolved.
template <typename T>
std::unique_ptr<TDRXResource> CreateResourceOf(IDRXResourceOwner* owner, UStringView defaultID) {
  auto resource = std::make_unique<T>(owner, defaultID);
  resource->ResolveMaster();
  return resource;
}
