// Frames allocate nothing: everything a frame needs is made when the flight
// and the renderer start, so a long run neither fragments the heap nor
// stalls in the allocator. This program counts every allocation it makes.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <utility>

#include "render/software_device.h"
#include "saver/flight.h"
#include "saver/frame_tick.h"
#include "saver/frame_rate_display.h"
#include "saver/saver_state.h"
#include "starfield/picture_decoder.h"

namespace {
std::atomic<uint64_t> allocations{0};
}  // namespace

// The replacements pair malloc with free; GCC sees library code inline the
// new of one and the delete of the other and takes them for a mismatch.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

// Every path is a picture of a bright disc on black.
class DiscPictures : public PictureDecoder {
public:
    bool loadPicture(const std::string&, Picture& picture) override {
        Picture p{64, 48, std::vector<uint8_t>(64 * 48 * 3, 0)};
        for (int32_t y = 0; y < p.height; ++y)
            for (int32_t x = 0; x < p.width; ++x)
                if ((x - 32) * (x - 32) + (y - 24) * (y - 24) < 400)
                    for (int c = 0; c < 3; ++c) p.rgb[static_cast<size_t>((y * p.width + x) * 3 + c)] = 220;
        picture = std::move(p);
        return true;
    }
};

// A hack's -fps also counts and draws its rate into every frame.
TEST(Frames, AllocateNothingInAnyFormatModeOrNebulaOrPictureModeNorWithTheFrameRate) {
    struct Case {
        int32_t format, antiAlias, clouds;
        bool pictures, frameRate;
    };
    for (const Case c : {Case{kFormatX8R8G8B8, 0, 0, false, false}, Case{kFormatX8R8G8B8, 5, 10, true, false},
                         Case{kFormatR5G6B5, 3, 4, true, true}, Case{kFormatX1R5G5B5, 1, 1, false, false}}) {
        SCOPED_TRACE(::testing::Message() << c.format << " mode " << c.antiAlias << " clouds " << c.clouds);
        auto saver = std::make_unique<SaverState>();
        Settings& s = saver->settings;
        ApplyFallbackDefaults(s);
        s.StarsCount = 3000;
        s.AntiAliase = c.antiAlias;
        s.Clouds = c.clouds;
        s.UseNUR = c.pictures;
        s.NURimages = {"disc"};
        DiscPictures decoder;
        prepareFlight(*saver, decoder);
        struct : FrameScreen {
            void showFrame(const FrameTarget&) override {}
        } screen;
        SoftwareDevice device(c.format, screen);
        ASSERT_EQ(saver->renderer.init(device, nullptr, 161, 121), 0);
        FrameRateDisplay rate;

        const uint64_t before = allocations.load();
        // Long enough for the stars to fill the view and, with pictures, for
        // the flight to switch to picture mode and back.
        for (uint64_t i = 0; i < 1500; ++i) {
            rate.countFrame(20 * i);
            runFrame(*saver, c.frameRate ? &rate : nullptr);
        }
        EXPECT_EQ(allocations.load() - before, 0u);
        EXPECT_EQ(saver->starField.pictures.empty(), !c.pictures);
        EXPECT_EQ(rate.tenthsPerSecond(), 500);
        saver->renderer.release();
    }
}

}  // namespace
