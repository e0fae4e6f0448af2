#include "raster/avx2.h"

bool avx2Available() {
#if LUMARA_WIDE_VECTORS
    static const bool available = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return available;
#else
    return false;
#endif
}
