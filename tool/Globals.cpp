#include "tool/Globals.h"

#define GR_DEFINE_BOOL(name) GR_API bool _elemVar__##name##_ = false;
#define GR_DEFINE_INT(name) GR_API int32_t _elemVar__##name##_ = 0;
#define GR_DEFINE_DOUBLE(name) GR_API double _elemVar__##name##_ = 0;
#define GR_DEFINE_STRING(name) GR_API std::string elemVar__##name##_;

extern "C" {
GR_BOOL_GLOBALS(GR_DEFINE_BOOL)
GR_INT_GLOBALS(GR_DEFINE_INT)
GR_DOUBLE_GLOBALS(GR_DEFINE_DOUBLE)
GR_STRING_GLOBALS(GR_DEFINE_STRING)
GR_API L0_Var_2 _obj_NULL_NODE_;
}

namespace {

// The units start when the library is loaded and stop when it is unloaded or
// the process ends with it loaded. Made right after the globals, this object
// is destroyed right before them in both cases: the shut-down never meets a
// global that its own destructor has already freed.
struct UnitLifetime {
  UnitLifetime() { gr::loadUnits(); }
  ~UnitLifetime() { gr::unloadUnits(); }
  UnitLifetime(const UnitLifetime&) = delete;
  UnitLifetime& operator=(const UnitLifetime&) = delete;
};
const UnitLifetime lifetime;

}  // namespace

namespace gr {

void initGlobals() {
#define GR_RESET_STRING(name) elemVar__##name##_.clear();
  GR_STRING_GLOBALS(GR_RESET_STRING)
#undef GR_RESET_STRING
  // Built without asking the store: at load time the class may not exist yet.
  _obj_NULL_NODE_ = L0_Var_2::declaredUnchecked("Node");
}

void finishGlobals() {
#define GR_FREE_STRING(name) std::string().swap(elemVar__##name##_);
  GR_STRING_GLOBALS(GR_FREE_STRING)
#undef GR_FREE_STRING
  _obj_NULL_NODE_ = L0_Var_2();
}

}  // namespace gr
