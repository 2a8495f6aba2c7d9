#include "host/system/Regex.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <memory>

namespace grhost {
namespace {

std::string errorText(int code) {
  PCRE2_UCHAR buffer[256];
  int length = pcre2_get_error_message(code, buffer, sizeof buffer);
  return length < 0 ? "error " + std::to_string(code)
                    : std::string(reinterpret_cast<const char*>(buffer), length);
}

struct CodeDeleter {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataDeleter {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
using Code = std::unique_ptr<pcre2_code, CodeDeleter>;
using MatchData = std::unique_ptr<pcre2_match_data, MatchDataDeleter>;

Code compile(const std::string& expression, std::string& error) {
  int code = 0;
  PCRE2_SIZE offset = 0;
  Code compiled(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(expression.data()), expression.size(),
                              PCRE2_UTF | PCRE2_ANCHORED, &code, &offset, nullptr));
  if (!compiled)
    error = "Bad regular expression \"" + expression + "\" at offset " + std::to_string(offset) +
            ": " + errorText(code) + ".";
  return compiled;
}

std::string joinedGroups(pcre2_match_data* data, uint32_t groups, const std::string& text,
                         const std::string& separator) {
  PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(data);
  uint32_t pairs = pcre2_get_ovector_count(data);
  std::string joined;
  for (uint32_t group = 1; group <= groups; ++group) {
    if (group > 1) joined += separator;
    if (group >= pairs || offsets[2 * group] == PCRE2_UNSET) continue;
    joined += text.substr(offsets[2 * group], offsets[2 * group + 1] - offsets[2 * group]);
  }
  return joined;
}

}  // namespace

ParseResult parseWithExpression(const std::string& expression, const std::string& text,
                                const std::string& separator) {
  ParseResult result;
  Code code = compile(expression, result.error);
  if (!code) return result;
  MatchData data(pcre2_match_data_create_from_pattern(code.get(), nullptr));
  int rc = pcre2_match(code.get(), reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), 0, 0,
                       data.get(), nullptr);
  if (rc == PCRE2_ERROR_NOMATCH) return result;
  if (rc < 0) {
    result.error = "Can not match \"" + expression + "\": " + errorText(rc) + ".";
    return result;
  }
  uint32_t groups = 0;
  pcre2_pattern_info(code.get(), PCRE2_INFO_CAPTURECOUNT, &groups);
  result.matched = true;
  result.value = joinedGroups(data.get(), groups, text, separator);
  return result;
}

}  // namespace grhost
