#include <gtest/gtest.h>

#include "platform/linux/session/display_choice.h"

// Which display system a run takes from its environment, and when the X11
// modes have no X11 display to find their windows on.
TEST(DisplayChoice, TheSessionDecidesAndSdlVideoDriverOverrides) {
    struct Case {
        DisplayEnvironment environment;
        DisplaySystem system;
        bool waylandAlone;
    };
    const Case cases[] = {
        {{nullptr, ":0", nullptr}, DisplaySystem::X11, false},
        {{"", ":0", ""}, DisplaySystem::X11, false},
        {{nullptr, nullptr, nullptr}, DisplaySystem::X11, false},  // no display at all: SDL says so
        {{"wayland-1", nullptr, nullptr}, DisplaySystem::Wayland, true},
        {{"wayland-1", "", nullptr}, DisplaySystem::Wayland, true},
        {{"/run/user/1000/wayland-0", ":0", nullptr}, DisplaySystem::Wayland, false},  // Xwayland beside it
        {{"wayland-1", ":0", "x11"}, DisplaySystem::X11, false},
        {{"wayland-1", nullptr, "x11"}, DisplaySystem::X11, false},
        {{nullptr, ":0", "wayland"}, DisplaySystem::Wayland, false},
        {{"wayland-1", nullptr, "wayland,x11"}, DisplaySystem::Wayland, true},
        {{"wayland-1", ":0", "x11,wayland"}, DisplaySystem::X11, false},
        {{"wayland-1", nullptr, "waylandx"}, DisplaySystem::X11, false},
        {{"wayland-1", nullptr, "dummy"}, DisplaySystem::X11, false},  // SDL's own driver
    };
    for (const Case& c : cases) {
        const DisplayEnvironment& e = c.environment;
        const auto shown = [](const char* value) { return std::string(value ? value : "-"); };
        SCOPED_TRACE(shown(e.waylandDisplay) + " " + shown(e.x11Display) + " " + shown(e.videoDriver));
        EXPECT_EQ(chooseDisplaySystem(e), c.system);
        EXPECT_EQ(waylandAlone(e), c.waylandAlone);
    }
}
