#pragma once
#include <cstddef>

// A ceiling on the memory stb_image holds at once, enforced on each of its
// allocations: stb_image.cpp routes malloc, realloc and free here. The
// header check (starfield/picture_memory.h) refuses what is too large
// before decoding; this catches what no header tells, such as compressed
// data that inflates beyond the picture it claims to be. An allocation past
// the ceiling fails, and the decoder reports the file as undecodable.

// Sets the ceiling for this thread's decoding while it lives; without one,
// allocations are not limited.
class DecodeBudget {
public:
    explicit DecodeBudget(size_t bytes);
    ~DecodeBudget();
    DecodeBudget(const DecodeBudget&) = delete;
    DecodeBudget& operator=(const DecodeBudget&) = delete;
};

void* budgetMalloc(size_t size);
void* budgetRealloc(void* block, size_t size);
void budgetFree(void* block);
