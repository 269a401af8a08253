// Exceptions raised by the platform layer.
#pragma once

#include <stdexcept>
#include <string>

namespace Platform {

// Input/output failure; carries the operating system's error number.
class EInOutError : public std::runtime_error {
 public:
  EInOutError(const std::string& message, int errorCode)
      : std::runtime_error(message), ErrorCode(errorCode) {}
  int ErrorCode;
};

// Raised when one persistent object cannot be assigned to another, and for
// text that does not convert to the requested type.
class EConvertError : public std::runtime_error {
 public:
  explicit EConvertError(const std::string& message) : std::runtime_error(message) {}
};

// Error numbers of stream failures that have no operating-system cause.
constexpr int kStreamReadError = 30;
constexpr int kStreamWriteError = 29;

// Builds an EInOutError for an operation on a file from errno.
[[noreturn]] void RaiseInOutError(const std::string& operation, const std::string& fileName,
                                  int errorCode);

}  // namespace Platform
