#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

#include "flight.h"
#include "raster/splat_table.h"
#include "raster/test_frame.h"
#include "starfield/motion_parameters.h"
#include "starfield/star_motion.h"

namespace {

int activeStars(const StarField& field) {
    return static_cast<int>(std::count(field.stars.active.begin(), field.stars.active.end(), 1));
}

DistributionMap singlePointMap(uint32_t x, uint32_t y) {
    DistributionMap map;
    map.cellWidth = 1;
    map.cellHeight = 1;
    map.levelCount[255] = 1;
    map.levelPoints[255] = {DistributionMap::Point{x, y}};
    return map;
}

// Everything a step leaves behind that lanes of any width must reproduce.
struct StepResult {
    std::vector<int32_t> fade, x, y, z;
    std::vector<uint8_t> active;
    std::vector<uint32_t> plotted;
    std::vector<int32_t> plotX, plotY, brightness;
    int32_t projectedX, projectedY;
    uint32_t generator;
    std::vector<uint8_t> frame;
    bool operator==(const StepResult&) const = default;
};

StepResult resultOf(const StarField& f, const TestFrame& frame) {
    const StarField::PendingPlots& p = f.pendingPlots;
    const auto firstPlots = [&p](const auto& values) { return std::vector(values.begin(), values.begin() + p.size()); };
    return {f.stars.fade, f.stars.x, f.stars.y, f.stars.z, f.stars.active, firstPlots(p.star), firstPlots(p.x),
            firstPlots(p.y), firstPlots(p.brightness), f.projectedX, f.projectedY, f.rng.state(), frame.bytes};
}

// The least x >= 0 at which a star at (x, 0, z) leaves the view under the
// field's current roll: the retirement bound, found through the projection.
int32_t boundaryX(StarField& f, int32_t z) {
    int32_t inside = 0, outside = INT32_MAX;
    while (outside - inside > 1) {
        const int32_t x = inside + (outside - inside) / 2;
        const starmotion::Projection at = starmotion::project(starmotion::motionOf(f), x, 0, z);
        const bool out = std::abs(int64_t{at.x}) >= 2 * int64_t{f.halfWidth} ||
                         std::abs(int64_t{at.y}) >= 2 * int64_t{f.halfWidth};
        (out ? outside : inside) = x;
    }
    return outside;
}

// Stars of every sort a flight may hold or a stored field may be pushed
// to: a random spread around the view, depths near 0, beyond 2^30 and
// negative, positions about to wrap, stars waiting to be placed, fades far
// beyond the placed ones (negative too), and stars one unit either side of the retirement
// bound at several depths.
void fillWithEdgeCases(StarField& f, uint32_t seed) {
    Random draw(seed);
    const auto wide = [&draw] {
        return static_cast<int32_t>(static_cast<uint32_t>(draw()) << 17 ^ static_cast<uint32_t>(draw()) << 2);
    };
    // 64 bits: the widest view's bound is 2^31. Spreads past 32 bits wrap.
    const int64_t bound = 2 * int64_t{f.halfWidth};
    const auto spread = [&draw, bound] { return static_cast<int32_t>(draw() % (3 * bound + 1) - 3 * bound / 2); };
    const int32_t depths[] = {1, 255, 256000, 255999, 166400, 1 << 20};
    for (size_t i = 0; i < f.stars.size(); ++i) {
        int32_t x = spread(), y = spread();
        int32_t z = draw() * 9;
        int32_t fade = 200 + draw() % 101;
        switch (i % 11) {
        case 1: z = draw() % 600 - 100; break;
        case 2: z = INT32_MAX - draw(); break;
        case 3: z = INT32_MIN + draw(); break;
        case 4: x = INT32_MAX - draw() % 4000, y = INT32_MIN + draw() % 4000; break;
        case 5: x = wide(), y = wide(), z = wide(); break;
        case 6: fade = i % 3 == 0 ? -draw() % 400 : i % 3 == 1 ? INT32_MIN + draw() : INT32_MAX - draw(); break;
        case 7: {
            const int32_t edge = boundaryX(f, depths[i / 11 % 6]);
            const int32_t at = edge == INT32_MAX ? 0 : edge + static_cast<int32_t>(i / 66 % 3) - 1;
            x = i / 198 % 2 ? at : -at, y = i / 396 % 2 ? x / 3 : 0, z = depths[i / 11 % 6];
            if (i / 792 % 2) std::swap(x, y);
            break;
        }
        default: break;
        }
        f.stars.fade[i] = fade;
        f.stars.x[i] = x;
        f.stars.y[i] = y;
        f.stars.z[i] = z;
        f.stars.active[i] = i % 13 == 5 ? 0 : 1;
    }
}

}  // namespace

