#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <tuple>
#include <vector>

#include "fault_device.h"
#include "saver/frame_rate_display.h"
#include "saver/frame_tick.h"
#include "starfield/flight.h"
#include "starfield/generator_draws.h"

namespace {

bool allZero(const FrameTarget& f) {
    const std::vector<uint8_t> bytes = frameBytes(f);
    return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; });
}

// A saver with the given Clouds and stars over a fault device.
struct Rig {
    explicit Rig(int32_t clouds, int32_t stars = 300, int32_t antiAlias = 2)
        : flight(stars, [=](Settings& s) {
              s.Clouds = clouds;
              s.AntiAliase = antiAlias;
          }) {}
    Renderer& renderer() { return saver.renderer; }
    int32_t clouds() const { return saver.settings.Clouds; }
    void frame() { runFrame(saver); }

    Flight flight;
    SaverState& saver = flight.state;
    FaultDevice device{kFormatX8R8G8B8};
};

TEST(Renderer, WithoutCloudsOnlyTheFrameExistsAndEveryFrameStartsBlack) {
    Rig rig(0, 0);
    const Random before = rig.saver.rng;
    ASSERT_EQ(rig.renderer().init(rig.device, nullptr, 64, 48), 0);
    EXPECT_EQ(rig.saver.rng.state(), before.state());
    EXPECT_EQ(rig.device.count(Op::CreateCloudImage) + rig.device.count(Op::CreateEnlargementImages), 0);
    EXPECT_EQ(rig.saver.cloudLayers[0].termCount, 0u);

    EXPECT_EQ(rig.renderer().beginFrame(), 0);
    const StarCanvas canvas = rig.saver.starField.view.canvas;
    ASSERT_FALSE(canvas.frame.empty());
    canvas.frame.row(5)[7] = 200;  // what the stars leave must not survive the next frame
    EXPECT_EQ(rig.renderer().presentFrame(), 0);
    EXPECT_TRUE(rig.saver.starField.view.canvas.frame.empty());
    EXPECT_EQ(rig.device.shown.row(5)[7], 200);
    rig.frame();
    EXPECT_TRUE(allZero(rig.device.shown));
    EXPECT_EQ(rig.device.count(Op::ClearFrame), 2);
    EXPECT_EQ(rig.device.count(Op::LockCloudImage), 0);
}

// Stored densities beyond the offered 1..10 are held to them.
TEST(Renderer, NebulaDrawsInTheOrderTheStarFieldSharesTheGeneratorIn) {
    for (const auto& [clouds, density] : {std::pair{1, 1u}, {10, 10u}, {500, 10u}, {-3, 1u}}) {
        SCOPED_TRACE(clouds);
        Rig rig(clouds, 0);
        const Random before = rig.saver.rng;
        ASSERT_EQ(rig.renderer().init(rig.device, nullptr, 50, 30), 0);  // a 12 x 7 picture
        const uint32_t terms = 3 * density + 9;
        EXPECT_EQ(drawsBetween(before, rig.saver.rng), 7 * terms + 4 * (4 * 84 - 1));
        EXPECT_EQ(rig.saver.cloudLayers[0].termCount, density + 2);
        ASSERT_TRUE(rig.renderer().nebulaOn());

        const Random frameStart = rig.saver.rng;
        rig.renderer().beginFrame();
        EXPECT_EQ(drawsBetween(frameStart, rig.saver.rng), 7 * terms);
        rig.renderer().presentFrame();
        EXPECT_FALSE(allZero(rig.device.shown));
    }
}

