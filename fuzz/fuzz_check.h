#pragma once

#include <cstdio>

// Stops the fuzzer on a broken property; libFuzzer then saves the input that broke it.
#define FUZZ_CHECK(condition)                                                                 \
  do {                                                                                        \
    if (!(condition)) {                                                                       \
      std::fprintf(stderr, "%s:%d: property violated: %s\n", __FILE__, __LINE__, #condition); \
      __builtin_trap();                                                                       \
    }                                                                                         \
  } while (false)
