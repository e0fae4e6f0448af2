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
#include "../../starfield/run_length_bmps.h"

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

// GDI+ reads run-length encoded BMPs as the Linux reader does
// (tests/platform_linux/run_length_bmp_test.cpp).
TEST(Win32Pictures, RunLengthBmpsDecodeAsOnLinux) {
    const std::string path = scratchFolder() + "\\rle.bmp";
    GdiplusPictureDecoder pictures;
    for (const RunLengthCase& c : kCoveringRunLengthCases) {
        write(path, runLengthBmp(c.width, c.height, c.bits, c.codes));
        Picture picture;
        const bool taken = pictures.loadPicture(path, picture);
        EXPECT_EQ(taken ? paletteIndexes(picture) : Rows{}, c.picture) << c.name;
    }
}
