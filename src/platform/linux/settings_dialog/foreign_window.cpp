#include "platform/linux/settings_dialog/foreign_window.h"

#include <X11/Xlib.h>
#include <gdk/gdkx.h>

GdkWindow* foreignWindow(GdkDisplay* display, uintptr_t xid) {
    if (xid == 0 || !GDK_IS_X11_DISPLAY(display)) return nullptr;
    return gdk_x11_window_foreign_new_for_display(display, static_cast<Window>(xid));
}

bool viewableFrame(GdkWindow* window, PixelRect& frame) {
    if (!window) return false;
    GdkDisplay* display = gdk_window_get_display(window);
    XWindowAttributes attributes;
    GdkRectangle extents{0, 0, 0, 0};
    gdk_x11_display_error_trap_push(display);
    const bool viewable = XGetWindowAttributes(gdk_x11_display_get_xdisplay(display), gdk_x11_window_get_xid(window),
                                               &attributes) != 0 &&
                          attributes.map_state == IsViewable;
    if (viewable) gdk_window_get_frame_extents(window, &extents);
    if (gdk_x11_display_error_trap_pop(display) != 0 || !viewable) return false;
    frame = {extents.x, extents.y, extents.x + extents.width, extents.y + extents.height};
    return true;
}