TEST(StarFieldBuild, MakesInactiveStarsAndGuardsTheCount) {
    Flight flight(100);
    EXPECT_EQ(flight.field().starCount, 100);
    EXPECT_EQ(activeStars(flight.field()), 0);

    SaverState state;
    buildStarField(state.starField, -5, PointStar());  // a stored negative count
    EXPECT_EQ(state.starField.starCount, 0);
    buildStarField(state.starField, INT32_MAX, PointStar());  // an absurd one is held
    EXPECT_EQ(state.starField.starCount, kMaxStarCount);
}

TEST(MotionParameters, DerivedFromTheFlightSettings) {
    struct Case {
        int32_t move, rot, freq, smooth, magn;
        int32_t moveStep, angleStep, roamPeriod;
        double azimuthScale, tiltScale;
    };
    for (const Case c : {Case{1, -25, 100, 1, 10, -2, -100, 1, 1.0, 0.1}, Case{50, 5, 1, 100, 0, -128, 20, 10000, 0.0, 0.0},
                         Case{500, 100, 30, 30, 100, -1280, 400, 2130, 10.0, 1.0},
                         Case{1000, -100, 99, 7, 55, -2560, -400, 14, 5.5, 0.55}}) {
        SCOPED_TRACE(c.move);
        Flight flight(10, [&c](Settings& s) {
            s.MoveSpeed = c.move;
            s.RotSpeed = c.rot;
            s.RoamFreq = c.freq;
            s.Smoothness = c.smooth;
            s.RoamMagn = c.magn;
        });
        const StarField& f = flight.field();
        EXPECT_EQ(f.moveStep, c.moveStep);
        EXPECT_EQ(f.angleStep, c.angleStep);
        EXPECT_EQ(f.roamPeriod, c.roamPeriod);
        EXPECT_DOUBLE_EQ(f.azimuthRateScale, c.azimuthScale);
        EXPECT_DOUBLE_EQ(f.tiltRateScale, c.tiltScale);
    }
}

TEST(StarFieldStep, SpawnBudgetFillsTheFieldOverTheFirstSteps) {
    for (const auto& [count, perStep] :
         std::vector<std::pair<int, std::vector<int>>>{{100, {50, 100, 100}}, {101, {50, 100, 101}}}) {
        Flight flight(count);
        for (int expected : perStep) {
            stepStarField(flight.field());
            EXPECT_EQ(activeStars(flight.field()), expected) << count << " stars";
        }
    }
}

TEST(StarFieldStep, RollWrapsBothWaysButNotAtExactlyOneTurn) {
    struct Case {
        int32_t angle, step, expected;
    };
    for (const Case c : {Case{411500, 400, 126}, Case{411374, 400, 411774} /* exactly one turn stays */,
                         Case{100, -400, 411474}, Case{0, 0, 0} /* roll speed 0: never rotated */}) {
        Flight flight(0);
        flight.field().angle = c.angle;
        flight.field().angleStep = c.step;
        stepStarField(flight.field());
        EXPECT_EQ(flight.field().angle, c.expected) << c.angle << " + " << c.step;
    }
}

