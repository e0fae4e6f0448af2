#include "platform/linux/settings_dialog/dialog_units.h"

namespace {

// MulDiv: the product over the divisor, rounded half away from zero.
int scaled(int value, int multiplier, int divisor) {
    const long long product = static_cast<long long>(value) * multiplier;
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

}  // namespace

DialogUnits DialogUnits::of(GtkWidget* widget) {
    PangoLayout* layout = gtk_widget_create_pango_layout(widget, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    g_object_unref(layout);
    return {(width / 26 + 1) / 2, height};
}

int DialogUnits::x(int units) const { return scaled(units, averageCharWidth, 4); }

int DialogUnits::y(int units) const { return scaled(units, charHeight, 8); }
