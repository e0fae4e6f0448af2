#include "render/enlarger/wide_vectors.h"

bool enlarger::wideVectorsAvailable() { return avx2Available(); }
