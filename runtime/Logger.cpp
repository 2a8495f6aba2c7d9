#include "runtime/Logger.h"

#include <cstdio>
#include <filesystem>

#include "runtime/MessageSink.h"
#include "runtime/strRoutine.h"

namespace {

const char* const kTraceFileName = "L0_trace.txt";
// Held from a holder that is never destroyed: the library's shut-down frees
// it, and may run after the static destructors (a process that ends with the
// library still loaded), when a static holder would be gone already.
std::unique_ptr<Logger>& loggerSlot() {
  static auto* slot = new std::unique_ptr<Logger>();
  return *slot;
}

}  // namespace

Logger& Logger::instance() {
  auto& slot = loggerSlot();
  if (!slot) slot.reset(new Logger());
  return *slot;
}

void Logger::shutdown() {
  loggerSlot().reset();
}

Logger::Logger() {
  out_.open(kTraceFileName, std::ios::out | std::ios::trunc | std::ios::binary);
  if (!out_) {
    std::error_code ec;
    std::string path = (std::filesystem::current_path(ec) / kTraceFileName).string();
    gr::showMessageBox("Can not open file \"" + path + "\".");
  }
}

void Logger::writeIndentation() {
  for (int i = 0; i < depth_; ++i) out_ << "   ";
}

void Logger::flush() {
  out_.flush();
}

void Logger::statementHeader(int line) {
  writeIndentation();
  char number[16];
  std::snprintf(number, sizeof number, "%4d", line + 1);
  out_ << number << " : ";
  flush();
}

void Logger::writeLine(const std::string& text) {
  out_ << text << '\n';
}

void Logger::writeIndented(const std::string& text) {
  writeIndentation();
  out_ << text;
}

void Logger::indent() {
  writeIndentation();
  flush();
}

void Logger::endLine() {
  out_ << '\n';
}

void Logger::write(const std::string& text) {
  out_ << text;
  flush();
}

void Logger::writeStringValue(const std::string& text) {
  out_ << '"' << strRoutine::escape(text) << '"';
  flush();
}

void Logger::writeInt(long long value) {
  out_ << value;
  flush();
}

void Logger::writeDouble(double value) {
  out_ << value;
  flush();
}

void Logger::writeBool(bool value) {
  out_ << (value ? "true" : "false");
  flush();
}

void Logger::traceEntry(const std::string& heading, int line) {
  enter();
  statementHeader(line);
  writeLine(heading);
  endLine();
}

void Logger::traceStatement(int line, const std::string& sourceText) {
  endLine();
  statementHeader(line);
  writeLine(sourceText);
}

void Logger::traceBinding(const std::string& variable, const std::string& traceValue) {
  indent();
  write(variable + " =" + traceValue);
}

void Logger::traceExit(const std::string& name, int endLine) {
  statementHeader(endLine);
  writeLine("end");
  writeIndented("Return from  " + name + " ");
  flush();
  leave();
}

void reportRuntimeError(const std::string& text) {
  gr::deliverMessage("error", text);
  Logger& log = Logger::instance();
  log.endLine();
  log.indent();
  log.write("!!! " + text);
  log.endLine();
  log.write("");
}
