#pragma once
#include "saver/messages.h"

// What the host shell and the saver window share: the way the window runs,
// given to both when they are made, and the saver's side of its messages.

enum class SaverWindowMode {
    FullScreen,  // over the whole screen, owning cursor and input: input closes it
    Preview,     // in the preview pane: the preview picture only, never closed by input
    Hack,        // a screen-saver daemon's hack: the daemon owns input; the frame follows the window
};

// The saver's own handling of its window's messages, which the host shell
// hands on after settling what is its own.
class SaverWindowHandler {
public:
    virtual ~SaverWindowHandler() = default;
    // True when the message is settled; false leaves it (after whatever the
    // handler did with it) to the shell's default saver handling.
    virtual bool handle(WindowHandle window, const Message& message) = 0;
};
