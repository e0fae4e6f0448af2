// The file helpers bring gtest, whose names Xlib's macros would break: first.
#include "platform_linux/temp_folder.h"
#include "x11_session.h"

#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <filesystem>
#include <thread>

using namespace std::chrono_literals;

std::chrono::milliseconds stretched(std::chrono::milliseconds limit) {
    const char* factor = std::getenv("LUMARA_TEST_SLOWDOWN");
    const long times = factor ? std::strtol(factor, nullptr, 10) : 1;
    return times > 1 ? limit * times : limit;
}

namespace {

std::optional<int> statusOf(int raw) {
    if (WIFEXITED(raw)) return WEXITSTATUS(raw);
    if (WIFSIGNALED(raw)) return 128 + WTERMSIG(raw);
    return std::nullopt;
}

}  // namespace

int Screenshot::litPixels(int x0, int y0, int x1, int y1, int level) const {
    int lit = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint8_t* p = at(x, y);
            lit += (p[0] > level || p[1] > level || p[2] > level) ? 1 : 0;
        }
    return lit;
}

bool Screenshot::litInEveryCell(int columns, int rows, int minimum) const {
    const int w = width / columns, h = height / rows;
    bool all = width > 0;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x) all = all && litPixels(x * w, y * h, x * w + w, y * h + h) > minimum;
    return all;
}

X11Session::X11Session(const std::string& screen) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return;
    server_ = fork();
    if (server_ == 0) {
        close(pipeFds[0]);
        const int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, 1);
        dup2(devnull, 2);
        const std::string fd = std::to_string(pipeFds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    // Xvfb writes its display number once it accepts clients.
    std::string number;
    char c;
    while (read(pipeFds[0], &c, 1) == 1 && c != '\n') number += c;
    close(pipeFds[0]);
    if (number.empty()) return;
    name_ = ":" + number;
    display_ = XOpenDisplay(name_.c_str());
}

X11Session::~X11Session() {
    if (display_) XCloseDisplay(display_);
    if (server_ > 0) {
        kill(server_, SIGTERM);
        waitpid(server_, nullptr, 0);
    }
}

Screenshot X11Session::capture(Window window) {
    Screenshot shot;
    if (!display_) return shot;
    if (!window) window = DefaultRootWindow(display_);
    XWindowAttributes attributes;
    XGetWindowAttributes(display_, window, &attributes);
    XImage* image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image) return shot;
    shot.width = attributes.width;
    shot.height = attributes.height;
    shot.rgb.resize(static_cast<size_t>(shot.width) * shot.height * 3);
    // The screens are 24 bits deep: a byte a channel.
    uint8_t* out = shot.rgb.data();
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            for (const unsigned long pixel = XGetPixel(image, x, y);
                 const unsigned long mask : {image->red_mask, image->green_mask, image->blue_mask})
                *out++ = static_cast<uint8_t>((pixel & mask) >> __builtin_ctzl(mask));
    XDestroyImage(image);
    return shot;
}

Window X11Session::makeWindow(int x, int y, int width, int height) {
    const Window w = XCreateSimpleWindow(display_, DefaultRootWindow(display_), x, y, static_cast<unsigned>(width),
                                         static_cast<unsigned>(height), 0, 0, WhitePixel(display_, 0));
    XMapWindow(display_, w);
    XSync(display_, False);
    return w;
}

Screenshot X11Session::settledCapture(Window window) {
    Screenshot last, shot = capture(window);
    waitUntil([&] {
        last = std::move(shot);
        shot = capture(window);
        return shot.rgb == last.rgb;
    });
    return shot;
}

Screenshot X11Session::waitForFrames(std::chrono::milliseconds limit) {
    Screenshot shot;
    waitUntil([&] { return (shot = capture()).litPixels(0, 0, shot.width, shot.height) >= 2000; }, limit, 200ms);
    return shot;
}

Screenshot X11Session::paintedOver(Window w, std::chrono::milliseconds limit) {
    Screenshot shot;
    waitUntil([&] { return (shot = capture(w)).litPixels(0, 0, shot.width, shot.height, 250) < shot.width * shot.height / 10; },
              limit, 200ms);
    return shot;
}

Window X11Session::shownWindow(const std::string& title, std::chrono::milliseconds limit) {
    Window found = 0;
    waitUntil([&] {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count);
        for (unsigned i = 0; i < count && !found; ++i) {
            char* name = nullptr;
            XWindowAttributes a;
            if (XFetchName(display_, children[i], &name) && title == name &&
                XGetWindowAttributes(display_, children[i], &a) && a.map_state == IsViewable)
                found = children[i];
            if (name) XFree(name);
        }
        if (children) XFree(children);
        return found != 0;
    }, limit, 100ms);
    return found;
}

int X11Session::xdotool(const std::string& args) {
    const std::string command = "DISPLAY=" + name_ + " xdotool " + args + " >/dev/null 2>&1";
    return std::system(command.c_str());
}

Child::Child(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env) {
    static int counter = 0;
    const std::string tag = std::to_string(getpid()) + "-" + std::to_string(++counter);
    errorFile_ = scratchFolder("children") + "/stderr-" + tag;
    outputFile_ = scratchFolder("children") + "/stdout-" + tag;
    pid_ = fork();
    if (pid_ == 0) {
        for (const auto& [name, value] : env) {
            if (value.empty()) unsetenv(name.c_str());
            else setenv(name.c_str(), value.c_str(), 1);
        }
        const int err = open(errorFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(err, 2);
        const int out = open(outputFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
}

Child::~Child() {
    if (pid_ > 0 && !status_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

std::optional<int> Child::waitFor(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + stretched(limit);
    while (!status_) {
        int raw = 0;
        if (waitpid(pid_, &raw, WNOHANG) == pid_) status_ = statusOf(raw);
        else if (std::chrono::steady_clock::now() >= end) break;
        else std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return status_;
}

bool Child::running() { return !waitFor(std::chrono::milliseconds(0)).has_value(); }

void Child::signal(int number) {
    if (pid_ > 0 && !status_) kill(pid_, number);
}

std::string Child::errorOutput() { return fileText(errorFile_); }

std::string Child::output() { return fileText(outputFile_); }

std::string Child::mappings() { return running() ? fileText("/proc/" + std::to_string(pid_) + "/maps") : ""; }

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit, std::chrono::milliseconds period) {
    const auto end = std::chrono::steady_clock::now() + stretched(limit);
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(period);
    }
}

std::string lumaraPath() { return LUMARA_EXE; }

std::string scratchFolder(const std::string& name) {
    const std::string path = std::string(LUMARA_TEST_TMP) + "/" + name;
    std::filesystem::create_directories(path);
    return path;
}

long Child::wakeUps() {
    long total = 0;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid_) + "/task", error)) {
        std::ifstream status(task.path() / "status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0) total += std::stol(line.substr(line.find(':') + 1));
    }
    return total;
}

double Child::wakeUpsAFrame(std::chrono::milliseconds period) {
    const auto start = std::chrono::steady_clock::now();
    const long before = wakeUps();
    std::this_thread::sleep_for(std::chrono::seconds(3));
    const long woken = wakeUps() - before;
    return static_cast<double>(woken) * static_cast<double>(period.count()) /
           std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}
