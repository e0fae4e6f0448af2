#pragma once
// AVX2 code is compiled beside the SSE2 baseline and chosen at run time, so
// the program still runs on any x86 processor with SSE2.
#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#define LUMARA_WIDE_VECTORS 1
#include <immintrin.h>
#define LUMARA_AVX2 __attribute__((target("avx2")))
#else
#define LUMARA_WIDE_VECTORS 0
#endif

// True when the processor and the system can run AVX2 code.
bool avx2Available();
