#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "flight.h"
#include "starfield/motion_parameters.h"

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
    f.velocityX = f.velocityY = f.velocityZ = 0;
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
        PointStar star;
        star.x = c.x;
        star.y = c.y;
        star.z = c.z;
        star.active = true;
        moveStar(f, star);
        EXPECT_EQ(star.active, c.survives) << c.x << ", " << c.y << ", " << c.z;
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
