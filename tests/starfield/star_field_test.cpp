#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "saver/saver_state.h"
#include "starfield/motion_parameters.h"

namespace {

// A saver state with a built field of `count` stars, the flight settings
// given, and a 640 x 480 view; nothing is drawn (no canvas).
struct Flight {
    explicit Flight(int32_t count, int32_t moveSpeed = 500, int32_t rotSpeed = -25, int32_t smoothness = 30) {
        Settings& s = state.settings;
        ApplyFallbackDefaults(s);
        s.StarsCount = count;
        s.MoveSpeed = moveSpeed;
        s.RotSpeed = rotSpeed;
        s.Smoothness = smoothness;
        buildStarField(field(), s.StarsCount, PointStar());
        deriveMotionParameters(field(), s);
        setViewSize(field(), 640, 480);
    }
    StarField& field() { return state.starField; }
    int active() {
        return static_cast<int>(std::count_if(field().stars.begin(), field().stars.end(),
                                              [](const auto& s) { return s->active; }));
    }
    SaverState state;
};

DistributionMap singlePointMap(uint32_t x, uint32_t y) {
    DistributionMap map;
    map.cellWidth = 1;
    map.cellHeight = 1;
    map.levelCount[255] = 1;
    map.levelPoints[255] = {DistributionMap::Point{x, y}};
    return map;
}

}  // namespace

TEST(StarFieldBuild, MakesInactiveStarsAndGuardsTheCount) {
    Flight flight(100);
    EXPECT_EQ(flight.field().starCount, 100);
    EXPECT_EQ(flight.active(), 0);

    SaverState state;
    buildStarField(state.starField, -5, PointStar());  // a stored negative count
    EXPECT_EQ(state.starField.starCount, 0);
    buildStarField(state.starField, INT32_MAX, PointStar());  // an absurd one is held
    EXPECT_EQ(state.starField.starCount, kMaxStarCount);
}

TEST(MotionParameters, DerivedFromTheFlightSettings) {
    struct Case {
        int32_t move, expected;
    };
    for (const Case c : {Case{1, -2}, Case{50, -128}, Case{500, -1280}, Case{1000, -2560}}) {
        Flight flight(10, c.move);
        EXPECT_EQ(flight.field().moveStep, c.expected) << "MoveSpeed " << c.move;
    }
    Settings s;
    ApplyFallbackDefaults(s);
    s.StarsCount = 101;
    s.RotSpeed = -25;
    s.RoamFreq = 100;
    s.Smoothness = 1;
    s.RoamMagn = 10;
    SaverState state;
    deriveMotionParameters(state.starField, s);
    EXPECT_EQ(state.starField.spawnBudget, 50);
    EXPECT_EQ(state.starField.angleStep, -100);
    EXPECT_EQ(state.starField.roamPeriod, 1);
    EXPECT_DOUBLE_EQ(state.starField.azimuthRateScale, 1.0);
    EXPECT_DOUBLE_EQ(state.starField.tiltRateScale, 0.1);
    s.RoamFreq = 1;
    s.Smoothness = 100;
    deriveMotionParameters(state.starField, s);
    EXPECT_EQ(state.starField.roamPeriod, 10000);
}

TEST(StarFieldStep, SpawnBudgetFillsTheFieldOverTheFirstSteps) {
    for (const auto& [count, perStep] :
         std::vector<std::pair<int, std::vector<int>>>{{100, {50, 100, 100}}, {101, {50, 100, 101}}}) {
        Flight flight(count);
        for (int expected : perStep) {
            stepStarField(flight.field());
            EXPECT_EQ(flight.active(), expected) << count << " stars";
        }
    }
}

TEST(StarFieldStep, UniformPlacementLiesInTheSpawnBox) {
    Flight flight(2000);
    stepStarField(flight.field());
    for (const auto& star : flight.field().stars) {
        if (!star->active) continue;
        // One step of flight (at most 1280 forward) has passed since placement.
        EXPECT_GE(star->z, 166400 - 1280);
        EXPECT_LE(star->z, 256000);
        EXPECT_LE(std::abs(star->x), 320 * 256 + 1280);
        EXPECT_LE(std::abs(star->y), 240 * 256 + 1280);
        EXPECT_GE(star->fade, 200);
        EXPECT_LE(star->fade, 300);
    }
}

