#include "AccessibleTree.h"

namespace {

// Spelled out: MinGW's import library may resolve IID_IAccessible to a thunk.
constexpr GUID kIidIAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

std::shared_ptr<IAccessible> Own(IAccessible* object) {
  return std::shared_ptr<IAccessible>(object, [](IAccessible* o) { o->Release(); });
}

template <typename Getter>
UString TextOf(IAccessible* object, long id, Getter getter) {
  BSTR text = nullptr;
  if (FAILED((object->*getter)(AccessibleChildId(id), &text)) || !text) return {};
  UString result = FromW(text, SysStringLen(text));
  SysFreeString(text);
  return result;
}

long NumberOf(IAccessible* object, long id, HRESULT (STDMETHODCALLTYPE IAccessible::*getter)(VARIANT, VARIANT*)) {
  VARIANT answer;
  VariantInit(&answer);
  if (FAILED((object->*getter)(AccessibleChildId(id), &answer)) || answer.vt != VT_I4) return 0;
  return answer.lVal;
}

TAccessibleNode ReadNode(const std::shared_ptr<IAccessible>& object, long id, int depth) {
  TAccessibleNode node;
  IAccessible* o = object.get();
  node.Object = object;
  node.ChildId = id;
  node.Role = NumberOf(o, id, &IAccessible::get_accRole);
  node.State = NumberOf(o, id, &IAccessible::get_accState);
  node.Name = TextOf(o, id, &IAccessible::get_accName);
  node.Value = TextOf(o, id, &IAccessible::get_accValue);
  node.Description = TextOf(o, id, &IAccessible::get_accDescription);
  node.Shortcut = TextOf(o, id, &IAccessible::get_accKeyboardShortcut);
  node.DefaultAction = TextOf(o, id, &IAccessible::get_accDefaultAction);
  if (id != CHILDID_SELF || depth <= 0) return node;
  long count = 0;
  if (FAILED(o->get_accChildCount(&count)) || count <= 0) return node;
  std::vector<VARIANT> children(static_cast<size_t>(count));
  long obtained = 0;
  if (FAILED(AccessibleChildren(o, 0, count, children.data(), &obtained))) return node;
  for (long i = 0; i < obtained; ++i) {
    VARIANT& child = children[static_cast<size_t>(i)];
    if (child.vt == VT_I4) {
      node.Children.push_back(ReadNode(object, child.lVal, 0));
    } else if (child.vt == VT_DISPATCH && child.pdispVal) {
      IAccessible* inner = nullptr;
      if (SUCCEEDED(child.pdispVal->QueryInterface(kIidIAccessible, reinterpret_cast<void**>(&inner))))
        node.Children.push_back(ReadNode(Own(inner), CHILDID_SELF, depth - 1));
    }
    VariantClear(&child);
  }
  return node;
}

void AppendStates(std::string& line, long state) {
  const std::pair<long, const char*> words[] = {
      {STATE_SYSTEM_UNAVAILABLE, "unavailable"}, {STATE_SYSTEM_FOCUSED, "focused"},
      {STATE_SYSTEM_CHECKED, "checked"},         {STATE_SYSTEM_MIXED, "mixed"},
      {STATE_SYSTEM_READONLY, "read-only"},      {STATE_SYSTEM_DEFAULT, "default"},
      {STATE_SYSTEM_INVISIBLE, "invisible"},     {STATE_SYSTEM_FOCUSABLE, "focusable"},
      {STATE_SYSTEM_LINKED, "linked"},           {STATE_SYSTEM_SELECTED, "selected"},
  };
  std::string states;
  for (const auto& [bit, word] : words) {
    if (!(state & bit)) continue;
    if (!states.empty()) states += ", ";
    states += word;
  }
  if (!states.empty()) line += " [" + states + "]";
}

void Dump(const TAccessibleNode& node, int depth, std::string& out) {
  std::string line(static_cast<size_t>(depth) * 2, ' ');
  // Appended piece by piece: GCC 12 warns falsely on "literal" + string here.
  auto append = [&line](std::initializer_list<std::string_view> pieces) {
    for (std::string_view piece : pieces) line.append(piece);
  };
  append({AccessibleRoleText(node.Role), " \"", Utf16ToUtf8(node.Name), "\""});
  if (!node.Value.empty()) append({" = \"", Utf16ToUtf8(node.Value), "\""});
  if (!node.Shortcut.empty()) append({" ", Utf16ToUtf8(node.Shortcut)});
  if (!node.DefaultAction.empty()) append({" (", Utf16ToUtf8(node.DefaultAction), ")"});
  AppendStates(line, node.State);
  out += line + "\n";
  for (const TAccessibleNode& child : node.Children) Dump(child, depth + 1, out);
}

}  // namespace

VARIANT AccessibleChildId(long id) {
  VARIANT child;
  VariantInit(&child);
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}

bool TAccessibleNode::DoDefaultAction() const {
  return Object && SUCCEEDED(Object->accDoDefaultAction(AccessibleChildId(ChildId)));
}

TAccessibleNode ReadAccessibleTree(HWND window, int depth) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIidIAccessible,
                                        reinterpret_cast<void**>(&object))) ||
      !object)
    return {};
  return ReadNode(Own(object), CHILDID_SELF, depth);
}

const TAccessibleNode* FindAccessible(const TAccessibleNode& root, long role, UStringView name) {
  if (root.Role == role && (name.empty() || root.Name == name)) return &root;
  for (const TAccessibleNode& child : root.Children)
    if (const TAccessibleNode* found = FindAccessible(child, role, name)) return found;
  return nullptr;
}

std::string DumpAccessibleTree(const TAccessibleNode& root) {
  std::string out;
  Dump(root, 0, out);
  return out;
}

std::string AccessibleRoleText(long role) {
  // Windows' own words; Wine's GetRoleText says some of them differently.
  const std::pair<long, const char*> names[] = {
      {ROLE_SYSTEM_CLIENT, "client"},           {ROLE_SYSTEM_WINDOW, "window"},
      {ROLE_SYSTEM_DIALOG, "dialog"},           {ROLE_SYSTEM_PANE, "pane"},
      {ROLE_SYSTEM_STATICTEXT, "text"},         {ROLE_SYSTEM_TEXT, "editable text"},
      {ROLE_SYSTEM_PUSHBUTTON, "push button"},  {ROLE_SYSTEM_CHECKBUTTON, "check box"},
      {ROLE_SYSTEM_RADIOBUTTON, "radio button"}, {ROLE_SYSTEM_COMBOBOX, "combo box"},
      {ROLE_SYSTEM_LIST, "list"},               {ROLE_SYSTEM_LISTITEM, "list item"},
      {ROLE_SYSTEM_OUTLINE, "outline"},         {ROLE_SYSTEM_OUTLINEITEM, "outline item"},
      {ROLE_SYSTEM_PROGRESSBAR, "progress bar"}, {ROLE_SYSTEM_LINK, "link"},
      {ROLE_SYSTEM_GRAPHIC, "graphic"},         {ROLE_SYSTEM_SCROLLBAR, "scroll bar"},
  };
  for (const auto& [number, name] : names)
    if (number == role) return name;
  return "role " + std::to_string(role);
}
