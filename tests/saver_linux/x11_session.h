#pragma once
// A private X server (Xvfb) for one test, the saver started in it as a
// child process, and what a person would do with it: look at the screen,
// press a key, move the mouse.
#include <X11/Xlib.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A deadline for what a test waits on, stretched by the whole factor in
// LUMARA_TEST_SLOWDOWN (1 when unset) where every program runs many times
// slower: the i686 Windows build under Wine in an emulated system.
std::chrono::milliseconds stretched(std::chrono::milliseconds limit);

// How long a test waits for what should happen: within a second or two on
// a quiet machine, many times that on a loaded one. Every wait ends as soon
// as what it waits for has happened, so only a failing test waits this long.
inline constexpr std::chrono::milliseconds kPatience{60000};

// Asks `done` every `period` until it holds or `limit` has passed; whether it held.
bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = kPatience,
               std::chrono::milliseconds period = std::chrono::milliseconds(50));

struct Screenshot {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // 3 bytes a pixel

    const uint8_t* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
    // Pixels in the rectangle brighter than `level` in some channel.
    int litPixels(int x0, int y0, int x1, int y1, int level = 24) const;
    // Whether every cell of a grid of columns x rows has more than `minimum` lit pixels.
    bool litInEveryCell(int columns, int rows, int minimum) const;
};

class X11Session {
public:
    explicit X11Session(const std::string& screen = "1280x720x24");
    ~X11Session();
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    bool ready() const { return display_ != nullptr; }
    const std::string& displayName() const { return name_; }
    Display* display() { return display_; }

    Screenshot capture(Window window = 0);
    // The window (the screen) once two captures in a row agree: what the
    // server shows once it has drawn everything a stopped client sent.
    Screenshot settledCapture(Window window = 0);
    // A plain white window of the test's own, mapped, as a daemon or a
    // settings program would make one to draw into.
    Window makeWindow(int x, int y, int width, int height);
    // The screen once it shows something (2000 lit pixels), or as it is
    // when the limit has passed.
    Screenshot waitForFrames(std::chrono::milliseconds limit = kPatience);
    // Window `w`, made white, once something has painted over it (a white
    // window counts as lit), or as it is when the limit has passed.
    Screenshot paintedOver(Window w, std::chrono::milliseconds limit = kPatience);
    // The mapped top-level window named `title` once there is one; 0 when
    // none showed within the limit.
    Window shownWindow(const std::string& title, std::chrono::milliseconds limit = kPatience);
    // Runs xdotool with the arguments against this display.
    int xdotool(const std::string& args);

private:
    pid_t server_ = -1;
    std::string name_;
    Display* display_ = nullptr;
};

// A child process with its own environment, ended (killed) when dropped.
class Child {
public:
    Child(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // The exit status once the child ended within the time, else nothing.
    std::optional<int> waitFor(std::chrono::milliseconds limit = kPatience);
    bool running();
    void signal(int number);
    std::string errorOutput();  // what it wrote to stderr so far
    std::string output();       // what it wrote to stdout so far
    std::string mappings();     // the files it maps now (/proc/PID/maps)
    // How often its threads have slept and woken so far (voluntary context
    // switches, /proc/PID/task/*/status): its wake-ups. Losing the processor
    // to another program is not one, and a busy machine would count many.
    long wakeUps();
    // Its wake-ups a frame of `period`, counted over 3 s from now (the span
    // measured, not a wait for something).
    double wakeUpsAFrame(std::chrono::milliseconds period);

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
    std::string errorFile_;
    std::string outputFile_;
};

std::string lumaraPath();
std::string scratchFolder(const std::string& name);
