// The check of a whole exchange text before any of it is run: the text is
// read once from its start to its end against the open store and against
// what the text itself declares, and the first reason it can not be run
// whole stops the import before anything is written. So an import either
// creates everything its text says or nothing.
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>

namespace gr::exchange {

struct Refusal {
  std::size_t line = 0;  // 1-based
  std::string reason;    // one line of text
};

// Reads IN to its end (or to "end;"). Refused are: a text without a line
// "begin;", a text that ends without "end;" or inside a statement, a
// statement of a known keyword that is not well formed, an object number of
// 1,000,000 or more, a second addObj of one object, a class, attribute or
// role that neither the store nor the text before it declares, and text
// that is not valid UTF-8. Statements that merely have nothing to act on (a
// setAttr before its addObj) pass: the run skips them.
std::optional<Refusal> checkText(std::istream& in);

}  // namespace gr::exchange
