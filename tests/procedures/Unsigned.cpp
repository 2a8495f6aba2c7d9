// A library built without signature texts, as a user's own library may be:
// its entries are trusted and called through the type of the call.
#include <string>

#include "platform/host.h"
#include "runtime/L0_Var.h"
#include "runtime/MessageSink.h"
#include "runtime/NativeFunctions.h"

#define USER_ENTRY extern "C" GR_API

USER_ENTRY void L0_Func_plain_void() {
  gr::showMessageBox("plain void ran");
}

USER_ENTRY void L0_Func_plain_object(L0_Var_2 object) {
  gr::showMessageBox("plain object got " + getObjectIdText(object));
}

USER_ENTRY std::string L0_Func_plain_class_of(L0_Var_2 object) {
  return "plain class " + getClassName(object);
}
