// Multi-string blocks as a store may hand them over (cut short, without
// closing NULs): splitting must stay inside the block, and joining what was
// split must give back a block that splits the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "settings/multi_string.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> list;
    SplitMultiString(list, reinterpret_cast<const char*>(data), size);
    const std::vector<char> block = JoinMultiString(list);
    std::vector<std::string> again;
    SplitMultiString(again, block.data(), block.size());
    if (again != list) std::abort();
    return 0;
}
