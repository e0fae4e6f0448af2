#pragma once
#include <cstdint>
#include <span>

// How much memory decoding a picture file takes, judged from its header
// before anything is decoded, so that a small file describing a huge or
// deep picture is refused instead of exhausting memory.

// Pictures whose decoding would hold more than this at once are refused
// like files that cannot be decoded.
inline constexpr uint64_t kMaxPictureDecodeBytes = uint64_t{256} << 20;

// The most memory decoding `file` to 8-bit RGB holds at once: the file's
// own bytes, the decoder's buffers at the picture's native depth (inflated
// PNG data, de-interlacing, JPEG component planes and, for progressive
// JPEGs, their coefficients, GIF canvases), the conversion to 8-bit RGB and
// the picture handed out, into `bytes`. False, leaving `bytes` as it was,
// when the header is not a BMP, JPEG, GIF or PNG header these figures can be
// told from.
bool pictureDecodeBytes(std::span<const uint8_t> file, uint64_t& bytes);
