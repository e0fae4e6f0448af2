#pragma once
// The Windows test programs' one assertion: report and count, keep going.
#include <cstdio>

inline int failures = 0;

#define CHECK(condition)                                                      \
    do {                                                                      \
        if (!(condition)) {                                                   \
            std::printf("%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
            ++failures;                                                       \
        }                                                                     \
    } while (0)
