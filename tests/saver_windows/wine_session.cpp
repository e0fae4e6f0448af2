#include "wine_session.h"

#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

std::string setting(const char* name, const char* configured) {
    const char* given = std::getenv(name);
    return given && *given ? given : configured;
}

std::map<std::string, std::string> wineEnvironment(const X11Session& x, const std::string& trace = "-all") {
    return {{"DISPLAY", x.displayName()},
            {"WINEPREFIX", wineSetup().prefix},
            {"WINEDEBUG", trace},
            {"WINEDLLOVERRIDES", "mscoree,mshtml="}};
}

std::string quoted(const std::string& s) { return "'" + s + "'"; }

}  // namespace

const WineSetup& wineSetup() {
    static const WineSetup setup{setting("LUMARA_WINDOWS_BUILD", LUMARA_WINDOWS_BUILD),
                                 setting("LUMARA_WINE", LUMARA_WINE64), setting("LUMARA_WINESERVER", LUMARA_WINESERVER),
                                 setting("LUMARA_WINE_PREFIX", LUMARA_WINE_PREFIX)};
    return setup;
}

std::string windowsProgram(const std::string& path) {
    if (path.size() > 1 && path[1] == ':') return path;
    return wineSetup().windowsBuild + "/" + path;
}

WineSession::~WineSession() {
    const std::string kill = "WINEPREFIX=" + quoted(wineSetup().prefix) + " " + quoted(wineSetup().wineserver) + " -k";
    // A server that is gone already is what the kill asks for.
    [[maybe_unused]] const int killed = std::system(kill.c_str());
}

Child WineSession::start(const std::string& program, const std::vector<std::string>& args, const std::string& trace) {
    std::vector<std::string> argv = {wineSetup().wine, windowsProgram(program)};
    argv.insert(argv.end(), args.begin(), args.end());
    return Child(argv, wineEnvironment(x_, trace));
}

void WineSession::waitForAllPrograms() {
    const std::string wait = "WINEPREFIX=" + quoted(wineSetup().prefix) + " " + quoted(wineSetup().wineserver) + " -w";
    // No server to wait for: no program is left either.
    [[maybe_unused]] const int waited = std::system(wait.c_str());
}

int WineSession::run(const std::string& program, const std::vector<std::string>& args, int seconds,
                     std::string* output) {
    const auto limit = stretched(std::chrono::seconds(seconds));
    std::string command = "timeout " + std::to_string(limit.count() / 1000) + " env";
    for (const auto& [name, value] : wineEnvironment(x_)) command += " " + name + "=" + quoted(value);
    command += " " + quoted(wineSetup().wine) + " " + quoted(windowsProgram(program));
    for (const std::string& a : args) command += " " + quoted(a);
    command += " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    char buffer[512];
    std::string text;
    while (std::fgets(buffer, sizeof buffer, pipe)) text += buffer;
    const int status = pclose(pipe);
    if (output) *output = text;
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 124) return -1;
    return WEXITSTATUS(status);
}