TEST(Renderer, PresenterFailuresEndTheStartWithTheirCodes) {
    Rig noGraphics(5);
    noGraphics.device.failFrom(Op::OpenGraphics);
    EXPECT_EQ(noGraphics.renderer().init(noGraphics.device, nullptr, 64, 48), kResultFail);
    EXPECT_EQ(noGraphics.device.count(Op::CreatePresenter), 0);

    Rig noDevice(5);
    noDevice.device.failFrom(Op::CreatePresenter);
    EXPECT_EQ(noDevice.renderer().init(noDevice.device, nullptr, 64, 48), FaultDevice::kInjected);
    EXPECT_EQ(noDevice.device.count(Op::CreateCloudImage), 0);
    // Frames are refused rather than run on a renderer that never started.
    EXPECT_EQ(noDevice.renderer().beginFrame(), kResultInvalidCall);
    EXPECT_EQ(noDevice.renderer().presentFrame(), kResultInvalidCall);
    EXPECT_EQ(noDevice.device.count(Op::Present), 0);
}

TEST(Renderer, ACloudFailureAtStartLeavesTheSaverRunningOnBlack) {
    struct Case {
        Op op;
        uint32_t layerDraws;  // terms drawn before the failure
        bool ordered;         // the order of renewal was built
    };
    const uint32_t terms = 3 * 4 + 9;
    for (const Case& c : {Case{Op::CreateCloudImage, 0, false}, Case{Op::CreateEnlargementImages, 0, false},
                          Case{Op::LockCloudImage, 7 * terms, false}, Case{Op::UnlockCloudImage, 7 * terms, true}}) {
        SCOPED_TRACE(static_cast<int>(c.op));
        Rig rig(4, 200);
        rig.device.failFrom(c.op);
        const Random before = rig.saver.rng;
        ASSERT_EQ(rig.renderer().init(rig.device, nullptr, 64, 48), 0);
        EXPECT_EQ(rig.clouds(), 0);
        EXPECT_FALSE(rig.renderer().nebulaOn());
        EXPECT_EQ(drawsBetween(before, rig.saver.rng), c.layerDraws + (c.ordered ? 4 * (4 * 192 - 1) : 0));

        const size_t logged = rig.device.log.size();
        const Random frameStart = rig.saver.rng;
        rig.renderer().beginFrame();
        EXPECT_EQ(rig.saver.rng.state(), frameStart.state());  // no drift
        stepStarField(rig.saver.starField);
        rig.renderer().presentFrame();
        const std::vector<Op> frameOps(rig.device.log.begin() + static_cast<long>(logged), rig.device.log.end());
        EXPECT_EQ(frameOps, (std::vector<Op>{Op::ClearFrame, Op::LockFrame, Op::UnlockFrame, Op::Present}));
        EXPECT_FALSE(allZero(rig.device.shown));  // the stars still fly
    }
}

TEST(Renderer, ACloudFailureDuringAFrameClearsThatFrameAndEndsTheNebula) {
    for (Op op : {Op::LockCloudImage, Op::UnlockCloudImage, Op::EnlargeCloudImage, Op::CopyEnlargementToFrame}) {
        SCOPED_TRACE(static_cast<int>(op));
        Rig rig(3, 0);
        // The start-up lock counts as the first use of the cloud image's lock.
        rig.device.failFrom(op, op == Op::LockCloudImage || op == Op::UnlockCloudImage ? 3 : 2);
        ASSERT_EQ(rig.renderer().init(rig.device, nullptr, 64, 48), 0);
        rig.frame();
        EXPECT_FALSE(allZero(rig.device.shown));
        EXPECT_EQ(rig.clouds(), 3);
        rig.frame();
        EXPECT_EQ(rig.clouds(), 0);
        EXPECT_TRUE(allZero(rig.device.shown));
        const int enlargements = rig.device.count(Op::EnlargeCloudImage);
        const Random before = rig.saver.rng;
        rig.frame();
        EXPECT_EQ(rig.saver.rng.state(), before.state());
        EXPECT_EQ(rig.device.count(Op::EnlargeCloudImage), enlargements);
        EXPECT_TRUE(allZero(rig.device.shown));
    }
}

