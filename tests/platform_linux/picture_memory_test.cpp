// Pictures whose decoding would take more memory than the bound allows are
// refused from their header, and data that inflate beyond what the header
// promises cannot take more than the bound either.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

#include "platform/linux/pictures/stb_picture_decoder.h"
#include "starfield/picture_memory.h"

namespace {

void appendBigEndian(std::vector<uint8_t>& out, uint32_t value, size_t bytes) {
    for (size_t i = bytes; i-- > 0;) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A zlib stream inflating to `count` zero bytes: one literal zero, then
// copies of 258 bytes from one back, then literal zeros for the rest, in
// fixed Huffman codes.
std::vector<uint8_t> zlibZeros(uint64_t count) {
    std::vector<uint8_t> out = {0x78, 0x01};
    uint32_t bits = 0;
    int used = 0;
    auto emit = [&](uint32_t value, int length) {  // LSB first
        for (int i = 0; i < length; ++i) {
            bits |= ((value >> i) & 1u) << used;
            if (++used == 8) {
                out.push_back(static_cast<uint8_t>(bits));
                bits = 0;
                used = 0;
            }
        }
    };
    auto code = [&](uint32_t value, int length) {  // Huffman codes go most significant bit first
        for (int i = length - 1; i >= 0; --i) emit((value >> i) & 1u, 1);
    };
    emit(1, 1);  // the final block
    emit(1, 2);  // fixed codes
    uint64_t left = count;
    if (left > 0) {
        code(0x30, 8);  // literal 0
        --left;
    }
    for (; left >= 258; left -= 258) {
        code(0xC5, 8);  // length 258
        code(0, 5);     // distance 1
    }
    for (; left > 0; --left) code(0x30, 8);
    code(0, 7);  // end of block
    if (used) out.push_back(static_cast<uint8_t>(bits));
    appendBigEndian(out, 0, 4);  // the checksum, not checked
    return out;
}

void pngChunk(std::vector<uint8_t>& b, const char* type, const std::vector<uint8_t>& data) {
    appendBigEndian(b, static_cast<uint32_t>(data.size()), 4);
    b.insert(b.end(), type, type + 4);
    b.insert(b.end(), data.begin(), data.end());
    appendBigEndian(b, 0, 4);  // CRC, not checked
}

// A PNG of the given header whose image data inflate to `inflated` zeros.
std::vector<uint8_t> png(uint32_t w, uint32_t h, uint8_t depth, uint8_t colour, bool interlaced, uint64_t inflated) {
    std::vector<uint8_t> b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    appendBigEndian(header, w, 4);
    appendBigEndian(header, h, 4);
    header.insert(header.end(), {depth, colour, 0, 0, static_cast<uint8_t>(interlaced ? 1 : 0)});
    pngChunk(b, "IHDR", header);
    pngChunk(b, "IDAT", zlibZeros(inflated));
    pngChunk(b, "IEND", {});
    return b;
}

// The inflated size of a zero PNG of whole bytes per pixel (`bpp`).
uint64_t pngRows(uint64_t w, uint64_t h, uint64_t bpp, bool interlaced) {
    if (!interlaced) return h * (w * bpp + 1);
    const int x0[] = {0, 4, 0, 2, 0, 1, 0}, y0[] = {0, 0, 4, 0, 2, 0, 1};
    const int dx[] = {8, 8, 4, 4, 2, 2, 1}, dy[] = {8, 8, 8, 4, 4, 2, 2};
    uint64_t total = 0;
    for (int p = 0; p < 7; ++p) {
        const uint64_t pw = w > uint64_t(x0[p]) ? (w - x0[p] + dx[p] - 1) / dx[p] : 0;
        const uint64_t ph = h > uint64_t(y0[p]) ? (h - y0[p] + dy[p] - 1) / dy[p] : 0;
        if (pw && ph) total += ph * (pw * bpp + 1);
    }
    return total;
}

void jpegSegment(std::vector<uint8_t>& b, uint8_t marker, const std::vector<uint8_t>& data) {
    b.insert(b.end(), {0xFF, marker});
    appendBigEndian(b, static_cast<uint32_t>(data.size() + 2), 2);
    b.insert(b.end(), data.begin(), data.end());
}

// A JPEG of `components` full-resolution components whose one scan codes
// every block as zero.
std::vector<uint8_t> jpeg(uint32_t w, uint32_t h, uint8_t components, bool progressive) {
    std::vector<uint8_t> b = {0xFF, 0xD8};
    std::vector<uint8_t> table(65, 1);
    table[0] = 0;
    jpegSegment(b, 0xDB, table);
    std::vector<uint8_t> frame = {8};
    appendBigEndian(frame, h, 2);
    appendBigEndian(frame, w, 2);
    frame.push_back(components);
    for (uint8_t c = 1; c <= components; ++c) frame.insert(frame.end(), {c, 0x11, 0});
    jpegSegment(b, progressive ? 0xC2 : 0xC0, frame);
    std::vector<uint8_t> huffman = {0x00, 1};  // one DC code: "0" for a difference of 0
    huffman.resize(17 + 1, 0);
    jpegSegment(b, 0xC4, huffman);
    if (!progressive) {
        huffman[0] = 0x10;  // one AC code: "0" for the end of the block
        jpegSegment(b, 0xC4, huffman);
    }
    std::vector<uint8_t> scan = {components};
    for (uint8_t c = 1; c <= components; ++c) scan.insert(scan.end(), {c, 0x00});
    scan.insert(scan.end(), {0, static_cast<uint8_t>(progressive ? 0 : 63), 0});
    jpegSegment(b, 0xDA, scan);
    b.insert(b.end(), 16, 0x00);
    b.insert(b.end(), {0xFF, 0xD9});
    return b;
}

uint64_t need(const std::vector<uint8_t>& file) {
    uint64_t bytes = 0;
    return pictureDecodeBytes(file, bytes) ? bytes : 0;
}

// Under AddressSanitizer freed blocks are held back for a while, so the
// process's peak shows more than the decoder ever held at once.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPeakShowsHeldMemory = false;
#elif defined(__has_feature)
constexpr bool kPeakShowsHeldMemory = !__has_feature(address_sanitizer);
#else
constexpr bool kPeakShowsHeldMemory = true;
#endif

long peakKilobytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

TEST(PictureMemory, DepthInterlacingAndProgressiveScansCountAsWellAsPixels) {
    // Of two pictures of one size, the deeper, interlaced or progressive one needs more.
    const uint32_t w = 1920, h = 1080;
    EXPECT_GT(need(png(w, h, 16, 6, false, 0)), need(png(w, h, 8, 6, false, 0)));
    EXPECT_GT(need(png(w, h, 8, 6, true, 0)), need(png(w, h, 8, 6, false, 0)));
    EXPECT_GT(need(png(w, h, 8, 6, false, 0)), need(png(w, h, 8, 0, false, 0)));
    EXPECT_GT(need(jpeg(w, h, 3, true)), need(jpeg(w, h, 3, false)));
    EXPECT_GT(need(jpeg(w, h, 4, true)), need(jpeg(w, h, 3, true)));
    // Whatever the kind, it needs at least the RGB picture and its copy.
    EXPECT_GE(need(jpeg(w, h, 1, false)), 6u * w * h);

    // A screen-sized picture of any kind is within the bound (deep PNGs: below).
    EXPECT_LE(need(jpeg(w, h, 4, true)), kMaxPictureDecodeBytes);
    // Not a header of the four formats: no figure, so not decoded.
    uint64_t untouched = 7;
    EXPECT_FALSE(pictureDecodeBytes(std::vector<uint8_t>{'P', '6', '\n', '1', ' ', '1', '\n'}, untouched));
    EXPECT_FALSE(pictureDecodeBytes(std::vector<uint8_t>{0xFF, 0xD8, 0xFF, 0xD9}, untouched));
    EXPECT_EQ(untouched, 7u);
}

// A few hundred bytes that claim 8000 x 8000 pixels of deep or progressive
// data are refused before the decoder allocates anything; data that inflate
// far past their header fail once the decoder holds the bound. Each is
// decoded in a child whose peak memory is measured.
TEST(PictureMemory, BombsAreRefusedWithinTheBound) {
    const std::vector<uint8_t> deepPng = png(8000, 8000, 16, 6, true, 1000);
    const std::vector<uint8_t> progressiveJpeg = jpeg(8000, 8000, 4, true);
    EXPECT_LT(deepPng.size() + progressiveJpeg.size(), 1000u);
    EXPECT_GT(need(deepPng), kMaxPictureDecodeBytes);
    EXPECT_GT(need(progressiveJpeg), kMaxPictureDecodeBytes);
    const std::vector<uint8_t> inflating = png(64, 64, 8, 2, false, uint64_t{600} << 20);
    EXPECT_LE(need(inflating), kMaxPictureDecodeBytes);

    // Megabytes the decoding added to the peak, up to 254; 255 when decoded.
    auto peakGrowth = [](const std::vector<uint8_t>& file) {
        const pid_t child = ::fork();
        if (child == 0) {
            const long before = peakKilobytes();
            Picture picture;
            const bool refused = !decodePicture(file, picture);
            const long grownMb = (peakKilobytes() - before) / 1024;
            ::_exit(refused ? static_cast<int>(std::min(grownMb, 254L)) : 255);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 255;
    };
    EXPECT_LT(peakGrowth(deepPng), 4) << "megabytes";
    EXPECT_LT(peakGrowth(progressiveJpeg), 4) << "megabytes";
    const int inflatingGrowth = peakGrowth(inflating);
    EXPECT_NE(inflatingGrowth, 255) << "refused";
    if (kPeakShowsHeldMemory) {
        EXPECT_LT(inflatingGrowth, 254) << "megabytes (254: that or more)";
    }

    // What the header check lets through decodes within the same bound.
    const std::vector<uint8_t> deepButSmaller = png(2000, 1500, 16, 6, true, pngRows(2000, 1500, 8, true));
    ASSERT_LE(need(deepButSmaller), kMaxPictureDecodeBytes);
    Picture decoded, progressive;
    ASSERT_TRUE(decodePicture(deepButSmaller, decoded));
    EXPECT_EQ(decoded.width, 2000);
    ASSERT_TRUE(decodePicture(jpeg(2000, 1500, 3, true), progressive));
    EXPECT_EQ(progressive.height, 1500);
}
