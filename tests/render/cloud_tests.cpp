#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <vector>

#include "render/cloud_image.h"
#include "render/cloud_layer.h"
#include "render/pixel_order.h"
#include "starfield/random.h"

namespace {

// A picture in memory with padded rows; the padding is filled with a marker
// so writes past a row's pixels show.
struct Picture {
    static constexpr uint8_t kMarker = 0xA5;
    std::vector<uint8_t> bytes;
    FrameTarget target;
    int32_t rowBytes;
    Picture(int32_t width, int32_t height, int32_t format) : rowBytes(width * bytesPerPixel(format)) {
        const int32_t pitch = rowBytes + 12;
        bytes.assign(static_cast<size_t>(pitch) * static_cast<size_t>(height), kMarker);
        target = FrameTarget{bytes.data(), pitch, width, height, format};
    }
    bool paddingIntact() const {
        for (int32_t y = 0; y < target.height; ++y)
            for (int32_t i = rowBytes; i < target.pitch; ++i)
                if (target.row(y)[i] != kMarker) return false;
        return true;
    }
    // Blue, green, red of pixel (x, y) as 8-bit channel values.
    std::array<int, 3> bgr(int32_t x, int32_t y) const {
        uint32_t v = 0;
        std::memcpy(&v, target.row(y) + x * bytesPerPixel(target.format), static_cast<size_t>(bytesPerPixel(target.format)));
        if (bytesPerPixel(target.format) == 4) return {int(v & 255), int(v >> 8 & 255), int(v >> 16 & 255)};
        const bool is565 = target.format == kFormatR5G6B5;
        return {int(v & 31), int(v >> (is565 ? 6 : 5) & 31), int(v >> (is565 ? 11 : 10) & 31)};
    }
};

uint32_t drawsBetween(Random before, const Random& after) {
    for (uint32_t n = 0; n < 10000000; ++n, before())
        if (before.state() == after.state()) return n;
    return UINT32_MAX;
}

CloudLayers drawnLayers(Random& rng, uint32_t clouds) {
    CloudLayers layers;
    const float freqMax[3] = {25.0f, 30.0f, 35.0f};
    for (uint32_t k = 0; k < 3; ++k) {
        layers[k].freqMax = freqMax[k];
        initCloudLayer(layers[k], clouds + 2 + k, rng);
    }
    return layers;
}

// One term whose value is `weight` wherever it is evaluated.
CloudLayer constantLayer(float weight) {
    CloudLayer layer;
    layer.termCount = 1;
    layer.weight = {weight};
    for (auto& f : layer.freq) f = {0.0f};
    for (auto& p : layer.phase) p = {1.5707964f};
    return layer;
}

// Largest channel difference between pixel x and its mirror image W - x.
int mirrorDifference(const Picture& p, int* unequal = nullptr) {
    int worst = 0;
    for (int32_t y = 0; y < p.target.height; ++y)
        for (int32_t x = 1; x < p.target.width; ++x) {
            const auto a = p.bgr(x, y), b = p.bgr(p.target.width - x, y);
            for (int c = 0; c < 3; ++c) {
                const int d = std::abs(a[c] - b[c]);
                worst = std::max(worst, d);
                if (unequal && d) ++*unequal;
            }
        }
    return worst;
}

TEST(PixelOrder, IsAShuffledPermutationWhoseCursorWraps) {
    Random rng(7);
    const Random before = rng;
    PixelOrder order;
    order.build(13, 7, rng);
    ASSERT_EQ(order.size(), 91u);
    EXPECT_EQ(drawsBetween(before, rng), 4u * (4u * 91u - 1u));

    std::set<uint32_t> seen;
    bool inRowOrder = true;
    for (uint32_t k = 0; k < order.size(); ++k) {
        const uint32_t e = order.entry(k);
        EXPECT_LT(PixelOrder::column(e), 13u);
        EXPECT_LT(PixelOrder::row(e), 7u);
        seen.insert(e);
        inRowOrder = inRowOrder && e == (k % 13 | (k / 13) << 16);
    }
    EXPECT_EQ(seen.size(), 91u);
    EXPECT_FALSE(inRowOrder);

    for (uint32_t k = 0; k < 90; ++k) order.next();
    EXPECT_EQ(order.cursor(), 90u);
    EXPECT_EQ(order.next(), order.entry(90));
    EXPECT_EQ(order.cursor(), 0u);
    EXPECT_EQ(order.next(), order.entry(0));
}

TEST(PixelOrder, ASinglePixelIsSwappedWithItselfAndNoneIsNotShuffled) {
    Random rng(7);
    Random before = rng;
    PixelOrder order;
    order.build(1, 1, rng);
    EXPECT_EQ(order.size(), 1u);
    EXPECT_EQ(order.entry(0), 0u);
    EXPECT_EQ(drawsBetween(before, rng), 12u);
    before = rng;
    order.build(0, 5, rng);
    EXPECT_EQ(order.size(), 0u);
    EXPECT_EQ(rng.state(), before.state());
}

// The layer's values themselves are pinned by the nebula's golden picture.
TEST(CloudLayer, DrawsSevenValuesPerTermAndHoldsTheDensity) {
    Random rng(99);
    const Random before = rng;
    CloudLayer layer;
    layer.freqMax = 25.0f;
    initCloudLayer(layer, 3, rng);
    ASSERT_EQ(layer.termCount, 3u);
    EXPECT_EQ(drawsBetween(before, rng), 21u);

    // Densities beyond the richest offered one are held there.
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
    driftCloudLayer(layer, 0.001f, rng);
    EXPECT_EQ(drawsBetween(start, rng), 28u);
    for (uint32_t i = 0; i < 4; ++i) {
        EXPECT_NE(layer.weight[i], before.weight[i]);
        EXPECT_NEAR(layer.weight[i] / before.weight[i], 1.0f, 0.0011f);
        for (int a = 0; a < 3; ++a) {
            EXPECT_NEAR(layer.freq[a][i] / before.freq[a][i], 1.0f, 0.0011f);
            EXPECT_NEAR(layer.phase[a][i] / before.phase[a][i], 1.0f, 0.0011f);
        }
    }
}

TEST(CloudLayer, ValueIsCentredOnPointSix) {
    EXPECT_FLOAT_EQ(cloudValue(CloudLayer{}, 0.3f, 0.2f, 0.1f), 0.6f);
    const CloudLayer one = constantLayer(0.5f);
    EXPECT_FLOAT_EQ(cloudValue(one, 0.3f, -0.2f, 0.0f), 0.75f);
    Random rng(5);
    CloudLayer layer;
    layer.freqMax = 25.0f;
    initCloudLayer(layer, 12, rng);
    float third[kMaxCloudTerms];
    cloudThirdSines(layer, 0.25f, third);
    EXPECT_EQ(cloudValueWithThirdSines(layer, 0.1f, -0.7f, third), cloudValue(layer, 0.1f, -0.7f, 0.25f));
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
        std::array<int, 3> bgr;
    };
    for (const Case& c : {Case{kFormatX8R8G8B8, {255, 24, 0}}, Case{kFormatA8R8G8B8, {255, 24, 0}},
                          Case{kFormatR5G6B5, {0, 3, 31}}, Case{kFormatX1R5G5B5, {0, 3, 31}}}) {
        SCOPED_TRACE(c.format);
        Picture p(5, 3, c.format);
        Random rng(1);
        PixelOrder order;
        fillCloudImage(p.target, layers, 0.0f, order, rng);
        EXPECT_TRUE(p.paddingIntact());
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < 5; ++x) {
                EXPECT_EQ(p.bgr(x, y), c.bgr);
                uint32_t raw = 0;
                std::memcpy(&raw, p.target.row(y) + x * bytesPerPixel(c.format), static_cast<size_t>(bytesPerPixel(c.format)));
                // Bit 5 of R5G6B5, bit 15 of X1R5G5B5 and byte 3 are written as 0.
                const uint32_t unused = c.format == kFormatR5G6B5     ? 0x20u
                                        : c.format == kFormatX1R5G5B5 ? 0x8000u
                                                                      : 0xFF000000u;
                EXPECT_EQ(raw & unused, 0u);
            }
    }
}