TEST(StarFieldStep, RollWrapsBothWaysButNotAtExactlyOneTurn) {
    Flight flight(0);
    StarField& f = flight.field();
    f.angleStep = 400;
    f.angle = 411500;
    stepStarField(f);
    EXPECT_EQ(f.angle, 126);

    f.angle = 411374;
    stepStarField(f);
    EXPECT_EQ(f.angle, 411774);  // exactly one turn stays

    f.angleStep = -400;
    f.angle = 100;
    stepStarField(f);
    EXPECT_EQ(f.angle, 411474);
}

TEST(StarFieldStep, RollSpeedZeroKeepsTheViewUnrotated) {
    Flight flight(50, 500, 0);
    for (int i = 0; i < 20; ++i) stepStarField(flight.field());
    EXPECT_EQ(flight.field().angle, 0);
}

TEST(Projection, RotatesAndScalesByDepth) {
    Flight flight(1);
    StarField& f = flight.field();
    PointStar star;
    star.x = 1000 * 256;
    star.y = 0;
    star.z = 255999;  // odd, so the divisor is the depth itself
    f.angle = 0;
    projectStar(f, star);
    EXPECT_EQ(f.projectedX, 256000LL * 65536 / 255999 * 256000 / 65536);
    EXPECT_EQ(f.projectedY, 0);

    f.angle = 102943;  // a quarter turn carries x onto y
    projectStar(f, star);
    EXPECT_EQ(f.projectedX, 0);
    EXPECT_EQ(f.projectedY, 256000);

    star.z = 127999;  // half as deep, twice as far from the centre
    f.angle = 0;
    projectStar(f, star);
    EXPECT_EQ(f.projectedX, 256000LL * 65536 / 127999 * 256000 / 65536);
}

TEST(Retirement, BoundedByTheWidthInBothDirections) {
    Flight flight(1);
    StarField& f = flight.field();
    f.velocityX = f.velocityY = 0;
    f.velocityZ = 0;
    f.angle = 0;
    const int32_t width = 2 * f.halfWidth;  // 640 pixels in 1/256
    auto survives = [&](int32_t x, int32_t y, int32_t z) {
        PointStar star;
        star.x = x;
        star.y = y;
        star.z = z;
        star.active = true;
        moveStar(f, star);
        return star.active;
    };
    constexpr int32_t kDepth = 255999;  // projects to itself within a unit
    // Below the visible area but within the width: stays in flight.
    EXPECT_TRUE(survives(0, f.halfHeight + 10000, kDepth));
    EXPECT_TRUE(survives(0, width - 512, kDepth));
    EXPECT_FALSE(survives(0, width + 512, kDepth));
    EXPECT_FALSE(survives(0, -(width + 512), kDepth));
    EXPECT_TRUE(survives(width - 512, 0, kDepth));
    EXPECT_FALSE(survives(width + 512, 0, kDepth));
    // Depth: only a negative z retires; z = 0 divides by 1 and lands outside.
    EXPECT_TRUE(survives(0, 0, 0));
    EXPECT_FALSE(survives(256, 0, 0));
    EXPECT_FALSE(survives(0, 0, -1));
}

TEST(PictureModeTimer, PhasesLast501Then1301Then6501Steps) {
    Flight flight(0, 50);  // MoveSpeed 50: moveStep -128
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
        Settings s;
        s.StarsCount = c.count;
        s.MoveSpeed = c.move;
        s.RotSpeed = c.rot;
        s.Smoothness = c.smooth;
        s.RoamFreq = c.freq;
        s.RoamMagn = c.magn;
        SaverState state;
        StarField& f = state.starField;
        buildStarField(f, s.StarsCount, PointStar());
        deriveMotionParameters(f, s);
        setViewSize(f, 320, 200);
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
