#pragma once
// Format with the Delphi rules: "%" [index ":"] ["-"] [width] ["." precision] type,
// types d, u, x (integers) and s (text), "%%" for a percent sign; "*" takes a width
// or precision from the arguments. A pattern that does not fit its arguments
// raises EConvertError (language texts are used as patterns, so a translator's
// mistake must end in a message, not in undefined behaviour).

#include <cstdint>
#include <initializer_list>
#include <type_traits>
#include <variant>

#include "DRX.Strings.h"

class TFormatArg {
 public:
  template <typename T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
  TFormatArg(T value) : value_(static_cast<int64_t>(value)) {}
  TFormatArg(const UString& value) : value_(UStringView(value)) {}
  TFormatArg(UStringView value) : value_(value) {}
  TFormatArg(const char16_t* value) : value_(UStringView(value)) {}

  bool IsInteger() const { return std::holds_alternative<int64_t>(value_); }
  int64_t Integer() const { return std::get<int64_t>(value_); }
  UStringView Text() const { return std::get<UStringView>(value_); }

 private:
  std::variant<int64_t, UStringView> value_;
};

UString Format(UStringView pattern, std::initializer_list<TFormatArg> args);
