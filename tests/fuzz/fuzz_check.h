// A property a fuzz target holds on every input. A failing one is named and aborts the run, so
// that libFuzzer keeps the input as a reproducer and the corpus replay fails.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void Require(bool holds, const char* property) {
  if (!holds) {
    std::fprintf(stderr, "fuzz property failed: %s\n", property);
    std::abort();
  }
}
