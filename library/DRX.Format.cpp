#include "DRX.Format.h"

#include <vector>

#include "DRX.Exceptions.h"

namespace {

struct FormatSpec {
  bool leftAlign = false;
  int width = -1;
  int precision = -1;
  char16_t type = 0;
};

class Formatter {
 public:
  Formatter(UStringView pattern, std::initializer_list<TFormatArg> args) : pattern_(pattern), args_(args) {}

  UString Run() {
    while (pos_ < pattern_.size()) {
      const size_t percent = pattern_.find(u'%', pos_);
      if (percent == UStringView::npos) break;
      out_.append(pattern_.substr(pos_, percent - pos_));
      pos_ = percent + 1;
      if (pos_ < pattern_.size() && pattern_[pos_] == u'%') {
        out_.push_back(u'%');
        ++pos_;
        continue;
      }
      AppendDirective(ParseSpec());
    }
    if (pos_ < pattern_.size()) out_.append(pattern_.substr(pos_));
    return out_;
  }

 private:
  [[noreturn]] void Invalid() const {
    throw EConvertError(u"Format '" + UString(pattern_) + u"' invalid or incompatible with argument");
  }

  const TFormatArg& NextArg() {
    if (argIndex_ >= args_.size()) throw EConvertError(u"No argument for format '" + UString(pattern_) + u"'");
    return args_.begin()[argIndex_++];
  }

  // Reads digits or "*" (an integer argument); -1 when neither is there.
  int ReadNumber() {
    if (pos_ < pattern_.size() && pattern_[pos_] == u'*') {
      ++pos_;
      const TFormatArg& arg = NextArg();
      if (!arg.IsInteger()) Invalid();
      return static_cast<int>(arg.Integer());
    }
    int value = -1;
    while (pos_ < pattern_.size() && pattern_[pos_] >= u'0' && pattern_[pos_] <= u'9') {
      value = (value < 0 ? 0 : value) * 10 + (pattern_[pos_++] - u'0');
      if (value > 1000000) Invalid();
    }
    return value;
  }

  FormatSpec ParseSpec() {
    FormatSpec spec;
    int number = ReadNumber();
    if (pos_ < pattern_.size() && pattern_[pos_] == u':') {  // argument index
      ++pos_;
      argIndex_ = number < 0 ? 0 : static_cast<size_t>(number);
      number = -1;
    }
    if (number < 0) {
      if (pos_ < pattern_.size() && pattern_[pos_] == u'-') {
        spec.leftAlign = true;
        ++pos_;
      }
      number = ReadNumber();
    }
    spec.width = number;
    if (pos_ < pattern_.size() && pattern_[pos_] == u'.') {
      ++pos_;
      spec.precision = ReadNumber();
    }
    if (pos_ >= pattern_.size()) Invalid();
    spec.type = pattern_[pos_++];
    if (spec.type >= u'A' && spec.type <= u'Z') spec.type = static_cast<char16_t>(spec.type + 32);
    return spec;
  }

  void AppendDirective(const FormatSpec& spec) {
    const TFormatArg& arg = NextArg();
    UString text;
    switch (spec.type) {
      case u'd':
      case u'u': text = FormatInteger(arg, spec, 10); break;
      case u'x': text = FormatInteger(arg, spec, 16); break;
      case u's':
        if (arg.IsInteger()) Invalid();
        text = UString(arg.Text());
        if (spec.precision >= 0 && text.size() > static_cast<size_t>(spec.precision)) text.resize(spec.precision);
        break;
      default: Invalid();
    }
    if (spec.width > 0 && text.size() < static_cast<size_t>(spec.width)) {
      const UString pad(spec.width - text.size(), u' ');
      text = spec.leftAlign ? text + pad : pad + text;
    }
    out_.append(text);
  }

  UString FormatInteger(const TFormatArg& arg, const FormatSpec& spec, int base) {
    if (!arg.IsInteger()) Invalid();
    int64_t value = arg.Integer();
    if (spec.type == u'u' || base == 16) value = static_cast<int64_t>(static_cast<uint32_t>(value));
    const bool negative = value < 0;
    uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    UString digits;
    do {
      const int digit = static_cast<int>(magnitude % base);
      digits.insert(digits.begin(), static_cast<char16_t>(digit < 10 ? u'0' + digit : u'A' + digit - 10));
      magnitude /= base;
    } while (magnitude != 0);
    if (spec.precision > 0 && digits.size() < static_cast<size_t>(spec.precision))
      digits.insert(0, spec.precision - digits.size(), u'0');
    return negative ? u"-" + digits : digits;
  }

  UStringView pattern_;
  std::initializer_list<TFormatArg> args_;
  size_t pos_ = 0;
  size_t argIndex_ = 0;
  UString out_;
};

}  // namespace

UString Format(UStringView pattern, std::initializer_list<TFormatArg> args) { return Formatter(pattern, args).Run(); }
