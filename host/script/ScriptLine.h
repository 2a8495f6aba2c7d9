// One line of a gesture script, split into words, double-quoted strings
// (backslash escapes \" \\ \n \t \r) and "=". A "#" where a word would begin
// starts a comment; inside a word ("D#Form") it is part of the word.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace grhost {

class ScriptError : public std::runtime_error {
 public:
  explicit ScriptError(const std::string& text) : std::runtime_error(text) {}
};

struct Token {
  enum class Kind { Word, String, Equals };
  Kind kind;
  std::string text;
};

// Throws ScriptError for an unterminated string or an unknown escape.
std::vector<Token> tokenize(const std::string& line);

class ScriptLine {
 public:
  explicit ScriptLine(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  bool atEnd() const { return next_ >= tokens_.size(); }
  // The next token is the word WORD (not consumed).
  bool nextIs(const std::string& word) const;
  bool nextIsString() const;
  // Consumes the word WORD when it comes next.
  bool accept(const std::string& word);

  // Each of these consumes the next token or throws ScriptError naming WHAT.
  std::string word(const std::string& what);
  std::string string(const std::string& what);
  long number(const std::string& what);
  void keyword(const std::string& word);
  void equals();
  // Throws ScriptError when tokens are left.
  void finish() const;

 private:
  const Token* peek() const { return atEnd() ? nullptr : &tokens_[next_]; }
  [[noreturn]] void expected(const std::string& what) const;

  std::vector<Token> tokens_;
  std::size_t next_ = 0;
};

}  // namespace grhost
