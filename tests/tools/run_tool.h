#pragma once
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <vector>

// Runs lumara-render with the given arguments; returns its exit status.
inline int runRender(const std::string& args) {
    const std::string command = std::string(LUMARA_RENDER_COMMAND) + " " + args + " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string tmpPath(const std::string& name) { return std::string(LUMARA_TEST_TMP) + "/" + name; }

inline std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline bool fileExists(const std::string& path) { return std::ifstream(path).good(); }

// FNV-1a, 64 bits: a short fingerprint of a frame's bytes.
inline uint64_t fingerprint(const std::vector<uint8_t>& bytes) {
    uint64_t h = 1469598103934665603ull;
    for (uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
    return h;
}

// Fixed runs of the headless renderer and the fingerprints of their frame
// bytes. The star field and star drawing are integer arithmetic, so these
// hold on every compiler and platform; a changed fingerprint means the
// flight or the drawing changed.
struct GoldenRun {
    const char* args;
    uint64_t fingerprint;
};

inline constexpr GoldenRun kGoldenRuns[] = {
    {"--size 64x48 --frames 30 --format 22 --set AntiAliase=0", 0x7e87fb6898fe19a6ull},
    {"--size 101x77 --frames 40 --format 21 --set AntiAliase=1", 0x42351d390975ee78ull},
    {"--size 320x240 --frames 25 --format 23 --set AntiAliase=2", 0xee551d4baeb8f783ull},
    {"--size 255x129 --frames 35 --format 24 --set AntiAliase=3", 0xf06d1a2f28371095ull},
    {"--size 640x480 --frames 20 --format 22 --set AntiAliase=4 --set RotSpeed=100", 0xcffdf8fa13a13161ull},
    {"--size 333x200 --frames 50 --format 23 --set AntiAliase=5 --set StarsCount=20000 --set MoveSpeed=1000 "
     "--set RoamMagn=100 --set RoamFreq=100 --set Smoothness=1",
     0xe83594a18d8379fcull},
    {"--size 199x101 --frames 60 --format 24 --set AntiAliase=0 --set MoveSpeed=1 --set RotSpeed=-100",
     0x3140289ec635c0b0ull},
    {"--size 1024x768 --frames 12 --format 22 --set AntiAliase=5", 0x62f4bdd995b9ddfcull},
};
