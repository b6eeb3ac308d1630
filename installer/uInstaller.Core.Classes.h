#pragma once
// Class references: how the product plugs into the core. A class reference
// names a class and creates instances of it through its parameterless
// constructor, so lists of classes (the actions of a run, the pages of the
// wizard) are plain data that can be inspected without creating anything.

#include <memory>

#include "DRX.Strings.h"

template <class Base>
struct TClassRef {
  UStringView ClassName;
  std::unique_ptr<Base> (*Create)();
};

// The one reference of class T, which declares `static constexpr UStringView ClassName`.
template <class T, class Base>
const TClassRef<Base>* ClassRefOf() {
  static const TClassRef<Base> ref{T::ClassName, []() -> std::unique_ptr<Base> { return std::make_unique<T>(); }};
  return &ref;
}
