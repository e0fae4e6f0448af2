#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "raster/test_frame.h"
#include "render/cloud_image.h"
#include "render/cloud_layer.h"
#include "render/pixel_order.h"
#include "starfield/generator_draws.h"

namespace {

// One term whose value is `weight` wherever it is evaluated.
CloudLayer constantLayer(float weight) {
    CloudLayer layer;
    layer.termCount = 1;
    layer.weight = {weight};
    for (auto& f : layer.freq) f = {0.0f};
    for (auto& p : layer.phase) p = {1.5707964f};
    return layer;
}

TEST(PixelOrder, ASinglePixelIsSwappedWithItselfAndNoneIsNotShuffled) {
    Random rng(7);
    Random before = rng;
    PixelOrder order;
    order.build(1, 1, rng);
    EXPECT_EQ(order.size(), 1u);
    EXPECT_EQ(drawsBetween(before, rng), 12u);
    before = rng;
    order.build(0, 5, rng);
    EXPECT_EQ(order.size(), 0u);
    EXPECT_EQ(rng.state(), before.state());
}

// The layer's values are pinned by the nebula's golden picture and the
// generator draws by the renderer's tests; densities beyond the richest
// offered one are held there.
TEST(CloudLayer, HoldsTheDensity) {
    Random rng(99);
    CloudLayer layer;
    initCloudLayer(layer, 1000000, rng);
    EXPECT_EQ(layer.termCount, kMaxCloudTerms);
    EXPECT_EQ(layer.weight.size(), kMaxCloudTerms);
}

TEST(CloudLayer, DriftScalesEveryValueByAtMostTheAmplitude) {
    Random rng(3);
    CloudLayer layer;
    layer.freqMax = 30.0f;
    initCloudLayer(layer, 4, rng);
    const CloudLayer before = layer;
    const Random start = rng;
    driftCloudLayer(layer, 0.1f, rng);
    EXPECT_EQ(drawsBetween(start, rng), 28u);
    float widest = 0.0f;
    auto expectNudged = [&](float now, float was) {
        EXPECT_NE(now, was);
        EXPECT_LE(std::abs(now / was - 1.0f), 0.1f + 1e-6f);
        widest = std::max(widest, std::abs(now / was - 1.0f));
    };
    for (uint32_t i = 0; i < 4; ++i) {
        expectNudged(layer.weight[i], before.weight[i]);
        for (int a = 0; a < 3; ++a) {
            expectNudged(layer.freq[a][i], before.freq[a][i]);
            expectNudged(layer.phase[a][i], before.phase[a][i]);
        }
    }
    EXPECT_GT(widest, 0.08f) << "the nudges span the amplitude";
}

// The layer's value against the plain sum in double precision, over the
// arguments pictures and long drift produce and far beyond them (where the
// terms' own sines take another path).
TEST(CloudLayer, ValueFollowsTheSumOfSineProducts) {
    Random rng(11);
    for (uint32_t terms : {1u, 3u, 12u, 14u}) {
        CloudLayer layer;
        layer.freqMax = 35.0f;
        initCloudLayer(layer, terms, rng);
        for (float scale : {1.0f, 40.0f, 3000.0f}) {
            for (int k = 0; k < 200; ++k) {
                const float a = scale * (static_cast<float>(rng()) / 16384.0f - 1.0f);
                const float b = scale * (static_cast<float>(rng()) / 16384.0f - 1.0f);
                const float c = static_cast<float>(rng()) / 32767.0f;
                double sum = 0.0, magnitude = 0.0;
                for (uint32_t i = 0; i < terms; ++i) {
                    const double term = double{layer.weight[i]} *
                                        std::sin(double{a * layer.freq[0][i] + layer.phase[0][i]}) *
                                        std::sin(double{b * layer.freq[1][i] + layer.phase[1][i]}) *
                                        std::sin(double{c * layer.freq[2][i] + layer.phase[2][i]});
                    sum += term;
                    magnitude += std::abs(layer.weight[i]);
                }
                ASSERT_NEAR(cloudValue(layer, a, b, c), 0.6 + 0.3 * sum, 2e-6 * (1.0 + magnitude))
                    << terms << " terms at " << a << ", " << b;
            }
        }
    }
}

TEST(CloudImage, ChannelsAreHeldToTheirRangeInEveryFormat) {
    // Layer 0 far above its channel's top, layer 1 at 0.6, layer 2 below 0.
    const CloudLayers layers = {constantLayer(20.0f), CloudLayer{}, constantLayer(-10.0f)};
    struct Case {
        int32_t format;
        std::array<uint32_t, 3> bgr;
    };
    for (const Case& c : {Case{kFormatX8R8G8B8, {255, 24, 0}}, Case{kFormatA8R8G8B8, {255, 24, 0}},
                          Case{kFormatR5G6B5, {0, 3, 31}}, Case{kFormatX1R5G5B5, {0, 3, 31}}}) {
        SCOPED_TRACE(c.format);
        TestFrame p(5, 3, c.format, 0xA5);
        Random rng(1);
        PixelOrder order;
        fillCloudImage(p.target, layers, 0.0f, order, rng);
        EXPECT_FALSE(p.changedOutside(0, 0, 4, 2));
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < 5; ++x) {
                // Bit 5 of R5G6B5, bit 15 of X1R5G5B5 and byte 3 are written as 0.
                EXPECT_EQ(p.pixel(x, y), pixelOf(c.bgr, c.format));
            }
    }
}

TEST(CloudImage, OtherFormatsAreLeftUnwrittenButTheOrderIsBuilt) {
    Random rng(1);
    CloudLayers layers;
    initCloudLayers(layers, 2, rng);
    TestFrame image(4, 4, 20 /* a 24-bit format */, 0x5A);
    PixelOrder order;
    fillCloudImage(image.target, layers, 0.0f, order, rng);
    refreshCloudImage(image.target, 10, layers, 0.1f, order);
    EXPECT_EQ(order.size(), 16u);
    EXPECT_FALSE(image.changedOutside(-1, -1, -1, -1));
}

// Renewal goes through every pixel once per cycle, in a shuffled order. (It
// draws nothing from the generator: the renderer's tests count the draws.)
TEST(CloudImage, AFullRefreshCycleRenewsEveryPixelOnce) {
    Random rng = Random::seededForSaver();
    CloudLayers layers;
    initCloudLayers(layers, 4, rng);
    TestFrame filled(37, 23, kFormatX8R8G8B8);
    PixelOrder order;
    fillCloudImage(filled.target, layers, 0.002f, order, rng);

    // A row's worth of renewal reaches beyond the first row; the same layers
    // and time through the order give the same picture, and so does the
    // next cycle.
    TestFrame renewed(37, 23, kFormatX8R8G8B8), again(37, 23, kFormatX8R8G8B8);
    refreshCloudImage(renewed.target, 37, layers, 0.002f, order);
    EXPECT_TRUE(renewed.changedOutside(0, 0, 36, 0));
    refreshCloudImage(renewed.target, 37 * 22 - 5, layers, 0.002f, order);
    EXPECT_NE(renewed.bytes, filled.bytes);
    refreshCloudImage(renewed.target, 5, layers, 0.002f, order);
    EXPECT_EQ(renewed.bytes, filled.bytes);
    refreshCloudImage(again.target, 37 * 23, layers, 0.002f, order);
    EXPECT_EQ(again.bytes, filled.bytes);

    // An empty order renews nothing.
    PixelOrder none;
    refreshCloudImage(renewed.target, 1000, layers, 0.0f, none);
    EXPECT_EQ(renewed.bytes, filled.bytes);
}

}  // namespace
