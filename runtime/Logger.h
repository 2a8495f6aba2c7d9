// The trace of traced transformations, written to "L0_trace.txt" in the
// current directory. Indentation shows the call depth, three blanks a level.
#pragma once

#include <fstream>
#include <memory>
#include <string>

class Logger {
 public:
  // Opens the trace on first use, replacing an older file.
  static Logger& instance();
  // Closes the trace; the next instance() opens a fresh file.
  static void shutdown();

  void enter() { ++depth_; }
  void leave() { --depth_; }
  int depth() const { return depth_; }

  // Indentation, then LINE + 1 right-aligned in four columns, then " : ".
  void statementHeader(int line);
  void writeLine(const std::string& text);
  void writeIndented(const std::string& text);
  void indent();
  void endLine();
  void write(const std::string& text);
  // A double quote, the escaped text, a double quote.
  void writeStringValue(const std::string& text);
  void writeInt(long long value);
  void writeDouble(double value);
  void writeBool(bool value);

  // The trace blocks of a traced transformation.
  void traceEntry(const std::string& heading, int line);
  void traceStatement(int line, const std::string& sourceText);
  void traceBinding(const std::string& variable, const std::string& traceValue);
  void traceExit(const std::string& name, int endLine);

 private:
  Logger();
  void writeIndentation();
  void flush();

  std::ofstream out_;
  int depth_ = 0;
};

// A modal message box with TEXT, and "!!! " + TEXT in the trace.
void reportRuntimeError(const std::string& text);