TEST(Renderer, AFrameThatCannotBeLockedGetsNoStarsButIsStillShown) {
    Rig rig(0, 2000, 0);
    rig.device.failFrom(Op::LockFrame, 2);
    ASSERT_EQ(rig.renderer().init(rig.device, nullptr, 64, 48), 0);
    rig.frame();
    EXPECT_EQ(rig.renderer().beginFrame(), FaultDevice::kInjected);
    EXPECT_TRUE(rig.saver.starField.view.canvas.frame.empty());
    stepStarField(rig.saver.starField);
    rig.renderer().presentFrame();
    EXPECT_EQ(rig.device.count(Op::UnlockFrame), 1);
    EXPECT_EQ(rig.device.count(Op::Present), 2);
    EXPECT_TRUE(allZero(rig.device.shown));
}

TEST(Renderer, AnUnknownDisplayFormatShowsNothingAndReportsNoError) {
    Rig rig(2, 2000, 0);
    rig.device.reportedFormat = 20;
    ASSERT_EQ(rig.renderer().init(rig.device, nullptr, 64, 48), 0);
    EXPECT_EQ(rig.renderer().beginFrame(), 0);
    stepStarField(rig.saver.starField);
    EXPECT_EQ(rig.renderer().presentFrame(), 0);
    EXPECT_TRUE(rig.renderer().nebulaOn());
    EXPECT_TRUE(allZero(rig.device.shown));
}

TEST(Renderer, FramesTooSmallForAPictureRunWithoutTheNebula) {
    Rig rig(5, 0);
    ASSERT_EQ(rig.renderer().init(rig.device, nullptr, 3, 200), 0);
    EXPECT_EQ(rig.clouds(), 0);
    EXPECT_EQ(rig.device.count(Op::CreateCloudImage), 0);
}

TEST(Renderer, OddFrameSizesGetATruncatedPictureEnlargedOverTheWholeFrame) {
    for (int32_t format : {kFormatX8R8G8B8, kFormatA8R8G8B8, kFormatR5G6B5, kFormatX1R5G5B5}) {
        SCOPED_TRACE(format);
        Rig rig(6, 0);
        FaultDevice device(format);
        ASSERT_EQ(rig.renderer().init(device, nullptr, 45, 31), 0);
        ASSERT_TRUE(rig.renderer().nebulaOn());
        const FrameTarget picture = device.peekCloudImage();
        rig.renderer().beginFrame();
        const FrameTarget frame = rig.saver.starField.view.canvas.frame;
        // The corners show the picture's corners (11 x 7), the edges extended.
        const int bpp = bytesPerPixel(format);
        EXPECT_EQ(std::memcmp(frame.row(0), picture.row(0), static_cast<size_t>(bpp)), 0);
        EXPECT_EQ(std::memcmp(frame.row(30) + 44 * bpp, picture.row(6) + 10 * bpp, static_cast<size_t>(bpp)), 0);
        rig.renderer().presentFrame();
        rig.renderer().release();
    }
}

// Where the device keeps its frame, only the last frame's stars are
// blackened; every frame is the one a whole clear gives, also after a frame
// that could not be locked, a step outside a frame and a second step in one.
TEST(Renderer, ErasingTheLastFramesStarsGivesTheFramesAWholeClearGives) {
    for (int32_t format : {kFormatX8R8G8B8, kFormatR5G6B5, kFormatX1R5G5B5})
        for (int32_t antiAlias : {0, 1, 5}) {
            SCOPED_TRACE(::testing::Message() << format << " mode " << antiAlias);
            Rig erased(0, 300, antiAlias), cleared(0, 300, antiAlias);
            FaultDevice eraser(format), clearer(format);
            clearer.keepFrame = false;
            eraser.failFrom(Op::LockFrame, 30);
            ASSERT_EQ(erased.renderer().init(eraser, nullptr, 320, 240), 0);
            ASSERT_EQ(cleared.renderer().init(clearer, nullptr, 320, 240), 0);
            for (int frame = 1; frame <= 60; ++frame) {
                if (frame == 31) eraser.failFrom(Op::LockFrame, 1000);  // only the 30th lock failed
                for (Rig* rig : {&erased, &cleared}) {
                    if (frame == 40) stepStarField(rig->saver.starField);  // no frame to draw into
                    rig->renderer().beginFrame();
                    stepStarField(rig->saver.starField);
                    if (frame == 50) stepStarField(rig->saver.starField);
                    rig->renderer().presentFrame();
                }
                if (frame == 30) {  // its stars are not drawn where the lock failed
                    EXPECT_TRUE(allZero(eraser.shown));
                    continue;
                }
                ASSERT_TRUE(frameBytes(eraser.shown) == frameBytes(clearer.shown)) << "frame " << frame;
            }
            EXPECT_LT(eraser.count(Op::ClearFrame), 10) << "the stars were erased";
            EXPECT_EQ(clearer.count(Op::ClearFrame), 60);
        }
}

