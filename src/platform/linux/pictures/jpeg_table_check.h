#pragma once
#include <cstdint>
#include <span>

// A guard in front of stb_image for StbPictureDecoder: false for a JPEG
// holding a Huffman table of more than 256 codes, which the stb_image in use
// writes past its arrays, so these files must not reach it. Anything that
// is not a JPEG passes; nothing else in a JPEG is checked.
bool jpegHuffmanTablesFit(std::span<const uint8_t> bytes);
