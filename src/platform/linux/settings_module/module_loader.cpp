#include "platform/linux/settings_module/module_loader.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/linux/settings_module/module_file.h"
#include "platform/linux/settings_module/settings_module.h"

namespace {

// dlerror's text as one line for stderr, with the descriptor's name the
// module was opened by turned back into the module's own path.
std::string loadFailure(const std::string& opened, const std::string& path, const char* error) {
    std::string text = error ? error : "unknown error";
    for (size_t at; (at = text.find(opened)) != std::string::npos;) text.replace(at, opened.size(), path);
    if (text.rfind(path, 0) != 0) text = path + ": " + text;
    for (char& c : text)
        if (c == '\n') c = ' ';
    return text;
}

// Opens the module at `path` once it proved sound (module_file.h), as `fd`
// (kept open by the caller until it is loaded); else why not, naming it.
Outcome openSoundModule(const std::string& path, int& fd) {
    // Without blocking: a FIFO in the module's place would wait for a writer.
    const int opened = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (opened < 0) return Outcome::failure(path + ": " + std::strerror(errno));
    uint64_t checksum = 0;
    Outcome sound = sumSettingsModule(opened, checksum);
    if (sound.ok() && checksum != kBuiltSettingsModuleChecksum)
        sound = Outcome::failure("damaged, or not the one built with this program (its contents differ)");
    if (!sound.ok()) {
        ::close(opened);
        return Outcome::failure(path + ": " + sound.message());
    }
    fd = opened;
    return {};
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

int runSettingsModule(std::span<const uint8_t> aboutPicture, WindowHandle owner) {
    const std::string path = settingsModulePath();
    if (path.empty()) {
        std::fputs("lumara: cannot load the settings dialog: the program's own place is unknown\n", stderr);
        return -1;
    }
    int fd = -1;
    if (const Outcome sound = openSoundModule(path, fd); !sound.ok()) {
        std::fprintf(stderr, "lumara: cannot load the settings dialog: %s\n", sound.message().c_str());
        return -1;
    }
    // The very file that was checked, through its descriptor. Bound now, so
    // a module that lacks a library fails here and not halfway through the
    // dialog. Never closed: GTK cannot be unloaded, and the process ends
    // after the dialog.
    const std::string opened = "/proc/self/fd/" + std::to_string(fd);
    void* module = ::dlopen(opened.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* entry = module ? ::dlsym(module, kSettingsModuleEntry) : nullptr;
    const std::string failure = entry ? std::string() : loadFailure(opened, path, ::dlerror());
    ::close(fd);
    if (!entry) {
        std::fprintf(stderr, "lumara: cannot load the settings dialog: %s\n", failure.c_str());
        return -1;
    }
    return reinterpret_cast<SettingsModuleEntry>(entry)(aboutPicture.data(), aboutPicture.size(), owner);
}
