#pragma once
// What the build-time generators share: the bytes they make go out twice,
// as a file (the Windows build carries it as a resource) and as a C++
// source that embeds the same bytes behind one accessor.
#include <cstdint>
#include <fstream>
#include <string_view>
#include <vector>

// Writes `bytes` to `binaryPath`, and to `cppPath` a source made by
// `generator` that starts with `prologue` (its includes) and defines
// `accessor` (a declaration such as "std::span<const uint8_t> x()") to
// return them. False when either file could not be written.
inline bool writeEmbeddedBytes(const std::vector<uint8_t>& bytes, const char* binaryPath, const char* cppPath,
                               std::string_view generator, std::string_view prologue, std::string_view accessor) {
    std::ofstream binary(binaryPath, std::ios::binary);
    binary.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::ofstream cpp(cppPath);
    cpp << "// Made by " << generator << " at build time.\n" << prologue << "\nnamespace {\nconst uint8_t kBytes[] = {";
    for (size_t i = 0; i < bytes.size(); ++i) cpp << (i % 24 ? "" : "\n") << static_cast<int>(bytes[i]) << ',';
    cpp << "\n};\n}  // namespace\n\n" << accessor << " { return kBytes; }\n";
    binary.close();
    cpp.close();
    return binary.good() && cpp.good();
}
