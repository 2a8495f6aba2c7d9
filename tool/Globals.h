// The library's global variables, exported by name so that the host and
// other libraries can read and set them. Numbers and flags start at 0 /
// false, texts empty, the object variable unbound; the transformations set
// them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/host.h"
#include "runtime/L0_Var.h"

// clang-format off
#define GR_BOOL_GLOBALS(X) \
  X(needToCallIt) \
  X(is_logging_on) \
  X(SHOW_ERROR_MSG) \
  X(DONT_SHOW_ERROR_MSG)

#define GR_INT_GLOBALS(X) \
  X(I_count) \
  X(A_count) \
  X(L_count) \
  X(D_count) \
  X(M_count) \
  X(F_count) \
  X(J_count) \
  X(C_count) \
  X(E_count) \
  X(dgrm_count) \
  X(ADS_error) \
  X(MINUTES_IN_DAY) \
  X(HOURS_IN_DAY) \
  X(ALIGN_LEFT) \
  X(ALIGN_CENTER) \
  X(ALIGN_RIGHT) \
  X(FATAL_ERROR) \
  X(VALIDATION_ERROR) \
  X(globalTime_int)

#define GR_DOUBLE_GLOBALS(X) \
  X(globalDuration)

#define GR_STRING_GLOBALS(X) \
  X(gResources) \
  X(simulationDuration) \
  X(EMPTY) \
  X(VISITED) \
  X(DGRM_ID) \
  X(DGRM_STATUS) \
  X(SORV_IN) \
  X(SORV_OUT) \
  X(NAMES) \
  X(PATH) \
  X(sorvInput) \
  X(printNames) \
  X(names) \
  X(SI) \
  X(DIAGRAM_TYPE) \
  X(globalTime) \
  X(NO_START) \
  X(NO_END) \
  X(NO_ACTION) \
  X(NO_OUT_EDGE) \
  X(NO_IN_EDGE) \
  X(WRONG_EDGE_COUNT) \
  X(MUST_BE_1_OUT_EDGE) \
  X(MUST_BE_1_IN_EDGE) \
  X(MUSTNT_HAVE_OUT_EDGE) \
  X(MUSTNT_HAVE_IN_EDGE) \
  X(NOT_VALID_NUMBER) \
  X(DGRM_CALLS_ITSELF) \
  X(ERROR_IN_PROCEDURE) \
  X(DGRM_CALL_LOOP) \
  X(UNSUPORTED_NODE_TYPE) \
  X(INSUFFICIENT_RESOURCE) \
  X(RESOURCE_NOT_FOUND) \
  X(DUPLICATE_RESOURCE) \
  X(TOO_MANY_START) \
  X(PERCENTAGE_NOT_100) \
  X(ALL_OR_NONE_DECISION) \
  X(UNSUPPORTED_ATTRIBUTE) \
  X(PERCENTAGE_NOT_ALLOWED) \
  X(BAD_RESOURCE) \
  X(PORT_NOT_ALLOWED) \
  X(NOT_REACHABLE) \
  X(SORV_ERROR) \
  X(SORV_ERROR_2) \
  X(EDGE_ATTR) \
  X(MUST_BE_LESS) \
  X(MUST_BE_GREAT) \
  X(DURATION_ZERO) \
  X(CHILD_DGRM_ERROR) \
  X(VALID_SUCCESS) \
  X(VALID_FAIL) \
  X(OBLIGATORY) \
  X(VALIDATION_OK) \
  X(VALIDATION_FAILED)
// clang-format on

#define GR_DECLARE_BOOL(name) extern GR_API bool _elemVar__##name##_;
#define GR_DECLARE_INT(name) extern GR_API int32_t _elemVar__##name##_;
#define GR_DECLARE_DOUBLE(name) extern GR_API double _elemVar__##name##_;
#define GR_DECLARE_STRING(name) extern GR_API std::string elemVar__##name##_;

extern "C" {
GR_BOOL_GLOBALS(GR_DECLARE_BOOL)
GR_INT_GLOBALS(GR_DECLARE_INT)
GR_DOUBLE_GLOBALS(GR_DECLARE_DOUBLE)
GR_STRING_GLOBALS(GR_DECLARE_STRING)
extern GR_API L0_Var_2 _obj_NULL_NODE_;
}

namespace gr {
// Unit start-up and shut-down of the globals.
void initGlobals();
void finishGlobals();
// Every unit's start-up, in link order, and shut-down, in reverse (LibMain.cpp).
void loadUnits();
void unloadUnits();
}  // namespace gr
