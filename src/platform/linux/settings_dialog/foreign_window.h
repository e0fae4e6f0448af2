#pragma once
// Windows of other programs on the X11 display, as GDK windows: the one a
// command line names, and where one shows. Each answers without letting X11
// end the process over a window that does not exist (or no longer does).
#include <gtk/gtk.h>

#include <cstdint>

#include "dialogs/dialog_view.h"

// The window with X11 number `xid`, or null when there is none; the caller
// owns the reference.
GdkWindow* foreignWindow(GdkDisplay* display, uintptr_t xid);
// The window's frame on the screen, into `frame`, while it is viewable;
// false, leaving `frame` as it was, when it is unmapped (minimised, hidden)
// or gone.
bool viewableFrame(GdkWindow* window, PixelRect& frame);
