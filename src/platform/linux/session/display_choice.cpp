#include "platform/linux/session/display_choice.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

bool set(const char* value) { return value && *value; }

}  // namespace

DisplaySystem chooseDisplaySystem(const DisplayEnvironment& environment) {
    // SDL takes a list ("wayland,x11") and tries its names in order.
    if (set(environment.videoDriver)) {
        const char* driver = environment.videoDriver;
        const std::string_view first(driver, std::strcspn(driver, ","));
        return first == "wayland" ? DisplaySystem::Wayland : DisplaySystem::X11;
    }
    return set(environment.waylandDisplay) ? DisplaySystem::Wayland : DisplaySystem::X11;
}

bool waylandAlone(const DisplayEnvironment& environment) {
    return chooseDisplaySystem(environment) == DisplaySystem::Wayland && !set(environment.x11Display);
}

DisplayEnvironment displayEnvironment() {
    return {std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY"), std::getenv("SDL_VIDEODRIVER")};
}
