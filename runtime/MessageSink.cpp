#include "runtime/MessageSink.h"

#include <cstdio>

#include "platform/host.h"

namespace gr {
namespace {

struct SinkState {
  GrMessageSink sink = nullptr;
  void* context = nullptr;
  bool echo = true;
  std::vector<std::string> recorded;
};

SinkState& state() {
  static SinkState s;
  return s;
}

void defaultSink(const char* kind, const char* text, void*) {
  state().recorded.emplace_back(text);
  if (state().echo) std::fprintf(stderr, "[%s] %s\n", kind, text);
}

}  // namespace

void deliverMessage(const char* kind, const std::string& text) {
  SinkState& s = state();
  if (s.sink)
    s.sink(kind, text.c_str(), s.context);
  else
    defaultSink(kind, text.c_str(), nullptr);
}

void showMessageBox(const std::string& text) {
  deliverMessage("message", text);
}

const std::vector<std::string>& recordedMessages() {
  return state().recorded;
}
void clearRecordedMessages() {
  state().recorded.clear();
}
void setDefaultSinkEcho(bool echo) {
  state().echo = echo;
}

}  // namespace gr

extern "C" {

GR_API void GrSetMessageSink(GrMessageSink sink, void* context) {
  gr::state().sink = sink;
  gr::state().context = context;
}

GR_API void GrShowMessageBox(const char* text) {
  gr::showMessageBox(text ? text : "");
}
}
