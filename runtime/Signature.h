// Entries that a model may name (a library and a function name stored as
// text) are called through dlsym. Every such entry is exported together with
// a text that spells its C++ type, and a call by name goes ahead only when
// that text equals the type the caller is about to use: no entry is ever
// called through a mismatched function type.
#pragma once

#include <string>

#include "platform/host.h"

class L0_Var_2;

namespace gr {

template <class T>
struct SignatureChar;
template <>
struct SignatureChar<void> {
  static constexpr char value = 'v';
};
template <>
struct SignatureChar<bool> {
  static constexpr char value = 'b';
};
template <>
struct SignatureChar<int> {
  static constexpr char value = 'i';
};
template <>
struct SignatureChar<double> {
  static constexpr char value = 'd';
};
template <>
struct SignatureChar<std::string> {
  static constexpr char value = 's';
};
template <>
struct SignatureChar<std::string&> {
  static constexpr char value = 'S';
};
template <>
struct SignatureChar<L0_Var_2> {
  static constexpr char value = 'o';
};
template <>
struct SignatureChar<L0_Var_2&> {
  static constexpr char value = 'O';
};
template <>
struct SignatureChar<const char*> {
  static constexpr char value = 'c';
};
template <>
struct SignatureChar<unsigned> {
  static constexpr char value = 'u';
};

template <class F>
struct Signature;
template <class R, class... Args>
struct Signature<R(Args...)> {
  static constexpr char text[] = {SignatureChar<R>::value, '(', SignatureChar<Args>::value..., ')',
                                  '\0'};
};

// The symbol under which ENTRY's signature text is exported.
inline std::string signatureSymbol(const std::string& entry) {
  return entry + "__sig";
}

}  // namespace gr

// Exports the signature of an entry defined in the same library; place it
// next to the entry's definition.
#define GR_ENTRY_SIGNATURE(entry) \
  extern "C" GR_API const char* const entry##__sig = gr::Signature<decltype(entry)>::text;
