#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "platform/linux/pictures/jpeg_table_check.h"
#include "platform/linux/pictures/stb_picture_decoder.h"
#include "saver/saver_state.h"
#include "starfield/distribution_pictures.h"
#include "starfield/test_pictures.h"

namespace {

// Four colour blocks with sharp edges: white, red, green, black.
Picture blocksPicture() {
    Picture picture = solidPicture(40, 32, {0, 0, 0});
    for (int32_t y = 0; y < 32; ++y)
        for (int32_t x = 0; x < 40; ++x) {
            if (y < 16) setPixel(picture, x, y, x < 24 ? Rgb{255, 255, 255} : Rgb{200, 30, 60});
            else if (x < 24) setPixel(picture, x, y, {10, 220, 90});
        }
    return picture;
}

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int channelDistance(Rgb a, Rgb b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

struct Format {
    const char* file;
    bool (*write)(const std::string&, const Picture&);
    int tolerance;  // JPEG is lossy; the others give the pixels back exactly
};
const Format kFormats[] = {{"blocks.png", writePng, 0},
                           {"blocks.bmp", writeBmp, 0},
                           {"blocks.gif", writeGif, 0},
                           {"blocks.jpg", writeJpeg, 12}};

}  // namespace

TEST(PictureFiles, EveryFormatDecodesToItsPixels) {
    const Picture original = blocksPicture();
    StbPictureDecoder decoder;
    for (const Format& format : kFormats) {
        const std::string path = tempPath(format.file);
        ASSERT_TRUE(format.write(path, original)) << format.file;
        Picture decoded;
        ASSERT_TRUE(decoder.loadPicture(path, decoded)) << format.file;
        ASSERT_EQ(std::tuple(decoded.width, decoded.height, decoded.rgb.size()), std::tuple(40, 32, 40u * 32u * 3u))
            << format.file;
        int worst = 0;
        for (int32_t y = 0; y < 32; ++y)
            for (int32_t x = 0; x < 40; ++x) {
                // Compression ringing stays near the block edges.
                const bool nearEdge = std::abs(y - 16) < 4 || std::abs(x - 24) < 4;
                if (format.tolerance && nearEdge) continue;
                worst = std::max(worst, channelDistance(pixelAt(decoded, x, y), pixelAt(original, x, y)));
            }
        EXPECT_LE(worst, format.tolerance) << format.file;

        Picture fromMemory;
        ASSERT_TRUE(decodePicture(readFile(path), fromMemory)) << format.file;
        EXPECT_EQ(fromMemory.rgb, decoded.rgb) << format.file;
    }
}

TEST(PictureFiles, AlphaIsIgnoredAndGreyBecomesRgb) {
    for (const auto& [channels, bytes, rgb] :
         {std::tuple{4, std::vector<uint8_t>{10, 20, 30, 0, 200, 100, 50, 255}, std::vector<uint8_t>{10, 20, 30, 200, 100, 50}},
          {1, {7, 250}, {7, 7, 7, 250, 250, 250}}}) {
        ASSERT_TRUE(writePngChannels(tempPath("channels.png"), 2, 1, channels, bytes));
        Picture decoded;
        ASSERT_TRUE(StbPictureDecoder().loadPicture(tempPath("channels.png"), decoded)) << channels;
        EXPECT_EQ(decoded.rgb, rgb) << channels;
    }
}

TEST(PictureFiles, UnreadableFilesFailToLoad) {
    const std::string png = tempPath("whole.png");
    ASSERT_TRUE(writePng(png, blocksPicture()));
    std::vector<uint8_t> bytes = readFile(png);
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> broken{
        {"empty.png", {}},
        {"text.png", {'h', 'e', 'l', 'l', 'o', '\n'}},
        {"truncated.png", std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(bytes.size() / 2))},
        // Formats the saver does not offer are not decoded either.
        {"picture.ppm", {'P', '6', '\n', '1', ' ', '1', '\n', '2', '5', '5', '\n', 255, 255, 255}},
    };
    StbPictureDecoder decoder;
    // A failed load leaves the caller's picture as it was.
    const Picture earlier{1, 1, {1, 2, 3}};
    Picture picture = earlier;
    for (const auto& [name, content] : broken) {
        ASSERT_TRUE(writeBytes(tempPath(name), content));
        EXPECT_FALSE(decoder.loadPicture(tempPath(name), picture)) << name;
        EXPECT_FALSE(decodePicture(content, picture)) << name;
    }
    EXPECT_FALSE(decoder.loadPicture(tempPath("no-such-picture.png"), picture));
    EXPECT_EQ(std::tuple(picture.width, picture.height, picture.rgb), std::tuple(earlier.width, earlier.height, earlier.rgb));

    // A BMP cut short after its header reads as black, which gives no stars.
    ASSERT_TRUE(writeBmp(tempPath("header-only.bmp"), blocksPicture()));
    bytes = readFile(tempPath("header-only.bmp"));
    ASSERT_TRUE(writeBytes(tempPath("header-only.bmp"), std::vector<uint8_t>(bytes.begin(), bytes.begin() + 54)));
    SaverState state;
    state.settings.UseNUR = true;
    state.settings.NURimages = {tempPath("header-only.bmp")};
    loadDistributionPictures(state.starField, state.settings, decoder);
    EXPECT_TRUE(state.starField.pictures.empty());
}