TEST(Retirement, BoundedByTheWidthInBothDirections) {
    Flight flight(1);
    StarField& f = flight.field();
    f.moveStep = 0;  // standing still and upright: the star is judged where it is put
    f.angleStep = 0;
    const int32_t width = 2 * f.halfWidth;  // 640 pixels in 1/256
    constexpr int32_t kDepth = 255999;      // projects to itself within a unit
    struct Case {
        int32_t x, y, z;
        bool survives;
    };
    // Below the visible area but within the width: stays in flight. Depth:
    // only a negative z retires; z = 0 divides by 1 and lands outside.
    for (const Case c : {Case{0, f.halfHeight + 10000, kDepth, true}, {0, width - 512, kDepth, true},
                         {0, width + 512, kDepth, false}, {0, -(width + 512), kDepth, false},
                         {width - 512, 0, kDepth, true}, {width + 512, 0, kDepth, false}, {0, 0, 0, true},
                         {256, 0, 0, false}, {0, 0, -1, false}}) {
        f.stars.x[0] = c.x;
        f.stars.y[0] = c.y;
        f.stars.z[0] = c.z;
        f.stars.active[0] = 1;
        stepStarField(f);
        EXPECT_EQ(f.stars.active[0] == 1, c.survives) << c.x << ", " << c.y << ", " << c.z;
    }
}

TEST(PictureModeTimer, PhasesLast501Then1301Then6501Steps) {
    Flight flight(0, [](Settings& s) { s.MoveSpeed = 50; });  // moveStep -128
    StarField& f = flight.field();
    f.pictures.push_back(singlePointMap(10, 20));
    std::vector<int> switches;
    int mode = 0;
    for (int step = 1; step <= 501 + 1301 + 6501 + 1; ++step) {
        stepStarField(f);
        if (f.pictureMode != mode) {
            mode = f.pictureMode;
            switches.push_back(step);
        }
    }
    EXPECT_EQ(switches, (std::vector<int>{501, 501 + 1301, 501 + 1301 + 6501}));
}

// Stored values far outside the offered ranges are flown as they are, but
// must never divide by zero, overflow or run away.
TEST(OutOfRangeSettings, FlyWithoutFaults) {
    struct Case {
        int32_t count, move, rot, smooth, freq, magn;
    };
    for (const Case c : {Case{200, 0, 0, 0, 1, 0}, Case{200, -500, 5, 0, 101, 10},
                         Case{200, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MAX},
                         Case{200, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MIN},
                         Case{-7, 50, 5, 100, 100, -1}}) {
        Flight flight(c.count, [&c](Settings& s) {
            s.MoveSpeed = c.move;
            s.RotSpeed = c.rot;
            s.Smoothness = c.smooth;
            s.RoamFreq = c.freq;
            s.RoamMagn = c.magn;
        });
        StarField& f = flight.field();
        f.pictures.push_back(singlePointMap(0, 0));
        f.modeCountdown = 3;
        EXPECT_NE(f.roamPeriod, 0);
        for (int step = 0; step < 50; ++step) {
            stepStarField(f);
            ASSERT_GE(f.angle, 0);
            ASSERT_LE(f.angle, 411774);
        }
    }
}

