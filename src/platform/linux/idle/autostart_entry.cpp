#include "platform/linux/idle/autostart_entry.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/linux/store/atomic_file.h"

namespace {

// The program as an argument of Exec: quoted when it holds a character the
// desktop entry format reserves, '%' doubled as that format asks.
std::string execArgument(const std::string& program) {
    std::string quoted;
    bool needsQuotes = false;
    for (char c : program) {
        if (c == '%') quoted += '%';
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        needsQuotes = needsQuotes || std::strchr(" \t\n\"'\\><~|&;$*?#()`", c) != nullptr;
        quoted += c;
    }
    return needsQuotes ? "\"" + quoted + "\"" : quoted;
}

// The program that runs now, where it is installed.
std::string thisProgram() {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<size_t>(length)) : "lumara";
}

std::string minutesArgument(uint32_t milliseconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", milliseconds / 60000.0);
    return text;
}

}  // namespace

std::string autostartEntryPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is invalid and passed over.
    if (config && config[0] == '/') return std::string(config) + "/autostart/lumara-idle.desktop";
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) + "/.config/autostart/lumara-idle.desktop" : std::string();
}

int enableIdleStart(uint32_t milliseconds) {
    const std::string path = autostartEntryPath();
    const std::string minutes = minutesArgument(milliseconds);
    const std::string entry = "[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=Lumara on idle\n"
                              "Comment=Starts the Lumara screen saver after " + minutes + " minutes of idle time\n"
                              "Exec=" + execArgument(thisProgram()) + " --idle " + minutes + "\n"
                              "Icon=lumara\n"
                              "NoDisplay=true\n"
                              "X-GNOME-Autostart-enabled=true\n";
    if (path.empty() || !createFolders(folderOf(path)) || !writeFileAtomically(path, entry)) {
        std::fprintf(stderr, "lumara: could not write %s\n", path.empty() ? "the autostart entry (no HOME)" : path.c_str());
        return 1;
    }
    std::printf("Lumara starts after %s minutes of idle time from your next login (%s).\n"
                "To start watching now: lumara --idle %s &\n",
                minutes.c_str(), path.c_str(), minutes.c_str());
    return 0;
}

int disableIdleStart() {
    const std::string path = autostartEntryPath();
    if (!path.empty() && unlink(path.c_str()) != 0 && errno != ENOENT) {
        std::fprintf(stderr, "lumara: could not remove %s (%s)\n", path.c_str(), std::strerror(errno));
        return 1;
    }
    std::printf("Lumara no longer starts on idle from your next login%s%s;\n"
                "a watcher running now ends with this session.\n",
                path.empty() ? "" : " (removed ", path.empty() ? "" : (path + ")").c_str());
    return 0;
}