TEST(CloudImage, OtherFormatsAreLeftUnwrittenButTheOrderIsBuilt) {
    Random rng(1);
    const CloudLayers layers = drawnLayers(rng, 2);
    std::vector<uint8_t> bytes(64, 0x5A);
    const FrameTarget image{bytes.data(), 16, 4, 4, 20};
    PixelOrder order;
    fillCloudImage(image, layers, 0.0f, order, rng);
    refreshCloudImage(image, 10, layers, 0.1f, order);
    EXPECT_EQ(order.size(), 16u);
    EXPECT_EQ(order.cursor(), 10u);
    EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0x5A; }));
}

TEST(CloudImage, StartUpPictureHasNoSeamAndIsMirrorSymmetric) {
    for (int32_t format : {kFormatX8R8G8B8, kFormatR5G6B5}) {
        SCOPED_TRACE(format);
        Random rng = Random::seededForSaver();
        const CloudLayers layers = drawnLayers(rng, 10);
        Picture p(96, 54, format);
        PixelOrder order;
        fillCloudImage(p.target, layers, 0.0f, order, rng);
        // Rounding in the float mirror image may tip a truncated channel by one.
        int unequal = 0;
        EXPECT_LE(mirrorDifference(p, &unequal), 1);
        EXPECT_LT(unequal, 96 * 54 * 3 / 100);

        // Across the left half of the centre row the picture is as smooth as
        // across the right half (an angle jumping from pi to -pi would not be).
        const auto step = [&](int32_t x0, int32_t x1) {
            int worst = 0;
            for (int32_t x = x0; x < x1; ++x)
                for (int c = 0; c < 3; ++c)
                    worst = std::max(worst, std::abs(p.bgr(x, 27)[c] - p.bgr(x, 26)[c]));
            return worst;
        };
        EXPECT_LE(step(1, 48), step(49, 96) + 1);
    }
}

TEST(CloudImage, AFullRefreshCycleRenewsEveryPixelOnceAndDrawsNothing) {
    Random rng = Random::seededForSaver();
    const CloudLayers layers = drawnLayers(rng, 4);
    Picture filled(37, 23, kFormatX8R8G8B8);
    PixelOrder order;
    fillCloudImage(filled.target, layers, 0.002f, order, rng);

    // The same layers and time through the order give the same picture.
    Picture renewed(37, 23, kFormatX8R8G8B8);
    const Random before = rng;
    refreshCloudImage(renewed.target, 37 * 23 - 5, layers, 0.002f, order);
    EXPECT_NE(renewed.bytes, filled.bytes);
    refreshCloudImage(renewed.target, 5, layers, 0.002f, order);
    EXPECT_EQ(renewed.bytes, filled.bytes);
    EXPECT_EQ(order.cursor(), 0u);
    EXPECT_EQ(rng.state(), before.state());

    // An empty order renews nothing.
    PixelOrder none;
    refreshCloudImage(renewed.target, 1000, layers, 0.0f, none);
    EXPECT_EQ(renewed.bytes, filled.bytes);
}

}  // namespace