// The lanes move, retire, place and project exactly as the field does one
// star at a time, and so plot and draw the same: every width (a width this
// processor lacks falls back to a narrower one) against the plain pass,
// over edge-case stars, roll angles, focal lengths, speeds, view sizes and
// both kinds of drawing; block remainders by odd star counts.
TEST(StarPassLanes, EveryWidthGivesThePlainStarsPlotsAndFrames) {
    struct Case {
        const char* what;
        int32_t width, height, antiAlias, focalLength, stepScale, angleStep, budget, stars;
        int32_t angle = 1000;
    };
    // Standing still, the stars found on either side of the bound stay
    // there; a width of 1000 pixels lets 256000's projections reach the bound.
    for (const Case c : {Case{"flying, Disabled", 1920, 1080, 0, 256000, 256, 400, 40, 1003},
                         Case{"flying, Blurred", 1920, 1080, 5, 256000, 256, -100, 40, 1003},
                         Case{"standing on the bounds, rolled", 1000, 600, 0, 256000, 0, 0, 0, 1600, 33333},
                         Case{"standing on the bounds, upright", 1000, 600, 2, 256000, 0, 0, 5, 1587, 0},
                         Case{"standing on the bounds, unit focal length", 640, 480, 0, 65536, 0, 0, 5, 1590, 0},
                         Case{"focal length 1", 640, 480, 0, 1, 256, 20, 40, 801},
                         Case{"focal length 255", 800, 600, 3, 255, 256, 20, 40, 803},
                         Case{"odd focal length", 800, 600, 0, 99999, 256, 20, 40, 805},
                         Case{"widest focal length the lanes take", 1920, 1080, 0, 1 << 22, 256, 20, 40, 806},
                         Case{"focal length beyond the lanes", 1920, 1080, 0, (1 << 22) + 1, 256, 20, 40, 807},
                         Case{"negative focal length", 1920, 1080, 1, -256000, 256, 20, 40, 809},
                         Case{"no focal length", 1920, 1080, 0, 0, 256, 20, 40, 810},
                         Case{"fast", 1024, 768, 0, 256000, 100000, 20, 40, 811},
                         Case{"flying away", 1024, 768, 4, 256000, -70000, 20, 40, 812},
                         Case{"view wider than the lanes take", 1 << 23, 64, 0, 256000, 256, 20, 40, 813}}) {
        SCOPED_TRACE(c.what);
        std::vector<StepResult> results;
        for (StarLanes lanes : {StarLanes::Plain, StarLanes::Sse2, StarLanes::Avx2}) {
            Flight flight(c.stars);
            StarField& f = flight.field();
            f.lanes = lanes;
            setViewSize(f, c.width, c.height);
            f.focalLength = c.focalLength;
            f.stepScale = c.stepScale;
            f.angleStep = c.angleStep;
            f.angle = c.angle;
            f.spawnBudget = c.budget;
            TestFrame frame(std::min(c.width, 2000), std::min(c.height, 1200), kFormatX8R8G8B8, 0x20);
            const SplatTable table = buildSplatTable(splatWidthForMode(c.antiAlias));
            f.view.canvas = StarCanvas{frame.target, c.antiAlias ? &table : nullptr};
            fillWithEdgeCases(f, 77);
            for (int step = 0; step < 3; ++step) {
                stepStarField(f);
                results.push_back(resultOf(f, frame));
            }
        }
        EXPECT_TRUE(results[3] == results[0] && results[4] == results[1] && results[5] == results[2]) << "SSE2";
        EXPECT_TRUE(results[6] == results[0] && results[7] == results[1] && results[8] == results[2]) << "AVX2";
        EXPECT_GT(results[0].plotted.size(), 0u);
    }
}

// A kind of star with operations of its own: the field places its stars
// and draws each one through them, in star order, with the star's own
// fields and projection.
TEST(StarKinds, AKindOfItsOwnIsPlacedAndDrawnThroughItsOperations) {
    struct Drawn {
        int32_t x, y, z, fade, projectedX, projectedY;
        bool operator==(const Drawn&) const = default;
    };
    static std::vector<Drawn> drawn;
    class MarkedStar final : public Star {
    public:
        std::unique_ptr<Star> create() const override { return std::make_unique<MarkedStar>(); }
        void place(StarField& field) override {
            Star::place(field);
            fade = -x;  // marks the star as placed by this kind
        }
        void plot(const StarField& field) const override {
            drawn.push_back({x, y, z, fade, field.projectedX, field.projectedY});
        }
    };
    Flight flight(0);
    StarField& f = flight.field();
    buildStarField(f, 37, MarkedStar());
    f.spawnBudget = 20;
    for (int step = 0; step < 2; ++step) {
        drawn.clear();
        stepStarField(f);
        std::vector<Drawn> expected;
        for (size_t k = 0; k < f.pendingPlots.size(); ++k) {
            const size_t i = f.pendingPlots.star[k];
            ASSERT_TRUE(k == 0 || i > f.pendingPlots.star[k - 1]);
            EXPECT_EQ(f.stars.fade[i], -f.stars.x[i]);
            expected.push_back({f.stars.x[i], f.stars.y[i], f.stars.z[i], f.stars.fade[i], f.pendingPlots.x[k],
                                f.pendingPlots.y[k]});
        }
        EXPECT_EQ(drawn, expected);
        EXPECT_EQ(drawn.size(), step == 0 ? 20u : 37u);
    }
}
