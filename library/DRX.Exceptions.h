#pragma once
// The exception hierarchy: every failure the program reports is an Exception
// carrying a UTF-16 message; later units derive their own classes from these.

#include <cstdint>
#include <exception>
#include <string>

#include "DRX.Strings.h"

class Exception : public std::exception {
 public:
  explicit Exception(UString message);
  const UString& Message() const { return message_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  UString message_;
  std::string utf8_;
};

// An operating-system failure: "System Error.  Code: %d.\r\n%s%s" filled with the
// code, the system's text for it and an additional text.
class EOSError : public Exception {
 public:
  EOSError(uint32_t errorCode, UStringView additionalText = {});
  explicit EOSError(UString message, uint32_t errorCode = 0) : Exception(std::move(message)), errorCode_(errorCode) {}
  uint32_t ErrorCode() const { return errorCode_; }

 private:
  uint32_t errorCode_;
};

class EInvalidOperation : public Exception { using Exception::Exception; };
class EConvertError : public Exception { using Exception::Exception; };
class EInvalidCast : public Exception { using Exception::Exception; };
class EStreamError : public Exception { using Exception::Exception; };
class EReadError : public EStreamError { using EStreamError::EStreamError; };
class EWriteError : public EStreamError { using EStreamError::EStreamError; };
class EFOpenError : public EStreamError { using EStreamError::EStreamError; };
class EFCreateError : public EStreamError { using EStreamError::EStreamError; };

// Raises EOSError for the last error of the calling thread (or the given code).
[[noreturn]] void RaiseLastOSError(UStringView additionalText = {});
[[noreturn]] void RaiseOSError(uint32_t errorCode, UStringView additionalText = {});
