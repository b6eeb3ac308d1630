#include "DRX.UI.Accessibility.h"

#include <windows.h>

#include <oleacc.h>

#include <atomic>
#include <optional>
#include <variant>

namespace {

// Spelled out: MinGW's import library may resolve IID_IAccessible to an
// import thunk instead of the GUID, depending on link order.
constexpr GUID kIidIAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
constexpr GUID kIidIDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidIUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

BSTR ToBstr(const UString& text) {
  return text.empty() ? nullptr : SysAllocStringLen(W(text), static_cast<UINT>(text.size()));
}

TRect ScreenRectOfWindow(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

TRect ClientToScreenRect(HWND window, const TRect& rect) {
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  TRect result = rect;
  result.Offset(origin.x, origin.y);
  return result;
}

// A child of the object: a child window (a full object of its own) or a
// windowless part (a simple element, addressed by its index).
using TChild = std::variant<HWND, size_t>;

// Child windows and parts in reading order; a part is known by its index in
// `parts`, so a part number maps back to the item.
std::vector<TChild> ChildrenInReadingOrder(HWND window, const std::vector<TDRXAccessibleItem>& parts) {
  std::vector<TChild> children;
  std::vector<TRect> places;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    children.emplace_back(child);
    places.push_back({rect.left, rect.top, rect.right, rect.bottom});
  }
  for (size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].State & DRXAccessibleState::Invisible) continue;
    children.emplace_back(i);
    places.push_back(parts[i].Bounds);
  }
  std::vector<TChild> ordered;
  ordered.reserve(children.size());
  for (size_t index : AccessibleReadingOrder(places)) ordered.push_back(children[index]);
  return ordered;
}

}  // namespace

class TDRXAccessibleObject final : public IAccessible {
 public:
  TDRXAccessibleObject(HWND window, IDRXAccessibleSource* source) : window_(window), source_(source) {}

