#include "host/script/ScriptLine.h"

#include <cctype>

#include "host/base/Utf8.h"

namespace grhost {
namespace {

bool isBlank(char c) {
  return std::isspace(static_cast<unsigned char>(c)) != 0;
}

char escaped(char c) {
  switch (c) {
    case '"':
      return '"';
    case '\\':
      return '\\';
    case 'n':
      return '\n';
    case 't':
      return '\t';
    case 'r':
      return '\r';
    default:
      throw ScriptError(std::string("unknown escape \\") + c + " in a string");
  }
}

// Reads the string that starts at LINE[AT] (the opening quote).
std::string quotedString(const std::string& line, std::size_t& at) {
  std::string text;
  for (++at; at < line.size(); ++at) {
    char c = line[at];
    if (c == '"') {
      ++at;
      return text;
    }
    if (c == '\\') {
      if (++at == line.size()) break;
      text += escaped(line[at]);
    } else {
      text += c;
    }
  }
  throw ScriptError("unterminated string");
}

std::string describe(const Token* token) {
  if (!token) return "the end of the line";
  if (token->kind == Token::Kind::String) return "\"" + token->text + "\"";
  return "'" + token->text + "'";
}

}  // namespace

std::vector<Token> tokenize(const std::string& line) {
  if (!isValidUtf8(line)) throw ScriptError("the line is not valid UTF-8");
  std::vector<Token> tokens;
  std::size_t at = 0;
  while (at < line.size()) {
    char c = line[at];
    if (isBlank(c)) {
      ++at;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      tokens.push_back({Token::Kind::String, quotedString(line, at)});
    } else if (c == '=') {
      tokens.push_back({Token::Kind::Equals, "="});
      ++at;
    } else {
      std::size_t end = at;
      while (end < line.size() && !isBlank(line[end]) && line[end] != '"' && line[end] != '=')
        ++end;
      tokens.push_back({Token::Kind::Word, line.substr(at, end - at)});
      at = end;
    }
  }
  return tokens;
}

bool ScriptLine::nextIs(const std::string& word) const {
  const Token* token = peek();
  return token && token->kind == Token::Kind::Word && token->text == word;
}

bool ScriptLine::nextIsString() const {
  const Token* token = peek();
  return token && token->kind == Token::Kind::String;
}

bool ScriptLine::accept(const std::string& word) {
  if (!nextIs(word)) return false;
  ++next_;
  return true;
}

void ScriptLine::expected(const std::string& what) const {
  throw ScriptError("expected " + what + ", found " + describe(peek()));
}

std::string ScriptLine::word(const std::string& what) {
  const Token* token = peek();
  if (!token || token->kind != Token::Kind::Word) expected(what);
  ++next_;
  return token->text;
}

std::string ScriptLine::string(const std::string& what) {
  if (!nextIsString()) expected(what + " in double quotes");
  return tokens_[next_++].text;
}

long ScriptLine::number(const std::string& what) {
  const Token* token = peek();
  if (!token || token->kind != Token::Kind::Word || token->text.empty()) expected(what);
  std::size_t used = 0;
  long value = 0;
  try {
    value = std::stol(token->text, &used);
  } catch (const std::exception&) {
    expected(what);
  }
  if (used != token->text.size()) expected(what);
  ++next_;
  return value;
}

void ScriptLine::keyword(const std::string& word) {
  if (!accept(word)) expected("'" + word + "'");
}

void ScriptLine::equals() {
  const Token* token = peek();
  if (!token || token->kind != Token::Kind::Equals) expected("'='");
  ++next_;
}

void ScriptLine::finish() const {
  if (!atEnd()) throw ScriptError("unexpected " + describe(peek()));
}

}  // namespace grhost
