#include <gtest/gtest.h>

#include <vector>

#include "fault_device.h"
#include "raster/test_frame.h"
#include "render/enlarger/bilinear_enlarger.h"
#include "saver/frame_tick.h"
#include "starfield/flight.h"

namespace {

// Every format and every ratio against a plain per-pixel reference: the
// channels of the two source rows around the destination row are blended
// across, rounded, then blended down and rounded, with the sample-centre
// mapping of a linear stretch. Random pictures, padded pitches, and sizes
// whose widths exercise both the four-fold widening and the taps, with and
// without remainders past the last full vector, with the widest vectors
// the processor has and with SSE2 alone.
// Source index pair and weight of destination sample i of n from m samples.
struct Tap {
    int32_t first, second;
    uint32_t weight;
};
Tap tapOf(int32_t i, int32_t n, int32_t m) {
    // Centre of sample i in source samples, times 256, rounded down.
    const int64_t centre = ((2 * int64_t{i} + 1) * m * 128) / n - 128;
    if (centre < 0) return {0, 0, 0};
    const auto index = static_cast<int32_t>(centre / 256);
    if (index >= m - 1) return {m - 1, m - 1, 0};
    return {index, index + 1, static_cast<uint32_t>(centre % 256)};
}

uint32_t mixed(uint32_t a, uint32_t b, uint32_t w) { return (a * (256 - w) + b * w + 128) / 256; }

TEST(BilinearEnlarger, MatchesAPerPixelReferenceInEveryFormatAndRatio) {
    Random rng(11);
    struct Size {
        int32_t sw, sh, w, h;
    };
    using Vectors = BilinearEnlarger::Vectors;
    for (const Vectors vectors : {Vectors::Widest, Vectors::Sse2})
    for (const int32_t format : {kFormatX8R8G8B8, kFormatA8R8G8B8, kFormatR5G6B5, kFormatX1R5G5B5}) {
        for (const Size z : {Size{12, 8, 48, 32}, Size{9, 6, 36, 24}, Size{21, 5, 84, 20}, Size{40, 10, 160, 40},
                             Size{13, 5, 52, 21}, Size{37, 9, 148, 37}, Size{11, 7, 45, 31}, Size{1, 1, 4, 4},
                             Size{2, 3, 8, 5}, Size{5, 4, 7, 9}, Size{1, 3, 7, 13}}) {
            SCOPED_TRACE(::testing::Message() << (vectors == Vectors::Sse2 ? "SSE2 " : "") << format << ": " << z.sw
                                              << "x" << z.sh << " -> " << z.w << "x" << z.h);
            TestFrame source(z.sw, z.sh, format);
            for (int32_t y = 0; y < z.sh; ++y)
                for (int32_t x = 0; x < z.sw; ++x) source.setPixel(x, y, static_cast<uint32_t>(rng()) * 2654435761u);
            TestFrame frame(z.w, z.h, format, 0xEE);
            BilinearEnlarger enlarger;
            enlarger.prepare(z.sw, z.sh, z.w, z.h, vectors);
            enlarger.enlarge(source.target, frame.target);
            for (int32_t y = 0; y < z.h; ++y) {
                const Tap down = tapOf(y, z.h, z.sh);
                for (int32_t x = 0; x < z.w; ++x) {
                    const Tap across = tapOf(x, z.w, z.sw);
                    auto acrossRow = [&](int32_t row, int c) {
                        return mixed(channelsOf(source.pixel(across.first, row), format)[c],
                                     channelsOf(source.pixel(across.second, row), format)[c], across.weight);
                    };
                    std::array<uint32_t, 3> expected{};
                    for (int c = 0; c < 3; ++c)
                        expected[c] = mixed(acrossRow(down.first, c), acrossRow(down.second, c), down.weight);
                    ASSERT_EQ(frame.pixel(x, y), pixelOf(expected, format)) << x << "," << y;
                }
            }
            EXPECT_FALSE(frame.changedOutside(0, 0, z.w - 1, z.h - 1));
        }
    }
}

// Golden frames with the nebula on. The star part is integer arithmetic and
// exact everywhere: a run whose nebula is computed (so the generator is
// drawn from as usual) but kept out of the frame pins it. The nebula itself
// follows the platform's single-precision sine, so its picture is compared
// with a tolerance of one step per channel.
uint64_t fnv1a(const FrameTarget& f) {
    uint64_t h = 1469598103934665603ull;
    for (uint8_t b : frameBytes(f)) h = (h ^ b) * 1099511628211ull;
    return h;
}

// Twelve frames of 400 stars (AntiAliase 3) over the nebula (Clouds 3).
struct GoldenRun {
    Flight flight{400, [](Settings& s) {
                      s.Clouds = 3;
                      s.AntiAliase = 3;
                  }};
    FaultDevice device{kFormatX8R8G8B8};
    explicit GoldenRun(bool hideNebula) {
        device.hideNebula = hideNebula;
        EXPECT_EQ(flight.state.renderer.init(device, nullptr, 64, 48), 0);
        for (int i = 0; i < 12; ++i) runFrame(flight.state);
    }
};

TEST(GoldenFrame, StarsOverTheNebulaAreExact) {
    GoldenRun run(true);
    EXPECT_EQ(fnv1a(run.device.shown), 11191882350526499614ull);
}

TEST(GoldenFrame, NebulaPictureMatchesWithinOneStep) {
    GoldenRun run(false);
    const FrameTarget p = run.device.peekCloudImage();
    static const uint8_t kGolden[16 * 12 * 3] = {
        31,20,34,35,22,29,32,24,31,32,23,38,40,21,42,45,21,38,44,23,30,40,24,25,39,24,24,40,24,25,44,23,30,45,21,38,40,21,42,32,23,38,32,24,31,35,22,29,
        35,22,45,40,24,37,30,25,30,24,24,35,34,21,47,44,20,44,42,21,32,37,22,26,36,23,24,37,22,26,42,21,32,44,20,44,34,21,47,24,24,35,30,25,30,40,24,37,
        36,23,32,41,23,29,36,25,29,25,27,28,30,25,34,36,22,35,30,21,29,27,21,28,28,21,28,27,21,28,30,21,29,36,22,35,30,25,34,25,27,28,36,25,29,41,23,29,
        30,23,40,25,22,29,29,20,22,31,25,34,34,26,37,43,24,30,26,24,32,24,23,39,31,23,40,24,23,39,26,24,32,43,24,30,34,26,37,31,25,34,29,20,22,25,22,29,
        41,25,33,42,26,44,37,23,42,41,21,32,37,24,37,26,21,38,36,24,24,26,24,41,34,23,48,26,24,41,36,24,24,26,21,38,37,24,37,41,21,32,37,23,42,42,26,44,
        24,22,37,27,22,33,30,25,24,31,26,26,26,24,34,28,25,28,31,23,36,28,24,31,35,24,39,28,24,31,31,23,36,28,25,28,26,24,34,31,26,26,30,25,24,27,22,33,
        46,24,30,44,23,32,33,22,35,24,24,33,25,24,27,28,23,24,30,24,29,35,26,39,44,27,44,35,26,39,30,24,29,28,23,24,25,24,27,24,24,33,33,22,35,44,23,32,
        25,25,24,27,25,25,30,24,28,28,23,28,28,22,28,31,24,33,33,20,42,30,26,35,22,21,37,30,26,35,33,20,42,31,24,33,28,22,28,28,23,28,30,24,28,27,25,25,
        38,22,43,29,21,50,34,23,40,40,24,24,26,25,34,40,23,30,33,25,23,32,21,42,38,21,42,32,21,42,33,25,23,40,23,30,26,25,34,40,24,24,34,23,40,29,21,50,
        31,23,32,35,25,26,37,26,24,30,24,38,35,22,37,29,22,35,22,24,38,39,24,39,44,24,37,39,24,39,22,24,38,29,22,35,35,22,37,30,24,38,37,26,24,35,25,26,
        40,21,26,38,23,35,25,24,38,26,22,34,37,22,33,34,24,36,30,26,30,34,25,28,36,25,28,34,25,28,30,26,30,34,24,36,37,22,33,26,22,34,25,24,38,38,23,35,
        36,24,44,29,24,41,23,24,34,37,22,29,50,21,30,45,23,31,36,25,28,32,25,27,31,25,27,32,25,27,36,25,28,45,23,31,50,21,30,37,22,29,23,24,34,29,24,41};
    for (int32_t y = 0; y < 12; ++y)
        for (int32_t x = 0; x < 16; ++x)
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(p.row(y)[4 * x + c], kGolden[(y * 16 + x) * 3 + c], 1) << x << "," << y;
}

}  // namespace