  void Detach() { source_ = nullptr; }
  HWND Window() const { return window_; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualGUID(iid, kIidIUnknown) || IsEqualGUID(iid, kIidIDispatch) || IsEqualGUID(iid, kIidIAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: readers use the IAccessible methods directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    if (!source_) return RPC_E_DISCONNECTED;
    return AccessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_WINDOW), kIidIDispatch,
                                      reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    if (!source_) return RPC_E_DISCONNECTED;
    *count = static_cast<long>(Children().size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!source_) return RPC_E_DISCONNECTED;
    auto found = ChildOf(child);
    if (!found) return E_INVALIDARG;
    if (auto* window = std::get_if<HWND>(&*found)) return ObjectOfWindow(*window, object);
    return S_FALSE;  // a simple element: asked through this object
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return Text(child, name, [](const TDRXAccessibleItem& item) { return item.Name; });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return Text(child, value, [](const TDRXAccessibleItem& item) { return item.Value; });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return Text(child, description, [](const TDRXAccessibleItem& item) { return item.Description; });
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return Text(child, shortcut, [](const TDRXAccessibleItem& item) { return item.Shortcut; });
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return Text(child, action, [](const TDRXAccessibleItem& item) { return item.DefaultAction; });
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
    if (!help) return E_POINTER;
    *help = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return Number(child, role, [](const TDRXAccessibleItem& item) { return static_cast<long>(item.Role); });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return Number(child, state, [](const TDRXAccessibleItem& item) { return static_cast<long>(item.State); });
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    VariantInit(focus);
    if (!source_) return RPC_E_DISCONNECTED;
    HWND focused = GetFocus();
    if (focused == window_) {
      focus->vt = VT_I4;
      focus->lVal = CHILDID_SELF;
      return S_OK;
    }
    if (!focused || !IsChild(window_, focused)) return S_FALSE;
    IDispatch* object = nullptr;
    if (FAILED(ObjectOfWindow(focused, &object))) return S_FALSE;
    focus->vt = VT_DISPATCH;
    focus->pdispVal = object;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    VariantInit(selection);
    return source_ ? S_FALSE : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    if (!source_) return RPC_E_DISCONNECTED;
    if (!IsSelf(child) || !(flags & SELFLAG_TAKEFOCUS)) return E_INVALIDARG;
    SetFocus(window_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    if (!source_) return RPC_E_DISCONNECTED;
    auto rect = ScreenRectOf(child);
    if (!rect) return E_INVALIDARG;
    *left = rect->Left;
    *top = rect->Top;
    *width = rect->Width();
    *height = rect->Height();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (!source_) return RPC_E_DISCONNECTED;
    long part = IsSelf(child) ? 0 : PartNumberOf(child);
    if (part < 0) return E_INVALIDARG;
    PostMessageW(window_, AccessibleDefaultActionMessage(), static_cast<WPARAM>(part), 0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  static bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

  std::vector<TChild> Children() const { return ChildrenInReadingOrder(window_, source_->AccessibleParts()); }

  std::optional<TChild> ChildOf(const VARIANT& child) const {
    if (child.vt != VT_I4 || child.lVal < 1) return std::nullopt;
    auto children = Children();
    if (static_cast<size_t>(child.lVal) > children.size()) return std::nullopt;
    return children[static_cast<size_t>(child.lVal) - 1];
  }

  // The 1-based number of a part for the source, or -1 for anything else.
  long PartNumberOf(const VARIANT& child) const {
    auto found = ChildOf(child);
    if (!found) return -1;
    auto* part = std::get_if<size_t>(&*found);
    return part ? static_cast<long>(*part) + 1 : -1;
  }

  // The item of the object itself, with the window's own state added.
  TDRXAccessibleItem SelfItem() const {
    TDRXAccessibleItem item = source_->AccessibleSelf();
    if (!IsWindowEnabled(window_)) item.State |= DRXAccessibleState::Unavailable;
    if (!IsWindowVisible(window_)) item.State |= DRXAccessibleState::Invisible;
    if (GetFocus() == window_) item.State |= DRXAccessibleState::Focused;
    return item;
  }

  // The item a VARIANT names when it is this object or one of its parts.
  std::optional<TDRXAccessibleItem> ItemOf(const VARIANT& child) const {
    if (IsSelf(child)) return SelfItem();
    long part = PartNumberOf(child);
    if (part < 1) return std::nullopt;
    auto parts = source_->AccessibleParts();
    return parts[static_cast<size_t>(part) - 1];
  }

  std::optional<TRect> ScreenRectOf(const VARIANT& child) const {
    if (IsSelf(child)) return ScreenRectOfWindow(window_);
    auto found = ChildOf(child);
    if (!found) return std::nullopt;
    if (auto* window = std::get_if<HWND>(&*found)) return ScreenRectOfWindow(*window);
    auto item = ItemOf(child);
    return ClientToScreenRect(window_, item->Bounds);
  }

  static HRESULT ObjectOfWindow(HWND window, IDispatch** object) {
    return AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIidIDispatch,
                                      reinterpret_cast<void**>(object));
  }

  template <typename F>
  HRESULT Text(const VARIANT& child, BSTR* out, F field) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!source_) return RPC_E_DISCONNECTED;
    auto item = ItemOf(child);
    if (!item) return E_INVALIDARG;
    *out = ToBstr(field(*item));
    return *out ? S_OK : S_FALSE;
  }

  template <typename F>
  HRESULT Number(const VARIANT& child, VARIANT* out, F field) const {
    if (!out) return E_POINTER;
    VariantInit(out);
    if (!source_) return RPC_E_DISCONNECTED;
    auto item = ItemOf(child);
    if (!item) return E_INVALIDARG;
    out->vt = VT_I4;
    out->lVal = field(*item);
    return S_OK;
  }

  // A child as a navigation or hit-test answer: a window's object, or the number.
  HRESULT ChildAnswer(const std::vector<TChild>& children, size_t index, VARIANT* out) const {
    if (auto* window = std::get_if<HWND>(&children[index])) {
      IDispatch* object = nullptr;
      HRESULT result = ObjectOfWindow(*window, &object);
      if (FAILED(result)) return result;
      out->vt = VT_DISPATCH;
      out->pdispVal = object;
      return S_OK;
    }
    out->vt = VT_I4;
    out->lVal = static_cast<long>(index) + 1;
    return S_OK;
  }

