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
