// What every module of transformations includes. A transformation is an
// exported C entry named L0_Func_ + its name; GR_ENTRY_SIGNATURE next to its
// definition exports the text of its type, so that calls by name can check it.
#pragma once

#include <string>

#include "platform/host.h"
#include "runtime/HostCalls.h"
#include "runtime/L0_Var.h"
#include "runtime/Logger.h"
#include "runtime/MessageSink.h"
#include "runtime/NativeFunctions.h"
#include "runtime/Signature.h"
#include "runtime/strRoutine.h"

#define L0_TRANSFORMATION extern "C" GR_API
