#include "settings/multi_string.h"

#include <cstring>

std::vector<char> JoinMultiString(const std::vector<std::string>& list) {
    std::vector<char> block;
    for (const std::string& entry : list) {
        block.insert(block.end(), entry.begin(), entry.end());
        block.push_back('\0');
    }
    block.push_back('\0');
    return block;
}

void SplitMultiString(std::vector<std::string>& list, const char* block, size_t size) {
    list.clear();
    size_t pos = 0;
    while (pos < size) {
        const void* nul = std::memchr(block + pos, '\0', size - pos);
        const size_t end = nul ? static_cast<size_t>(static_cast<const char*>(nul) - block) : size;
        if (end == pos) break;  // an empty entry ends the list
        list.emplace_back(block + pos, end - pos);
        pos = end + 1;
    }
}
