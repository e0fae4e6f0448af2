#pragma once
#include <cstdint>
#include <span>

// False for a JPEG holding a Huffman table of more than 256 codes. The
// stb_image in use writes such a table past its arrays, so these files must
// not reach it. Anything that is not a JPEG passes.
bool jpegHuffmanTablesFit(std::span<const uint8_t> bytes);
