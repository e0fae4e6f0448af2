#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>
#include <vector>

#include "flight.h"
#include "generator_draws.h"
#include "starfield/brightness_map.h"
#include "starfield/distribution_map.h"
#include "starfield/distribution_pictures.h"

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

const LevelTable& levels() {
    static const LevelTable table;
    return table;
}

DistributionMap mapOf(const Picture& picture) {
    DistributionMap map;
    EXPECT_TRUE(buildPictureDistribution(picture, levels(), map));
    return map;
}

bool usable(const Picture& picture) {
    DistributionMap map;
    const bool ok = buildPictureDistribution(picture, levels(), map);
    EXPECT_EQ(ok, map.cellWidth != 0) << "a refused picture leaves its map empty";
    return ok;
}

using Points = std::vector<std::pair<uint32_t, uint32_t>>;

Points xy(const std::vector<DistributionMap::Point>& points) {
    Points out;
    for (const DistributionMap::Point& p : points) out.emplace_back(p.x, p.y);
    return out;
}

std::pair<uint32_t, uint32_t> cell(const DistributionMap& map) { return {map.cellWidth, map.cellHeight}; }

uint32_t pointCount(const DistributionMap& map) {
    return std::accumulate(map.levelCount.begin(), map.levelCount.end(), 0u);
}

Picture dotPicture(int32_t x, int32_t y) {
    Picture picture = solidPicture(256, 256, kBlack);
    setPixel(picture, x, y, kWhite);
    return picture;
}

// 60 stars at MoveSpeed 50 with the listed pictures, UseNUR on or off.
Flight pictureFlight(std::map<std::string, Picture> files, std::vector<std::string> listed, bool useNur = true) {
    return Flight(
        60,
        [&](Settings& s) {
            s.MoveSpeed = 50;
            s.UseNUR = useNur;
            s.NURimages = listed;
        },
        std::move(files));
}

}  // namespace

TEST(LevelTable, HoldsEveryLevelAsOftenAsItsWeight) {
    const LevelTable& table = levels();
    ASSERT_EQ(table.size(), 29869u);
    std::vector<uint8_t> all;
    for (size_t i = 0; i < table.size(); ++i) all.push_back(table[i]);
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
    for (const auto& [level, copies] : {std::pair{0, 0}, {1, 0}, {2, 1}, {10, 9}, {255, 214}})
        EXPECT_EQ(std::count(all.begin(), all.end(), level), copies) << "level " << level;
}

TEST(BrightnessMap, AveragesTheChannelsRoundingDown) {
    Picture picture = solidPicture(3, 2, kBlack);
    setPixel(picture, 0, 0, {1, 1, 2});
    setPixel(picture, 1, 0, {255, 255, 254});
    setPixel(picture, 2, 0, {90, 0, 0});
    setPixel(picture, 2, 1, kWhite);
    EXPECT_EQ(brightnessMap(picture), (std::vector<uint8_t>{1, 254, 30, 0, 0, 255}));
}

TEST(ResampleToWidth, TakesTheNearestSourcePixelBelow) {
    const std::vector<uint8_t> source{1, 2, 3, 4,  //
                                      5, 6, 7, 8,  //
                                      9, 10, 11, 12};
    EXPECT_EQ(resampleToWidth(source, 4, 3, 2, 2), (std::vector<uint8_t>{1, 3, 5, 7}));
    EXPECT_EQ(resampleToWidth(source, 4, 3, 8, 1), (std::vector<uint8_t>{1, 1, 2, 2, 3, 3, 4, 4}));
    EXPECT_EQ(resampleToWidth(source, 4, 3, 4, 6),
              (std::vector<uint8_t>{1, 2, 3, 4, 1, 2, 3, 4, 5, 6, 7, 8, 5, 6, 7, 8, 9, 10, 11, 12, 9, 10, 11, 12}));
}

TEST(BuildDistributionMap, SortsPixelsIntoLevelsInRowOrder) {
    const std::vector<uint8_t> data{5, 7, 5,  //
                                    7, 5, 9};
    DistributionMap map;
    buildDistributionMap(map, data, 3, 2, 0, 0);  // target = source size
    EXPECT_EQ(map.levelCount[5], 3u);
    EXPECT_EQ(map.levelCount[7], 2u);
    EXPECT_EQ(map.levelCount[9], 1u);
    EXPECT_EQ(pointCount(map), 6u);
    EXPECT_EQ(xy(map.levelPoints[5]), (Points{{0, 0}, {2, 0}, {1, 1}}));
    EXPECT_EQ(cell(map), std::pair(2u, 2u));

    buildDistributionMap(map, data, 3, 2, 1024, 1024);  // rebuilding replaces everything
    EXPECT_EQ(pointCount(map), 6u);
    EXPECT_EQ(xy(map.levelPoints[5]), (Points{{0, 0}, {682, 0}, {341, 512}}));
    EXPECT_EQ(cell(map), std::pair(342u, 513u));

    buildDistributionMap(map, data, 4, 2, 1024, 1024);  // data of the wrong size
    EXPECT_EQ(pointCount(map), 0u);
    EXPECT_TRUE(map.levelPoints[5].empty());
    EXPECT_FALSE(map.canSample(levels()));
}

