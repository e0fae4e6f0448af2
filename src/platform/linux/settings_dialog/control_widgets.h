#pragma once
// The GTK widget of each control kind of the dialog templates, and how a
// control's text shows on it. Pairs with dialog_layout.h, which places the
// widgets, and GtkDialogView, which turns their signals into the
// controllers' messages.
//
// Push buttons and check boxes are GtkButton and GtkCheckButton, static
// texts GtkLabel, group boxes GtkFrame, etched lines GtkSeparator, pictures
// GtkImage, edit fields GtkEntry, list boxes a GtkListBox in a scrolled
// window, drop-down lists GtkComboBoxText, trackbars GtkScale, tab controls
// GtkNotebook. Texts keep Windows' "&" mnemonics in the data; the widgets
// show them as GTK's "_". GTK takes UTF-8 only: every text reaches a widget
// through shownAsUtf8 (i18n/text_encoding.h), and a control's text is handed
// back in the bytes it was given. An edit field's is what it holds in
// Windows-1252, as the Windows build stores a typed name ('?' for a
// character that code page lacks), so both builds accept the same names.
// A text that does not fit its control ends in an ellipsis rather than
// making the control grow over its neighbours.
#include <gtk/gtk.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/window_messages.h"
#include "platform/linux/settings_dialog/dialog_units.h"
#include "ui/dialog_template.h"

struct ControlWidget {
    int32_t id = kUnnamedControl;
    ControlKind kind = ControlKind::Label;
    GtkWidget* outer = nullptr;  // what sits in the dialog; the control's window handle
    GtkWidget* inner = nullptr;  // what holds its value (the list inside its scrolled window); else outer
    std::string text;            // as last set, "&" and all, its bytes unconverted
};

// The window handle the controllers hold for a dialog's, page's or
// control's widget.
inline WindowHandle handleOf(GtkWidget* widget) { return reinterpret_cast<WindowHandle>(widget); }

// Windows' mnemonic text in GTK's form: "&x" becomes "_x", "&&" a plain
// "&", and a "_" of the text stays a plain "_".
std::string gtkMnemonicText(std::string_view text);

// The widget of `control`, sized from the template. `picture` is the image
// (a BMP, PNG or other file GdkPixbuf reads) of picture controls.
ControlWidget makeControlWidget(const ControlTemplate& control, const DialogUnits& units,
                                std::span<const uint8_t> picture);

// Shows `text` as the control shows a window text: the label of buttons,
// check boxes, static texts and group boxes, the contents of edit fields.
// Lists, drop-down lists, trackbars and tab controls show none.
void setControlText(ControlWidget& control, std::string_view text);

// Limits the characters an edit field holds: typing and pasting stop at
// the limit.
void limitEditCharacters(GtkWidget* entry, size_t limit);
