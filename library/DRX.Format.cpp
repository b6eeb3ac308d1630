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
    FormatSpec directive;
    int number = ReadNumber();
    if (pos_ < pattern_.size() && pattern_[pos_] == u':') {  // argument index
      ++pos_;
      argIndex_ = number < 0 ? 0 : static_cast<size_t>(number);
      number = -1;
    }
    if (number < 0) {
      if (pos_ < pattern_.size() && pattern_[pos_] == u'-') {
        directive.leftAlign = true;
        ++pos_;
      }
      number = ReadNumber();
    }
    directive.width = number;
    if (pos_ < pattern_.size() && pattern_[pos_] == u'.') {
      ++pos_;
      directive.precision = ReadNumber();
    }
    if (pos_ >= pattern_.size()) Invalid();
    directive.type = pattern_[pos_++];
    if (directive.type >= u'A' && directive.type <= u'Z') directive.type = static_cast<char16_t>(directive.type + 32);
    return directive;
  }

  void AppendDirective(const FormatSpec& directive) {
    const TFormatArg& arg = NextArg();
    UString text;
    switch (directive.type) {
      case u'd':
      case u'u': text = FormatInteger(arg, directive, 10); break;
      case u'x': text = FormatInteger(arg, directive, 16); break;
      case u's':
        if (arg.IsInteger()) Invalid();
        text = UString(arg.Text());
        if (directive.precision >= 0 && text.size() > static_cast<size_t>(directive.precision)) text.resize(directive.precision);
        break;
      default: Invalid();
    }
    if (directive.width > 0 && text.size() < static_cast<size_t>(directive.width)) {
      const UString pad(directive.width - text.size(), u' ');
      text = directive.leftAlign ? text + pad : pad + text;
    }
    out_.append(text);
  }

  UString FormatInteger(const TFormatArg& arg, const FormatSpec& directive, int base) {
    if (!arg.IsInteger()) Invalid();
    int64_t value = arg.Integer();
    if (directive.type == u'u' || base == 16) value = static_cast<int64_t>(static_cast<uint32_t>(value));
    const bool negative = value < 0;
    uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    UString digits;
    do {
      const int digit = static_cast<int>(magnitude % base);
      digits.insert(digits.begin(), static_cast<char16_t>(digit < 10 ? u'0' + digit : u'A' + digit - 10));
      magnitude /= base;
    } while (magnitude != 0);
    if (directive.precision > 0 && digits.size() < static_cast<size_t>(directive.precision))
      digits.insert(0, directive.precision - digits.size(), u'0');
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
