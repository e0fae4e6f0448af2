#include "install_build.h"

#include <cstdlib>
#include <filesystem>

bool installBuild(const std::string& prefix) {
    std::filesystem::remove_all(prefix);
    const std::string command =
        "'" LUMARA_CMAKE "' --install '" LUMARA_BUILD_DIR "' --prefix '" + prefix + "' >/dev/null";
    return std::system(command.c_str()) == 0;
}
