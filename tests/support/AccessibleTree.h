#pragma once
// What a screen reader sees of a window, read the way NVDA, JAWS and Narrator
// read it: AccessibleObjectFromWindow on the window, then the children of each
// object (simple elements and objects of their own). Tests find controls in
// the tree by role and name, check their state, run their default action and
// print the tree.

#ifdef _WIN32
#include <windows.h>
#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

#include "DRX.Strings.h"

struct TAccessibleNode {
  long Role = 0;
  UString Name;
  UString Value;
  UString Description;
  UString Shortcut;
  UString DefaultAction;
  long State = 0;
  std::vector<TAccessibleNode> Children;

  // The object the node was read from and the child id within it
  // (CHILDID_SELF for an object of its own).
  std::shared_ptr<IAccessible> Object;
  long ChildId = CHILDID_SELF;

  bool Has(long state) const { return (State & state) == state; }
  // Runs the default action (as a reader's "activate"); true when accepted.
  bool DoDefaultAction() const;
};

// A child id as the IAccessible methods take it (CHILDID_SELF for the object).
VARIANT AccessibleChildId(long id);
// The client object of a window; empty (Role 0) when the window gives none.
TAccessibleNode ReadAccessibleTree(HWND window, int depth = 8);
// The first node, depth first, of that role whose name is `name` (any name
// when empty); null when there is none.
const TAccessibleNode* FindAccessible(const TAccessibleNode& root, long role, UStringView name = {});
// One line per node, indented by depth: role, quoted name, value, shortcut
// and state words — the form the closing notes and failures show.
std::string DumpAccessibleTree(const TAccessibleNode& root);
// "push button", "check box", ... as Windows names the roles.
std::string AccessibleRoleText(long role);
#endif
