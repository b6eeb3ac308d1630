#include "DRX.Exceptions.h"

#include "DRX.Format.h"
#include "DRX.Platform.h"

Exception::Exception(UString message) : message_(std::move(message)), utf8_(Utf16ToUtf8(message_)) {}

namespace {
UString OSErrorText(uint32_t errorCode, UStringView additionalText) {
  if (errorCode == 0) return u"A call to an OS function failed" + UString(additionalText);
  return Format(u"System Error.  Code: %d.\r\n%s%s", {errorCode, SysErrorMessage(errorCode), additionalText});
}
}  // namespace

EOSError::EOSError(uint32_t errorCode, UStringView additionalText)
    : Exception(OSErrorText(errorCode, additionalText)), errorCode_(errorCode) {}

void RaiseLastOSError(UStringView additionalText) { throw EOSError(GetLastOSErrorCode(), additionalText); }

void RaiseOSError(uint32_t errorCode, UStringView additionalText) { throw EOSError(errorCode, additionalText); }