// Oversized pictures: the memory bound is held in picture_memory_test.cpp.
TEST(PictureFiles, PicturesOfMoreThanTheLimitOfPixelsAreRefused) {
    ASSERT_TRUE(writePng(tempPath("limit.png"), blocksPicture()));
    const std::vector<uint8_t> png = readFile(tempPath("limit.png"));
    Picture picture;
    EXPECT_TRUE(decodePicture(png, picture, 40 * 32));
    EXPECT_FALSE(decodePicture(png, picture, 40 * 32 - 1));
}

// The headless renderer loads --picture files when UseNUR is set.
namespace {

std::vector<uint8_t> renderRaw(const std::string& name, const std::string& arguments) {
    const std::string out = tempPath(name);
    std::remove(out.c_str());
    const std::string command = std::string(LUMARA_RENDER_COMMAND) + " --size 400x300 --format 22 --raw " + out +
                                " " + arguments;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return readFile(out);
}

// Lit pixels within `radius` of the frame centre and beyond it.
std::pair<int, int> litInsideAndOutside(const std::vector<uint8_t>& frame, int radius) {
    int inside = 0, outside = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) {
            const uint8_t* p = &frame[static_cast<size_t>((y * 400 + x) * 4)];
            if (p[0] == 0 && p[1] == 0 && p[2] == 0) continue;
            const int dx = x - 200, dy = y - 150;
            (dx * dx + dy * dy <= radius * radius ? inside : outside) += 1;
        }
    return {inside, outside};
}

}  // namespace

TEST(RenderToolPictures, PictureArrivesAsACentredSheet) {
    // A small bright disc in the middle of the picture.
    Picture disc = solidPicture(64, 64, {0, 0, 0});
    for (int32_t y = 0; y < 64; ++y)
        for (int32_t x = 0; x < 64; ++x)
            if ((x - 32) * (x - 32) + (y - 32) * (y - 32) <= 36) setPixel(disc, x, y, {255, 255, 255});
    ASSERT_TRUE(writePng(tempPath("disc.png"), disc));

    const std::string frames = " --frames 600 --set StarsCount=3000";
    const auto plain = renderRaw("plain.raw", frames);
    const auto sheet = renderRaw("sheet.raw", frames + " --set UseNUR=1 --picture " + tempPath("disc.png"));
    ASSERT_EQ(plain.size(), 400u * 300u * 4u);
    ASSERT_EQ(sheet.size(), plain.size());

    // The disc covers a fifth of the picture's width; its stars gather around the view's centre.
    const auto [plainIn, plainOut] = litInsideAndOutside(plain, 40);
    const auto [sheetIn, sheetOut] = litInsideAndOutside(sheet, 40);
    EXPECT_GT(sheetIn, 4 * plainIn + 50) << "plain " << plainIn << "/" << plainOut;
    EXPECT_LT(sheetOut, plainOut);

    // Listing a picture without UseNUR, or one that cannot load, changes nothing.
    EXPECT_EQ(renderRaw("off.raw", frames + " --picture " + tempPath("disc.png")), plain);
    EXPECT_EQ(renderRaw("missing.raw", frames + " --set UseNUR=1 --picture " + tempPath("nothing-here.png")), plain);
}

TEST(PictureFiles, JpegsWithOversizedHuffmanTablesAreRefused) {
    // Start of image, then a table definition whose 16 counts add up to 272.
    std::vector<uint8_t> jpeg{0xFF, 0xD8, 0xFF, 0xC4, 0x01, 0x23, 0x00};
    for (int i = 0; i < 16; ++i) jpeg.push_back(17);
    jpeg.resize(jpeg.size() + 272, 0);
    EXPECT_FALSE(jpegHuffmanTablesFit(jpeg));
    Picture picture;
    EXPECT_FALSE(decodePicture(jpeg, picture));
    // The decoder also reads fill bytes before the start of the image.
    std::vector<uint8_t> filled(40, 0xFF);
    filled.insert(filled.end(), jpeg.begin() + 1, jpeg.end());
    EXPECT_FALSE(jpegHuffmanTablesFit(filled));
    EXPECT_FALSE(decodePicture(filled, picture));
    jpeg[7] = 1;  // 256 codes fit
    EXPECT_TRUE(jpegHuffmanTablesFit(jpeg));

    // The same table behind a real picture's compressed data is found too.
    ASSERT_TRUE(writeJpeg(tempPath("tables.jpg"), blocksPicture()));
    std::vector<uint8_t> real = readFile(tempPath("tables.jpg"));
    ASSERT_TRUE(jpegHuffmanTablesFit(real));
    ASSERT_GE(real.size(), 4u);
    real.resize(real.size() - 2);  // before the end-of-image marker
    real.insert(real.end(), {0xFF, 0xC4, 0x00, 0x13, 0x10});
    for (int i = 0; i < 16; ++i) real.push_back(255);
    EXPECT_FALSE(jpegHuffmanTablesFit(real));
    EXPECT_TRUE(StbPictureDecoder().loadPicture(tempPath("tables.jpg"), picture));
    ASSERT_TRUE(writeBytes(tempPath("tables.jpg"), real));
    EXPECT_FALSE(StbPictureDecoder().loadPicture(tempPath("tables.jpg"), picture));
}
