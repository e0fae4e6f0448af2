// Files named by the settings on Windows: a named pipe, devices and a
// folder are refused at once wherever a path is read, and pictures are
// judged from their header, then decoded by GDI+ from memory.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "platform/win32/gdiplus_picture_decoder.h"
#include "platform/win32/regular_file.h"
#include "platform/win32/win32_folder_system.h"

namespace {

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

// A 24-bit BMP of 2 x 2 pixels, or a header alone claiming width x height.
std::vector<uint8_t> bmp(uint32_t width, uint32_t height, bool withPixels) {
    const uint8_t rows[] = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
    std::vector<uint8_t> b(54 + (withPixels ? sizeof rows : 0), 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 10, 54);
    put32(b, 14, 40);
    put32(b, 18, width);
    put32(b, 22, height);
    b[26] = 1;
    b[28] = 24;
    // Bottom row first, B G R, rows padded to four bytes.
    for (size_t i = 54; i < b.size(); ++i) b[i] = rows[i - 54];
    put32(b, 2, static_cast<uint32_t>(b.size()));
    return b;
}

// A scratch folder of the prefix's own.
std::string scratchFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "lumara-file-check";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

TEST(Win32Files, PipesDevicesAndFoldersAreRefusedAtOnce) {
    const std::string folder = scratchFolder();
    const std::string pipeName = "\\\\.\\pipe\\lumara-file-check";
    const HANDLE pipe = CreateNamedPipeA(pipeName.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 4096, 4096, 0,
                                         nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);

    Win32FolderSystem files;
    GdiplusPictureDecoder pictures;
    Picture picture;
    const DWORD start = GetTickCount();
    for (const std::string& path : {pipeName, std::string("NUL"), std::string("CON"), std::string("\\\\.\\NUL"), folder}) {
        std::string text;
        EXPECT_EQ(files.readFile(path, 1 << 20, text), FileReadResult::Unreadable) << path;
        EXPECT_FALSE(isRegularFile(path)) << path;
        EXPECT_FALSE(pictures.loadPicture(path, picture)) << path;
    }
    EXPECT_LT(GetTickCount() - start, 5000u);
    std::string missing;
    EXPECT_EQ(files.readFile(folder + "\\missing.lang", 100, missing), FileReadResult::Absent);
    CloseHandle(pipe);
}

TEST(Win32Pictures, AreJudgedFromTheirHeaderThenDecodedTopRowFirst) {
    const std::string folder = scratchFolder();
    GdiplusPictureDecoder pictures;
    const std::string small = folder + "\\small.bmp";
    write(small, bmp(2, 2, true));
    Picture picture;
    ASSERT_TRUE(pictures.loadPicture(small, picture));
    EXPECT_EQ(picture.width, 2);
    EXPECT_EQ(picture.height, 2);
    // Top row first: blue at the top left, red and green below.
    EXPECT_EQ(picture.rgb, (std::vector<uint8_t>{0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 255, 0}));

    // A header claiming 7000 x 7000 pixels, fewer than the pixel limit but
    // more than decoding may hold: refused without decoding.
    const std::string huge = folder + "\\huge.bmp";
    write(huge, bmp(7000, 7000, false));
    EXPECT_FALSE(pictures.loadPicture(huge, picture));
}

namespace {

// Palette entry i is R 200 + i, G 100 + i, B i, so no entry is black.
std::vector<uint8_t> runLengthBmp(int32_t width, int32_t height, uint16_t bits, const std::vector<uint8_t>& codes) {
    std::vector<uint8_t> b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    for (uint32_t i = 0; i < 16; ++i) b.insert(b.end(), {uint8_t(i), uint8_t(100 + i), uint8_t(200 + i), 0});
    const auto pixelsAt = static_cast<uint32_t>(b.size());
    b.insert(b.end(), codes.begin(), codes.end());
    put32(b, 2, static_cast<uint32_t>(b.size()));
    put32(b, 10, pixelsAt);
    put32(b, 14, 40);
    put32(b, 18, static_cast<uint32_t>(width));
    put32(b, 22, static_cast<uint32_t>(height));
    put32(b, 30, bits == 8 ? 1 : 2);
    put32(b, 46, 16);
    b[26] = 1;
    b[28] = static_cast<uint8_t>(bits);
    return b;
}

// The picture, top row first: a palette index as a hex digit, '.' black.
std::vector<std::string> indexes(const Picture& picture) {
    std::vector<std::string> rows;
    for (int32_t y = 0; y < picture.height; ++y) {
        std::string row;
        for (int32_t x = 0; x < picture.width; ++x) {
            const uint8_t* p = &picture.rgb[static_cast<size_t>((y * picture.width + x) * 3)];
            const int i = p[2];
            row += p[0] == 0 && p[1] == 0 && p[2] == 0                          ? '.'
                   : p[0] == 200 + i && p[1] == 100 + i && i < 16 ? "0123456789abcdef"[i]
                                                                               : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

// GDI+ reads run-length encoded BMPs as the Linux reader does
// (tests/platform_linux/run_length_bmp_test.cpp): the same pixels, and data
// that end early refused. Under Wine, pixels a stream leaves out or a row's
// damage spoils are whatever its memory held, so those are not compared.
TEST(Win32Pictures, RunLengthBmpsDecodeAsOnLinux) {
    const std::vector<std::string> refused;
    struct Case {
        int32_t width;
        uint16_t bits;
        std::vector<uint8_t> codes;
        std::vector<std::string> picture;
    } cases[] = {
        {5, 8, {0, 3, 5, 6, 7, 0, 2, 9, 0, 0, 0, 5, 1, 2, 3, 4, 5, 0, 0, 1}, {"12345", "56799"}},
        {5, 4, {5, 0x1A, 0, 0, 5, 0xCC, 0, 1}, {"ccccc", "1a1a1"}},
        {6, 4, {0, 5, 0x12, 0x34, 0x50, 0, 1, 0xF0, 0, 0, 6, 0x89, 0, 1}, {"898989", "12345f"}},
        {4, 8, {4, 3, 0, 0, 4, 7}, refused},           // no end mark
        {4, 8, {4, 3, 0, 0, 0, 4, 1, 2}, refused},     // data ending inside an index run
        {4, 4, {4, 0x12, 0, 0, 4, 0x34, 0}, refused},  // an odd trailing byte
    };
    const std::string path = scratchFolder() + "\\rle.bmp";
    GdiplusPictureDecoder pictures;
    for (const Case& c : cases) {
        write(path, runLengthBmp(c.width, 2, c.bits, c.codes));
        Picture picture;
        const bool taken = pictures.loadPicture(path, picture);
        EXPECT_EQ(taken ? indexes(picture) : refused, c.picture) << c.width << " " << c.bits;
    }
}