TEST(PictureDistribution, WidePictureIsStretchedOverTheSquare) {
    Picture picture = solidPicture(512, 256, {60, 60, 60});
    const DistributionMap map = mapOf(picture);
    EXPECT_EQ(cell(map), std::pair(5u, 9u));
    EXPECT_EQ(map.levelCount[60], 256u * 128u);
    std::set<uint32_t> rows;
    for (const DistributionMap::Point& p : map.levelPoints[60]) {
        EXPECT_EQ(p.x % 4, 0u);
        EXPECT_EQ(p.y % 8, 0u);
        rows.insert(p.y);
    }
    EXPECT_EQ(rows.size(), 128u);
    EXPECT_EQ(*rows.rbegin(), 1016u);
}

TEST(PictureDistribution, RefusesPicturesThatCannotServe) {
    // Brightness 0 and 1 carry no weight: sampling would search forever.
    Picture dark = solidPicture(16, 16, {1, 1, 1});
    setPixel(dark, 3, 3, {1, 1, 2});
    EXPECT_FALSE(usable(dark));
    setPixel(dark, 4, 4, {2, 2, 2});
    EXPECT_TRUE(usable(dark));
    // A bright pixel that resampling to 256 columns passes over counts for nothing.
    Picture lost = solidPicture(1024, 1024, kBlack);
    setPixel(lost, 1, 1, kWhite);
    EXPECT_FALSE(usable(lost));

    // More than 256 times as wide as tall gives no rows.
    EXPECT_FALSE(usable(solidPicture(257, 1, kWhite)));
    EXPECT_EQ(mapOf(solidPicture(256, 1, kWhite)).cellHeight, 1025u);
    // More than 16 times as tall as wide needs over 4096 rows.
    EXPECT_FALSE(usable(solidPicture(1, 17, kWhite)));
    EXPECT_EQ(mapOf(solidPicture(1, 16, kWhite)).levelCount[255], 256u * 4096u);

    // Malformed records from a decoder, including one claiming an absurd size.
    Picture shortData = solidPicture(4, 4, kWhite);
    shortData.rgb.pop_back();
    const std::vector<uint8_t> white(4 * 4 * 3, 255);
    for (const Picture& bad : {shortData, Picture{0, 4, white}, Picture{-4, -4, white}, Picture{9000, 9000, {}}})
        EXPECT_FALSE(usable(bad)) << bad.width << "x" << bad.height;
}

TEST(SampleDistribution, ChoosesLevelsByTheirWeight) {
    // Top half level 100 (weight 97), bottom half level 255 (weight 214).
    // Both lie clear of the table's first 2899 entries, which a draw reduced
    // modulo the table size reaches twice as often.
    Picture picture = solidPicture(256, 2, kWhite);
    for (int32_t x = 0; x < 256; ++x) setPixel(picture, x, 0, {100, 100, 100});
    const DistributionMap map = mapOf(picture);
    Random rng(7);
    int dim = 0;
    constexpr int kSamples = 31100;
    for (int i = 0; i < kSamples; ++i)
        if (sampleDistribution(map, levels(), rng).y < 512) ++dim;
    EXPECT_GT(dim, 9400);  // expected 9700
    EXPECT_LT(dim, 10000);
}

TEST(SampleDistribution, LargeLevelsReachEveryPoint) {
    // A white square: 65536 points in one level. A single 15-bit draw would
    // only ever reach the first 32768, the upper half of the sheet.
    const DistributionMap map = mapOf(solidPicture(256, 256, kWhite));
    ASSERT_EQ(map.levelCount[255], 65536u);
    Random rng(99);
    int lowerHalf = 0;
    uint32_t lowest = 0;
    constexpr int kSamples = 20000;
    for (int i = 0; i < kSamples; ++i) {
        const DistributionMap::Point p = sampleDistribution(map, levels(), rng);
        if (p.y >= 512) ++lowerHalf;
        lowest = std::max(lowest, p.y);
    }
    EXPECT_GT(lowerHalf, kSamples * 45 / 100);
    EXPECT_LT(lowerHalf, kSamples * 55 / 100);
    EXPECT_EQ(lowest, 1024u);
}

