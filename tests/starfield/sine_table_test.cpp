#include <gtest/gtest.h>

#include <cmath>

#include "starfield/sine_table.h"

TEST(SineTable, QuarterWaveRisesAndMakesAFullTurn) {
    const SineTable t;
    for (int i = 1; i <= 4096; ++i) ASSERT_GE(t.entry(i), t.entry(i - 1));
    EXPECT_EQ(t.sine(0), 0);
    EXPECT_EQ(t.sine(kAngleQuarter), 65536);
    EXPECT_EQ(t.sine(kAngleHalf), 0);
    EXPECT_EQ(t.sine(kAngleHalf + kAngleQuarter), -65536);
    EXPECT_EQ(t.sine(kAngleTurn), t.sine(0));  // a full turn is sine 0
    EXPECT_EQ(t.cosine(0), 65536);
    EXPECT_EQ(t.cosine(kAngleQuarter), 0);
    // Odd symmetry across the half turn and periodicity.
    for (int64_t a : {1000, 50000, 100000, 150000, 200000}) {
        EXPECT_EQ(t.sine(a + kAngleHalf), -t.sine(a)) << a;
        EXPECT_EQ(t.sine(a + kAngleTurn), t.sine(a)) << a;
        EXPECT_NEAR(static_cast<double>(t.sine(a)) / 65536.0, std::sin(a * 6.283185307179586 / 411774.0), 0.002);
    }
}
