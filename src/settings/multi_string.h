#pragma once
#include <cstddef>
#include <string>
#include <vector>

// A list stored as one block: every entry followed by a NUL, then one more
// NUL. An empty list is the single byte NUL.
std::vector<char> JoinMultiString(const std::vector<std::string>& list);

// Empties `list` and appends the block's entries up to the first empty one.
// Reads no further than `size` bytes: a block cut short (no closing NULs)
// still yields the entries it holds, the last one ending at the block's end.
void SplitMultiString(std::vector<std::string>& list, const char* block, size_t size);
