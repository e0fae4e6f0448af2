#include "platform/linux/settings_dialog/control_widgets.h"

#include <algorithm>

#include "i18n/text_encoding.h"

namespace {

// The picture scaled to fit the control, keeping its proportions.
GtkWidget* pictureWidget(std::span<const uint8_t> picture, int width, int height) {
    if (picture.empty()) return gtk_image_new();
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    const bool read = gdk_pixbuf_loader_write(loader, picture.data(), picture.size(), nullptr) &&
                      gdk_pixbuf_loader_close(loader, nullptr);
    GdkPixbuf* original = read ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
    GtkWidget* image = gtk_image_new();
    if (original) {
        const int pw = gdk_pixbuf_get_width(original), ph = gdk_pixbuf_get_height(original);
        const double scale = std::min(static_cast<double>(width) / pw, static_cast<double>(height) / ph);
        GdkPixbuf* fitted = gdk_pixbuf_scale_simple(original, std::max(1, static_cast<int>(pw * scale)),
                                                    std::max(1, static_cast<int>(ph * scale)), GDK_INTERP_BILINEAR);
        gtk_image_set_from_pixbuf(GTK_IMAGE(image), fitted);
        g_object_unref(fitted);
    } else {
        gdk_pixbuf_loader_close(loader, nullptr);
    }
    g_object_unref(loader);
    return image;
}

// A list framed as Windows frames one with a border.
GtkWidget* listWidget(GtkWidget*& list, bool border) {
    GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scrolled), border ? GTK_SHADOW_IN : GTK_SHADOW_NONE);
    list = gtk_list_box_new();
    gtk_list_box_set_selection_mode(GTK_LIST_BOX(list), GTK_SELECTION_SINGLE);
    gtk_container_add(GTK_CONTAINER(scrolled), list);
    gtk_widget_show(list);
    return scrolled;
}

// Push buttons keep the side padding of Windows' push buttons: the
// template's widths leave that much beside the text, and the theme's
// wider padding for text buttons would cut longer translations short.
void narrowPadding(GtkWidget* button) {
    static GtkCssProvider* provider = [] {
        GtkCssProvider* css = gtk_css_provider_new();
        gtk_css_provider_load_from_data(css, "button { padding-left: 4px; padding-right: 4px; }", -1, nullptr);
        return css;
    }();
    gtk_style_context_add_provider(gtk_widget_get_style_context(button), GTK_STYLE_PROVIDER(provider),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

// The label a button made for its text: it ellipsizes instead of widening
// the button.
void fitButtonLabel(GtkWidget* button) {
    GtkWidget* child = gtk_bin_get_child(GTK_BIN(button));
    if (GTK_IS_LABEL(child)) gtk_label_set_ellipsize(GTK_LABEL(child), PANGO_ELLIPSIZE_END);
}

}  // namespace

std::string gtkMnemonicText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '_') {
            out += "__";
        } else if (c == '&' && i + 1 < text.size()) {
            ++i;
            out += text[i] == '&' ? "&" : std::string("_") + (text[i] == '_' ? "_" : std::string(1, text[i]));
        } else {
            out += c;
        }
    }
    return out;
}

ControlWidget makeControlWidget(const ControlTemplate& t, const DialogUnits& units, std::span<const uint8_t> picture) {
    ControlWidget c;
    c.id = t.id;
    c.kind = t.kind;
    const int width = units.x(t.width), height = units.y(t.height);
    int requestHeight = height;
    switch (t.kind) {
    case ControlKind::PushButton:
        c.outer = gtk_button_new_with_mnemonic("");
        narrowPadding(c.outer);
        break;
    case ControlKind::CheckBox:
        c.outer = gtk_check_button_new_with_mnemonic("");
        break;
    case ControlKind::GroupBox:
        c.outer = gtk_frame_new(nullptr);
        gtk_frame_set_shadow_type(GTK_FRAME(c.outer), GTK_SHADOW_ETCHED_IN);
        break;
    case ControlKind::Label:
        c.outer = gtk_label_new(nullptr);
        gtk_label_set_xalign(GTK_LABEL(c.outer), (t.style & style::kCentred) ? 0.5f : 0.0f);
        gtk_label_set_yalign(GTK_LABEL(c.outer), 0.0f);
        gtk_label_set_ellipsize(GTK_LABEL(c.outer), PANGO_ELLIPSIZE_END);
        break;
    case ControlKind::Picture:
        c.outer = pictureWidget(picture, width, height);
        break;
    case ControlKind::EtchedLine:
        c.outer = gtk_separator_new(GTK_ORIENTATION_HORIZONTAL);
        requestHeight = -1;
        break;
    case ControlKind::Edit:
        c.outer = gtk_entry_new();
        break;
    case ControlKind::ListBox:
        c.outer = listWidget(c.inner, t.style & style::kBorder);
        break;
    case ControlKind::DropDownList:
        // The template's height is that of the open list; the closed box
        // is as high as the theme makes it.
        c.outer = gtk_combo_box_text_new();
        requestHeight = -1;
        break;
    case ControlKind::Trackbar:
        c.outer = gtk_scale_new(GTK_ORIENTATION_HORIZONTAL, nullptr);
        gtk_scale_set_draw_value(GTK_SCALE(c.outer), FALSE);
        gtk_scale_set_digits(GTK_SCALE(c.outer), 0);
        gtk_range_set_round_digits(GTK_RANGE(c.outer), 0);
        break;
    case ControlKind::TabControl:
        c.outer = gtk_notebook_new();
        gtk_notebook_set_scrollable(GTK_NOTEBOOK(c.outer), TRUE);
        break;
    }
    if (!c.inner) c.inner = c.outer;
    gtk_widget_set_size_request(c.outer, width, requestHeight);
    if (t.style & style::kDisabled) gtk_widget_set_sensitive(c.outer, FALSE);
    setControlText(c, t.text);
    return c;
}

void setControlText(ControlWidget& c, std::string_view text) {
    c.text = text;
    const std::string utf8 = shownAsUtf8(text);
    const std::string shown = gtkMnemonicText(utf8);
    switch (c.kind) {
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
        gtk_button_set_label(GTK_BUTTON(c.outer), shown.c_str());
        gtk_button_set_use_underline(GTK_BUTTON(c.outer), TRUE);
        fitButtonLabel(c.outer);
        break;
    case ControlKind::Label:
        gtk_label_set_text_with_mnemonic(GTK_LABEL(c.outer), shown.c_str());
        break;
    case ControlKind::GroupBox:
        if (!GTK_IS_BUTTON(gtk_frame_get_label_widget(GTK_FRAME(c.outer))))
            gtk_frame_set_label(GTK_FRAME(c.outer), utf8.empty() ? nullptr : utf8.c_str());
        break;
    case ControlKind::Edit:
        gtk_entry_set_text(GTK_ENTRY(c.outer), utf8.c_str());
        break;
    default:
        break;
    }
}

// GTK counts characters, and every character is one byte of the field's
// text in Windows-1252. It takes no limit above 65536, and 0 for none.
void limitEditCharacters(GtkWidget* entry, size_t limit) {
    constexpr size_t kLongestLimit = 65536;
    gtk_entry_set_max_length(GTK_ENTRY(entry), static_cast<gint>(std::min(limit, kLongestLimit)));
}
