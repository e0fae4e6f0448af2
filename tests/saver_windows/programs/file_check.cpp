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

// Pictures are judged from their header, then decoded top row first: GDI+
// reads run-length encoded BMPs as the Linux reader does
// (tests/platform_linux/run_length_bmp_test.cpp).
TEST(Win32Pictures, AreJudgedFromTheirHeaderThenDecodedTopRowFirstAsOnLinux) {
    const std::string path = scratchFolder() + "\\picture.bmp";
    GdiplusPictureDecoder pictures;
    Picture picture;
    for (const RunLengthCase& c : kCoveringRunLengthCases) {
        write(path, runLengthBmp(c.width, c.height, c.bits, c.codes));
        const bool taken = pictures.loadPicture(path, picture);
        EXPECT_EQ(taken ? paletteIndexes(picture) : Rows{}, c.picture) << c.name;
    }
    // A header claiming 7000 x 7000 pixels, fewer than the pixel limit but
    // more than decoding may hold: refused without decoding.
    write(path, runLengthBmp(7000, 7000, 8, {0, 1}));
    EXPECT_FALSE(pictures.loadPicture(path, picture));
}