TEST(SampleDistribution, OnlyLevelsBeyond32768PointsTakeASecondIndexDraw) {
    // Draws the level search takes before it hits level 255, the only one present.
    auto levelDraws = [](Random rng) {
        int n = 1;
        while (levels()[static_cast<uint32_t>(rng()) % levels().size()] != 255) ++n;
        return n;
    };
    const DistributionMap exact = mapOf(solidPicture(256, 128, kWhite));
    const DistributionMap larger = mapOf(solidPicture(256, 129, kWhite));
    ASSERT_EQ(exact.levelCount[255], 32768u);
    ASSERT_EQ(larger.levelCount[255], 33024u);
    for (uint32_t seed : {1u, 41u, 777u, 123456u}) {
        Random rng(seed);
        const Random before = rng;
        sampleDistribution(exact, levels(), rng);
        EXPECT_EQ(drawsBetween(before, rng), static_cast<uint32_t>(levelDraws(before) + 1 + 2));

        const Random before2 = rng;
        sampleDistribution(larger, levels(), rng);
        EXPECT_EQ(drawsBetween(before2, rng), static_cast<uint32_t>(levelDraws(before2) + 2 + 2));
    }
}

// Stars placed in picture mode start on the far plane, anywhere on the cell
// of the picture's one bright pixel, with the sheet centred on the view axis
// whatever the view's size.
TEST(PicturePlacement, SheetLiesOnTheFarPlaneCentredOnTheViewAxis) {
    std::set<int32_t> xs, ys;  // in sheet units, an eighth of a pixel
    for (const auto& [width, height] : {std::pair{640, 480}, {1024, 1024}, {1920, 1080}, {800, 1280}}) {
        SCOPED_TRACE(::testing::Message() << width << "x" << height);
        Flight flight = pictureFlight({{"dot.png", dotPicture(100, 50)}}, {"dot.png"});
        StarField& field = flight.field();
        setViewSize(field, width, height);
        field.pictureMode = 1;
        for (int i = 0; i < field.starCount; ++i) {
            PointStar star;
            star.place(field);
            EXPECT_TRUE(star.active);
            EXPECT_EQ(star.z, field.farDepth);
            xs.insert(star.x * 8 / 256 + 512);
            ys.insert(star.y * 8 / 256 + 512);
        }
    }
    // Cell (400..404, 200..204) of the 1024-unit sheet.
    EXPECT_EQ(xs, (std::set<int32_t>{400, 401, 402, 403, 404}));
    EXPECT_EQ(ys, (std::set<int32_t>{200, 201, 202, 203, 204}));
}

TEST(PictureLoading, LoadsListedPicturesInOrderWithoutGaps) {
    Picture dark = solidPicture(32, 32, {1, 1, 1});
    Flight flight = pictureFlight({{"a.png", dotPicture(0, 0)}, {"b.png", dotPicture(255, 255)}, {"dark.png", dark}},
                                  {"a.png", "missing.png", "dark.png", "b.png"});
    EXPECT_EQ(flight.decoder.asked, (std::vector<std::string>{"a.png", "missing.png", "dark.png", "b.png"}));
    StarField& field = flight.field();
    ASSERT_EQ(field.pictureCount(), 2u);
    EXPECT_EQ(xy(field.pictures[0].levelPoints[255]), (Points{{0, 0}}));
    EXPECT_EQ(xy(field.pictures[1].levelPoints[255]), (Points{{1020, 1020}}));

    // Exactly one value drawn, choosing the first picture in use.
    Random fresh = Random::seededForSaver();
    EXPECT_EQ(field.currentPicture, static_cast<uint32_t>(fresh()) % 2u);
    EXPECT_EQ(field.rng.state(), fresh.state());
}

TEST(PictureLoading, WithoutUsablePicturesNothingChanges) {
    struct Case {
        const char* name;
        std::vector<std::string> listed;
        bool useNur;
    };
    const std::vector<Case> cases{{"switched off", {"dot.png"}, false},
                                  {"empty list", {}, true},
                                  {"nothing loads", {"missing.png", "dark.png", "wide.png"}, true}};
    for (const Case& c : cases) {
        Flight flight = pictureFlight({{"dot.png", dotPicture(10, 10)},
                                       {"dark.png", solidPicture(8, 8, {1, 0, 0})},
                                       {"wide.png", solidPicture(300, 1, kWhite)}},
                                      c.listed, c.useNur);
        StarField& field = flight.field();
        EXPECT_TRUE(field.pictures.empty()) << c.name;
        EXPECT_EQ(field.rng.state(), Random::seededForSaver().state()) << c.name << ": no value drawn";
        if (!c.useNur) {
            EXPECT_TRUE(flight.decoder.asked.empty()) << c.name;
        }
        for (int i = 0; i < 700; ++i) {
            stepStarField(field);
            ASSERT_EQ(field.pictureMode, 0) << c.name << " step " << i + 1;
        }
        EXPECT_EQ(field.modeCountdown, 500) << c.name;
    }
}
