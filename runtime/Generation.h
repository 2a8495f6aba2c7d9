// The generation counter: advanced at every transaction start of the main
// entry and at every session start. Variables and cached lists of an older
// generation count as null or are refilled.
#pragma once

#include <cstdint>

extern int32_t currentGeneration;

inline void advanceGeneration() {
  ++currentGeneration;
}