  HWND window_;
  IDRXAccessibleSource* source_;
  std::atomic<ULONG> references_{1};
};

HRESULT TDRXAccessibleObject::accNavigate(long direction, VARIANT start, VARIANT* end) {
  if (!end) return E_POINTER;
  VariantInit(end);
  if (!source_) return RPC_E_DISCONNECTED;
  auto children = Children();
  if (children.empty() && (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD)) return S_FALSE;
  if (IsSelf(start)) {
    if (direction == NAVDIR_FIRSTCHILD) return ChildAnswer(children, 0, end);
    if (direction == NAVDIR_LASTCHILD) return ChildAnswer(children, children.size() - 1, end);
    return S_FALSE;  // siblings of the window are its parent's business
  }
  if (start.vt != VT_I4 || start.lVal < 1 || static_cast<size_t>(start.lVal) > children.size()) return E_INVALIDARG;
  size_t index = static_cast<size_t>(start.lVal) - 1;
  if (direction == NAVDIR_NEXT && index + 1 < children.size()) return ChildAnswer(children, index + 1, end);
  if (direction == NAVDIR_PREVIOUS && index > 0) return ChildAnswer(children, index - 1, end);
  return S_FALSE;
}

HRESULT TDRXAccessibleObject::accHitTest(long x, long y, VARIANT* hit) {
  if (!hit) return E_POINTER;
  VariantInit(hit);
  if (!source_) return RPC_E_DISCONNECTED;
  if (!ScreenRectOfWindow(window_).Contains(x, y)) return S_FALSE;
  auto children = Children();
  for (size_t i = 0; i < children.size(); ++i) {
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = static_cast<long>(i) + 1;
    auto rect = ScreenRectOf(child);
    if (rect && rect->Contains(x, y)) return ChildAnswer(children, i, hit);
  }
  hit->vt = VT_I4;
  hit->lVal = CHILDID_SELF;
  return S_OK;
}

TDRXAccessibleWindow::TDRXAccessibleWindow(IDRXAccessibleSource& source) : source_(source) {}

TDRXAccessibleWindow::~TDRXAccessibleWindow() { Detach(); }

void TDRXAccessibleWindow::Detach() {
  if (!object_) return;
  object_->Detach();
  CoDisconnectObject(object_, 0);
  object_->Release();
  object_ = nullptr;
}

bool TDRXAccessibleWindow::HandleMessage(HWND window, uint32_t message, uintptr_t wParam, intptr_t lParam,
                                         intptr_t& result) {
  if (message == WM_GETOBJECT) {
    // The id arrives as an unsigned 32-bit value: compare it as a LONG, or
    // OBJID_CLIENT never matches on 64-bit.
    if (static_cast<LONG>(lParam) != OBJID_CLIENT) return false;
    if (!object_) object_ = new TDRXAccessibleObject(window, &source_);
    result = LresultFromObject(kIidIAccessible, wParam, object_);
    return true;
  }
  if (message == AccessibleDefaultActionMessage()) {
    source_.AccessibleDoDefaultAction(static_cast<int>(wParam));
    result = 0;
    return true;
  }
  if (message == WM_DESTROY) Detach();
  return false;
}

int32_t AccessibleChildIdOfPart(HWND window, const std::vector<TDRXAccessibleItem>& parts, size_t part) {
  auto children = ChildrenInReadingOrder(window, parts);
  for (size_t i = 0; i < children.size(); ++i) {
    auto* index = std::get_if<size_t>(&children[i]);
    if (index && *index == part) return static_cast<int32_t>(i) + 1;
  }
  return CHILDID_SELF;
}

uint32_t AccessibleDefaultActionMessage() {
  static const UINT message = RegisterWindowMessageW(L"DRXAccessibleDefaultAction");
  return message;
}

void NotifyAccessibleEvent(HWND window, uint32_t event, int32_t child) {
  NotifyWinEvent(event, window, OBJID_CLIENT, child);
}
