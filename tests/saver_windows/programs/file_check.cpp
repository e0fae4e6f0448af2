// Files named by the settings on Windows: a named pipe, devices and a
// folder are refused at once wherever a path is read, and pictures are
// judged from their header, then decoded by GDI+ from memory.
//   file_check FOLDER   (a writable scratch folder)
// Exit 0 when every check holds, 1 otherwise.
#include <windows.h>

#include "test_program.h"

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

void write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string folder = argv[1];
    const std::string pipeName = "\\\\.\\pipe\\lumara-file-check";
    const HANDLE pipe = CreateNamedPipeA(pipeName.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 4096, 4096, 0,
                                         nullptr);
    CHECK(pipe != INVALID_HANDLE_VALUE);

    Win32FolderSystem files;
    GdiplusPictureDecoder pictures;
    Picture picture;
    const DWORD start = GetTickCount();
    const std::string refused[] = {pipeName, "NUL", "CON", "\\\\.\\NUL", folder};
    for (const std::string& path : refused) {
        std::printf("%s\n", path.c_str());
        std::string text;
        CHECK(files.readFile(path, 1 << 20, text) == FileReadResult::Unreadable);
        CHECK(!isRegularFile(path));
        CHECK(!pictures.loadPicture(path, picture));
    }
    CHECK(GetTickCount() - start < 5000);
    std::string missing;
    CHECK(files.readFile(folder + "\\missing.lang", 100, missing) == FileReadResult::Absent);

    const std::string small = folder + "\\small.bmp";
    write(small, bmp(2, 2, true));
    const bool loaded = pictures.loadPicture(small, picture);
    CHECK(loaded && picture.width == 2 && picture.height == 2);
    // Top row first: blue at the top left, red and green below.
    const std::vector<uint8_t> rgb = loaded ? picture.rgb : std::vector<uint8_t>(12);
    CHECK((std::vector<uint8_t>(rgb.begin(), rgb.begin() + 3) == std::vector<uint8_t>{0, 0, 255}));
    CHECK((std::vector<uint8_t>(rgb.begin() + 6, rgb.end()) == std::vector<uint8_t>{255, 0, 0, 0, 255, 0}));

    // A header claiming 7000 x 7000 pixels, fewer than the pixel limit but
    // more than decoding may hold: refused without decoding.
    const std::string huge = folder + "\\huge.bmp";
    write(huge, bmp(7000, 7000, false));
    CHECK(!pictures.loadPicture(huge, picture));

    if (pipe != INVALID_HANDLE_VALUE) CloseHandle(pipe);
    return report();
}
