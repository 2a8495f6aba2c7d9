// Handler values: what an engine object's "on...Event" attribute, a script's
// run line or an ExecTransfCmd names to run.
//   "main"       the library's dispatcher (L0_LibMain)
//   "main#Name"  the transformation L0_Func_Name of the behaviour library
//   "lib#Name"   the transformation L0_Func_Name of liblib.so
#pragma once

#include <string>

namespace grhost {

struct HandlerValue {
  bool dispatcher = false;
  std::string library;         // "main" for the behaviour library
  std::string transformation;  // Name, without "L0_Func_"

  bool inMainLibrary() const { return library == "main"; }
  std::string entry() const { return "L0_Func_" + transformation; }
  std::string text() const { return dispatcher ? "main" : library + "#" + transformation; }
};

// Decodes a handler value; false with the reason in ERROR when it names
// nothing that can run. A library may be written "lib" or "lib.dll".
bool decodeHandler(const std::string& value, HandlerValue& handler, std::string& error);

// A transformation reference as an ExecTransfCmd carries it: a bare name N is
// "main#N", "lib#N" as for handlers; the bare "main" is no dispatcher here.
bool decodeTransformationReference(const std::string& reference, HandlerValue& handler,
                                   std::string& error);

}  // namespace grhost
