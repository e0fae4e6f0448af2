#include "platform/linux/pictures/decode_budget.h"

#include <cstdlib>
#include <limits>

namespace {

// Each block is preceded by its size, kept in a slot as large as malloc's
// alignment so the block stays aligned for any type.
constexpr size_t kHeader = alignof(std::max_align_t);

thread_local size_t ceiling = std::numeric_limits<size_t>::max();
thread_local size_t held = 0;

bool fits(size_t more) { return more <= ceiling && held <= ceiling - more; }

}  // namespace

DecodeBudget::DecodeBudget(size_t bytes) { ceiling = bytes; }

DecodeBudget::~DecodeBudget() { ceiling = std::numeric_limits<size_t>::max(); }

void* budgetMalloc(size_t size) {
    if (size > std::numeric_limits<size_t>::max() - kHeader || !fits(size)) return nullptr;
    auto* base = static_cast<unsigned char*>(std::malloc(kHeader + size));
    if (!base) return nullptr;
    *reinterpret_cast<size_t*>(base) = size;
    held += size;
    return base + kHeader;
}

void* budgetRealloc(void* block, size_t size) {
    if (!block) return budgetMalloc(size);
    auto* base = static_cast<unsigned char*>(block) - kHeader;
    const size_t old = *reinterpret_cast<size_t*>(base);
    if (size > std::numeric_limits<size_t>::max() - kHeader || (size > old && !fits(size - old))) return nullptr;
    auto* grown = static_cast<unsigned char*>(std::realloc(base, kHeader + size));
    if (!grown) return nullptr;
    *reinterpret_cast<size_t*>(grown) = size;
    held = held - old + size;
    return grown + kHeader;
}

void budgetFree(void* block) {
    if (!block) return;
    auto* base = static_cast<unsigned char*>(block) - kHeader;
    const size_t size = *reinterpret_cast<size_t*>(base);
    held = held >= size ? held - size : 0;
    std::free(base);
}
