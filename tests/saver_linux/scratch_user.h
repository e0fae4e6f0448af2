#pragma once
// Programs that refuse to run as root (xscreensaver's hacks, sway) run as
// the scratch user lumara-test when the tests run as root; and the saver's
// processes found by their command line, where a program other than the
// test started them.
#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

inline constexpr const char* kScratchUser = "lumara-test";

// A folder under /tmp every user can reach (the build tree may not be);
// empty when none could be made.
inline std::string reachableFolder(const char* kind) {
    namespace fs = std::filesystem;
    std::string pattern = std::string("/tmp/lumara-") + kind + "-XXXXXX";
    if (!mkdtemp(pattern.data())) return {};
    fs::permissions(pattern, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
    return pattern;
}

// The command prefix that runs a program as the scratch user (made when
// missing), who then owns `folder`; empty when the test does not run as
// root; nothing when there is no such user to be had. The program runs in
// place of the prefix (setpriv), so signals sent to the child reach it.
inline std::optional<std::vector<std::string>> asScratchUser(const std::string& folder) {
    if (geteuid() != 0) return std::vector<std::string>{};
    const std::string user = kScratchUser;
    if (std::system(("id -u " + user + " >/dev/null 2>&1 || useradd -m " + user).c_str()) != 0) return std::nullopt;
    if (std::system(("chown -R " + user + ":" + user + " '" + folder + "'").c_str()) != 0) return std::nullopt;
    return std::vector<std::string>{"/usr/bin/setpriv", "--reuid=" + user, "--regid=" + user, "--init-groups", "--"};
}

// Live (not yet reaped is ended) processes whose command line starts with
// `program` and, when given, whose environment holds `variable` (such as
// "WAYLAND_DISPLAY=/tmp/.../wayland-1": the ones of one session).
inline std::vector<pid_t> runningProcesses(const std::string& program, const std::string& variable = {}) {
    std::vector<pid_t> found;
    DIR* proc = opendir("/proc");
    while (const dirent* entry = proc ? readdir(proc) : nullptr) {
        const std::string dir = std::string("/proc/") + entry->d_name;
        std::ifstream cmdline(dir + "/cmdline");
        std::string first;
        std::getline(cmdline, first, '\0');
        if (first != program) continue;
        if (!variable.empty()) {
            std::ifstream variables(dir + "/environ");
            bool held = false;
            for (std::string line; !held && std::getline(variables, line, '\0');) held = line == variable;
            if (!held) continue;
        }
        std::ifstream stat(dir + "/stat");
        std::string pid, name, state;
        stat >> pid >> name >> state;
        if (state != "Z") found.push_back(static_cast<pid_t>(std::stol(pid)));
    }
    if (proc) closedir(proc);
    return found;
}

inline int runningCopies(const std::string& program, const std::string& variable = {}) {
    return static_cast<int>(runningProcesses(program, variable).size());
}
