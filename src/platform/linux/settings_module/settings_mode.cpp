#include "platform/linux/settings_module/settings_mode.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>

#include "platform/linux/settings_module/settings_module.h"

namespace {

// The module as one line for stderr: dlerror's text, which names the file
// itself for most failures, else the file and the text.
std::string loadFailure(const std::string& path, const char* error) {
    std::string text = error ? error : "unknown error";
    if (text.rfind(path, 0) != 0) text = path + ": " + text;
    for (char& c : text)
        if (c == '\n') c = ' ';
    return text;
}

}  // namespace

std::string settingsModulePath() {
    std::string program(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", program.data(), program.size());
    if (n <= 0 || static_cast<size_t>(n) >= program.size()) return {};
    program.resize(static_cast<size_t>(n));
    // "<prefix>/bin/lumara" -> "<prefix>"
    const std::string bin = program.substr(0, program.rfind('/'));
    return bin.substr(0, bin.rfind('/')) + "/" LUMARA_SETTINGS_MODULE;
}

int runSettingsMode(std::span<const uint8_t> aboutPicture, WindowHandle owner) {
    const std::string path = settingsModulePath();
    if (path.empty()) {
        std::fputs("lumara: cannot load the settings dialog: the program's own place is unknown\n", stderr);
        return -1;
    }
    // Bound now, so a module that lacks a library fails here and not halfway
    // through the dialog. Never closed: GTK cannot be unloaded, and the
    // process ends after the dialog.
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* entry = module ? ::dlsym(module, kSettingsModuleEntry) : nullptr;
    if (!entry) {
        std::fprintf(stderr, "lumara: cannot load the settings dialog: %s\n", loadFailure(path, ::dlerror()).c_str());
        return -1;
    }
    return reinterpret_cast<SettingsModuleEntry>(entry)(aboutPicture.data(), aboutPicture.size(), owner);
}