// The frame rate is erased with the stars: when its text gets shorter
// ("FPS: 10.0", then "FPS: 9.8") a kept frame shows no digit of the longer.
TEST(Renderer, AKeptFrameLosesTheLastFrameRateTextWithItsStars) {
    Rig erased(0, 3000, 1), cleared(0, 3000, 1);
    FaultDevice eraser(kFormatX8R8G8B8), clearer(kFormatX8R8G8B8);
    clearer.keepFrame = false;
    ASSERT_EQ(erased.renderer().init(eraser, nullptr, 320, 240), 0);
    ASSERT_EQ(cleared.renderer().init(clearer, nullptr, 320, 240), 0);
    FrameRateDisplay erasedRate, clearedRate;
    uint64_t ms = 0;
    for (int frame = 1; frame <= 40; ++frame, ms += frame <= 20 ? 100 : 102) {
        erasedRate.countFrame(ms);
        clearedRate.countFrame(ms);
        runFrame(erased.saver, &erasedRate);
        runFrame(cleared.saver, &clearedRate);
        ASSERT_TRUE(frameBytes(eraser.shown) == frameBytes(clearer.shown)) << "frame " << frame;
    }
    EXPECT_EQ(erasedRate.tenthsPerSecond(), 98);
    EXPECT_LT(eraser.count(Op::ClearFrame), 5) << "the stars were erased";
}

// A screen that lends its own memory gets the very frames the device would
// have drawn in memory of its own; a frame it cannot lend memory for is
// neither drawn nor shown, and ends nothing.
TEST(Renderer, AScreensLentMemoryGetsTheSameFramesAndAFrameWithoutItIsSkipped) {
    for (const auto& [clouds, antiAlias] : {std::pair{0, 3}, {4, 5}, {0, 0}}) {
        SCOPED_TRACE(::testing::Message() << "clouds " << clouds << " mode " << antiAlias);
        Rig own(clouds, 600, antiAlias), lent(clouds, 600, antiAlias);
        constexpr int32_t kWidth = 90, kHeight = 70, kPitch = kWidth * 4 + 8;
        struct LendingScreen final : FrameScreen {
            std::vector<uint8_t> pixels = std::vector<uint8_t>(static_cast<size_t>(kPitch) * kHeight, 0x5A);
            bool lending = true;
            int shows = 0;
            const uint8_t* shownPixels = nullptr;
            FrameTarget lendFrame(int32_t w, int32_t h, int32_t format) override {
                return lending ? FrameTarget{pixels.data(), kPitch, w, h, format} : FrameTarget{};
            }
            void showFrame(const FrameTarget& f) override {
                ++shows;
                shownPixels = f.pixels;
            }
        } screen;
        SoftwareDevice device(kFormatX8R8G8B8, screen);
        ASSERT_EQ(own.renderer().init(own.device, nullptr, kWidth, kHeight), 0);
        ASSERT_EQ(lent.renderer().init(device, nullptr, kWidth, kHeight), 0);
        for (int frame = 0; frame < 40; ++frame) {
            screen.lending = frame != 20;
            own.frame();
            const int before = screen.shows;
            lent.frame();
            if (!screen.lending) {
                EXPECT_EQ(screen.shows, before);
                continue;
            }
            ASSERT_EQ(screen.shownPixels, screen.pixels.data()) << "drawn in place";
            const FrameTarget onScreen{screen.pixels.data(), kPitch, kWidth, kHeight, kFormatX8R8G8B8};
            ASSERT_TRUE(frameBytes(own.device.shown) == frameBytes(onScreen)) << "frame " << frame;
        }
        EXPECT_EQ(lent.renderer().nebulaOn(), clouds != 0);
        own.renderer().release();
        lent.renderer().release();
    }
}

