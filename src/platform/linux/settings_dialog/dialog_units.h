#pragma once
// Dialog units into pixels, as Windows converts them: from the dialog
// font's average character width (the width of the 52 Latin letters over
// 52, rounded) and its character height. Here the font is the GTK theme's,
// measured through Pango, so a template laid out for one font keeps its
// proportions in another. Pairs with dialog_layout.h, which places every
// control at its converted rectangle.
#include <gtk/gtk.h>

struct DialogUnits {
    int averageCharWidth = 0;  // pixels (GTK's logical pixels)
    int charHeight = 0;

    // The metrics of the font `widget` draws its text in.
    static DialogUnits of(GtkWidget* widget);

    int x(int units) const;
    int y(int units) const;
};
