// Build-time generator: records the checksum of the settings dialog's
// module, as the program will sum it before loading it (module_file.h), in
// a source file of the program.
//   module-checksum <lumara-settings.so> <output .cpp>
#include <fcntl.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>

#include "platform/linux/settings_module/module_file.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: module-checksum MODULE OUTPUT.cpp\n", stderr);
        return 2;
    }
    const int fd = ::open(argv[1], O_RDONLY | O_CLOEXEC);
    uint64_t checksum = 0;
    const Outcome summed = fd >= 0 ? sumSettingsModule(fd, checksum) : Outcome::failure("cannot be opened");
    if (!summed.ok()) {
        std::fprintf(stderr, "module-checksum: %s: %s\n", argv[1], summed.message().c_str());
        return 1;
    }
    ::close(fd);
    FILE* out = std::fopen(argv[2], "w");
    if (!out) return 1;
    std::fprintf(out,
                 "// Written by tools/module-checksum: the settings dialog's module built beside this program.\n"
                 "#include \"platform/linux/settings_module/module_file.h\"\n\n"
                 "const uint64_t kBuiltSettingsModuleChecksum = 0x%016" PRIx64 "u;\n",
                 checksum);
    return std::fclose(out) == 0 ? 0 : 1;
}
