// A failure the host reports to its caller (a script line, the command line)
// instead of to the library's message sink.
#pragma once

#include <stdexcept>
#include <string>

namespace grhost {

class HostError : public std::runtime_error {
 public:
  explicit HostError(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace grhost
