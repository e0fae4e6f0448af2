#include "wine_session.h"

#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

std::map<std::string, std::string> wineEnvironment(const X11Session& x, const std::string& trace = "-all") {
    return {{"DISPLAY", x.displayName()},
            {"WINEPREFIX", LUMARA_WINE_PREFIX},
            {"WINEDEBUG", trace},
            {"WINEDLLOVERRIDES", "mscoree,mshtml="}};
}

std::string quoted(const std::string& s) { return "'" + s + "'"; }

}  // namespace

std::string windowsProgram(const std::string& path) {
    if (path.size() > 1 && path[1] == ':') return path;
    return std::string(LUMARA_WINDOWS_BUILD) + "/" + path;
}

WineSession::~WineSession() {
    const std::string kill = "WINEPREFIX=" + quoted(LUMARA_WINE_PREFIX) + " " + quoted(LUMARA_WINESERVER) + " -k";
    // A server that is gone already is what the kill asks for.
    [[maybe_unused]] const int killed = std::system(kill.c_str());
}

Child WineSession::start(const std::string& program, const std::vector<std::string>& args, const std::string& trace) {
    std::vector<std::string> argv = {LUMARA_WINE64, windowsProgram(program)};
    argv.insert(argv.end(), args.begin(), args.end());
    return Child(argv, wineEnvironment(x_, trace));
}

void WineSession::waitForAllPrograms() {
    const std::string wait = "WINEPREFIX=" + quoted(LUMARA_WINE_PREFIX) + " " + quoted(LUMARA_WINESERVER) + " -w";
    // No server to wait for: no program is left either.
    [[maybe_unused]] const int waited = std::system(wait.c_str());
}

int WineSession::run(const std::string& program, const std::vector<std::string>& args, int seconds,
                     std::string* output) {
    std::string command = "timeout " + std::to_string(seconds) + " env";
    for (const auto& [name, value] : wineEnvironment(x_)) command += " " + name + "=" + quoted(value);
    command += " " + quoted(LUMARA_WINE64) + " " + quoted(windowsProgram(program));
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
