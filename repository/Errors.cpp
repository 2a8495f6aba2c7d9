#include "repository/Errors.h"

namespace rep {

namespace {
std::string& storedError() {
  static std::string message;
  return message;
}
}  // namespace

void setLastError(std::string message) {
  storedError() = std::move(message);
}

const std::string& lastError() {
  return storedError();
}

}  // namespace rep