// A screen that hands its display only the parts the device says changed
// shows every frame exactly: the stars that went, the new ones and the
// frame-rate text, with and without the nebula, drawn in its own memory or
// in the device's.
TEST(Renderer, AScreenHandedOnlyTheChangedPartsShowsEveryFrameWhole) {
    constexpr int32_t kWidth = 320, kHeight = 240, kPitch = kWidth * 4 + 16;
    struct PartialScreen final : FrameScreen {
        std::vector<uint8_t> lent = std::vector<uint8_t>(static_cast<size_t>(kPitch) * kHeight, 0x5A);
        std::vector<uint8_t> display = std::vector<uint8_t>(static_cast<size_t>(kWidth) * kHeight * 4, 0x33);
        bool lending = true;
        int partial = 0;
        FrameTarget last;
        FrameTarget lendFrame(int32_t w, int32_t h, int32_t format) override {
            return lending ? FrameTarget{lent.data(), kPitch, w, h, format} : FrameTarget{};
        }
        void put(const FrameTarget& f, const FrameDamage::Rect& r) {
            for (int32_t y = r.top; y < r.top + r.height; ++y)
                std::memcpy(&display[(static_cast<size_t>(y) * kWidth + r.left) * 4], f.row(y) + size_t{4} * r.left,
                            size_t{4} * r.width);
        }
        void showFrame(const FrameTarget& f) override {
            last = f;
            put(f, {0, 0, f.width, f.height});
        }
        void showChanged(const FrameTarget& f, FrameDamage& changed) override {
            if (changed.whole()) return showFrame(f);
            last = f;
            ++partial;
            for (const FrameDamage::Rect& r : changed.rects()) {
                ASSERT_TRUE(r.left >= 0 && r.top >= 0 && r.left + r.width <= f.width && r.top + r.height <= f.height);
                put(f, r);
            }
        }
    };
    for (const auto& [clouds, antiAlias, lending] : {std::tuple{0, 3, true}, {0, 0, false}, {0, 5, true}, {4, 2, true}}) {
        SCOPED_TRACE(::testing::Message() << "clouds " << clouds << " mode " << antiAlias << " lent " << lending);
        Rig rig(clouds, 60, antiAlias);
        PartialScreen screen;
        screen.lending = lending;
        SoftwareDevice device(kFormatX8R8G8B8, screen);
        ASSERT_EQ(rig.renderer().init(device, nullptr, kWidth, kHeight), 0);
        FrameRateDisplay rate;
        for (int frame = 0; frame < 60; ++frame) {
            rate.countFrame(uint64_t{70} * frame + (frame > 30 ? 13 * uint64_t(frame % 3) : 0));
            runFrame(rig.saver, frame >= 10 ? &rate : nullptr);
            const FrameTarget onDisplay{screen.display.data(), kWidth * 4, kWidth, kHeight, kFormatX8R8G8B8};
            ASSERT_FALSE(screen.last.empty());
            ASSERT_TRUE(frameBytes(onDisplay) == frameBytes(screen.last)) << "frame " << frame;
        }
        EXPECT_EQ(screen.partial > 40, clouds == 0) << "only what changed was handed on";
        rig.renderer().release();
    }
}

}  // namespace
