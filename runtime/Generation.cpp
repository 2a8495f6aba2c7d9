#include "runtime/Generation.h"

int32_t currentGeneration = 0;
