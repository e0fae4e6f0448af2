#include "starfield/random.h"

Random Random::seededForSaver() {
    Random first(1);
    const uint32_t r = static_cast<uint32_t>(first());
    return Random(r ^ (r >> 16));
}
