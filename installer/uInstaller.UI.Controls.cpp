#include "uInstaller.UI.Controls.h"

namespace {

// value ÷ 100 rounded to nearest, halves to even; value ≥ 0.
int64_t HundredthsRoundedHalfEven(int64_t value) {
  const int64_t whole = value / 100;
  const int64_t rest = value % 100;
  if (rest > 50 || (rest == 50 && whole % 2 != 0)) return whole + 1;
  return whole;
}

}  // namespace

int32_t RichViewerZoomNumerator(int32_t percent) {
  if (percent < 0) return 0;
  // In hundredths, exactly: 64 p above 100 %, 63 p + 100 otherwise.
  const int64_t hundredths = percent > 100 ? int64_t{64} * percent : int64_t{63} * percent + 100;
  const int64_t numerator = HundredthsRoundedHalfEven(hundredths);
  return numerator >= 2 && numerator <= 4095 ? static_cast<int32_t>(numerator) : 0;
}

UString LinkShellTarget(const UString& text, bool isExistingFolder) {
  if (text.empty()) return {};
  if (text.find(u"//") != UString::npos || isExistingFolder) return text;
  return u"http://" + text;
}
