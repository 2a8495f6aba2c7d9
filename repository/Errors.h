// The message of the last refused operation, shared by every layer of the
// store so that RepLastError can report it after the store is gone.
#ifndef GR_REPOSITORY_ERRORS_H
#define GR_REPOSITORY_ERRORS_H

#include <string>

namespace rep {

void setLastError(std::string message);
const std::string& lastError();

// Records MESSAGE and yields the refusal value of the caller's result type.
template <class T = int>
T refuse(std::string message) {
  setLastError(std::move(message));
  return T{};
}

}  // namespace rep

#endif
