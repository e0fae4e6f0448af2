#pragma once
// Which display system a run of the saver and its settings dialog use: the
// native Wayland client in a Wayland session, X11 (through SDL, or the
// video driver SDL_VIDEODRIVER names) elsewhere. One rule for the saver,
// the dialog's GTK backend and the modes that exist only on X11.

enum class DisplaySystem { X11, Wayland };

// The variables the choice reads; null or empty when unset.
struct DisplayEnvironment {
    const char* waylandDisplay = nullptr;  // WAYLAND_DISPLAY
    const char* x11Display = nullptr;      // DISPLAY
    const char* videoDriver = nullptr;     // SDL_VIDEODRIVER
};

// SDL_VIDEODRIVER decides, as it does for SDL programs: Wayland when it
// names "wayland" first, else X11's side (x11, or another driver of SDL's). Otherwise a Wayland
// session (WAYLAND_DISPLAY set) is Wayland's, even where Xwayland also
// gives it a DISPLAY.
DisplaySystem chooseDisplaySystem(const DisplayEnvironment& environment);

// Whether the preview pane and a daemon's hack, which name X11 windows,
// have no X11 display to find them on: Wayland is the choice and DISPLAY is
// unset.
bool waylandAlone(const DisplayEnvironment& environment);

// This process's environment.
DisplayEnvironment displayEnvironment();
