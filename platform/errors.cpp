#include "platform/errors.h"

#include <cstring>

namespace Platform {

void RaiseInOutError(const std::string& operation, const std::string& fileName, int errorCode) {
  std::string msg = "I/O error " + std::to_string(errorCode) + ": cannot " + operation;
  if (!fileName.empty()) msg += " \"" + fileName + "\"";
  if (errorCode != 0) msg += std::string(" (") + std::strerror(errorCode) + ")";
  throw EInOutError(msg, errorCode);
}

}  // namespace Platform
