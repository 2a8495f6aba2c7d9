// Internal invariants of the runtime. A broken one ends the running
// transformation with an exception its caller reports; the process and the
// committed data stay intact.
#pragma once

#include <stdexcept>
#include <string>

class L0_InternalError : public std::runtime_error {
 public:
  L0_InternalError(const std::string& condition, const std::string& sourceFile)
      : std::runtime_error("Internal error: " + condition + " (" + sourceFile + ")"),
        condition_(condition) {}
  const std::string& condition() const { return condition_; }

 private:
  std::string condition_;
};

[[noreturn]] inline void internalError(const std::string& condition, const char* sourceFile) {
  throw L0_InternalError(condition, sourceFile);
}
