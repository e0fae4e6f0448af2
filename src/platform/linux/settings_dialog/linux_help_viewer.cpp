#include "platform/linux/settings_dialog/linux_help_viewer.h"

#include "dialogs/dialog_placement.h"
#include "dialogs/dialog_services.h"
#include "i18n/text_encoding.h"
#include "platform/linux/settings_dialog/gtk_dialog_view.h"
#include "platform/linux/help/browser_launch.h"
#include "platform/linux/help/popup_font.h"
#include "platform/linux/help/popup_texts.h"
#include "platform/linux/help/topic_extraction.h"
#include "ui/dialog_ids.h"

namespace {

// "<file>::<topic>" as Help joins them; the topic follows the last "::".
std::pair<std::string, std::string> splitFileAndTopic(const std::string& joined) {
    const size_t at = joined.rfind("::");
    if (at == std::string::npos) return {joined, ""};
    return {joined.substr(0, at), joined.substr(at)};
}

PangoAttrList* fontAttributes(const PopupFont& font) {
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_family_new(font.face.c_str()));
    if (font.pointSize > 0) pango_attr_list_insert(attributes, pango_attr_size_new(font.pointSize * PANGO_SCALE));
    if (font.bold) pango_attr_list_insert(attributes, pango_attr_weight_new(PANGO_WEIGHT_BOLD));
    if (font.italic) pango_attr_list_insert(attributes, pango_attr_style_new(PANGO_STYLE_ITALIC));
    if (font.underline) pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    return attributes;
}

// The rectangle of `widget` on the screen.
PixelRect screenRect(GtkWidget* widget) {
    GtkWidget* top = gtk_widget_get_toplevel(widget);
    int x = 0, y = 0, left = 0, topY = 0;
    gtk_widget_translate_coordinates(widget, top, 0, 0, &x, &y);
    if (GdkWindow* window = gtk_widget_get_window(top)) gdk_window_get_origin(window, &left, &topY);
    return {left + x, topY + y, left + x + gtk_widget_get_allocated_width(widget),
            topY + y + gtk_widget_get_allocated_height(widget)};
}

// Where a control's pop-up belongs: the pointer when it is on the control,
// as after a right-click, else the control's middle (a key asked for it).
void popupPoint(GtkWidget* control, int& x, int& y) {
    const PixelRect rect = screenRect(control);
    x = (rect.left + rect.right) / 2;
    y = (rect.top + rect.bottom) / 2;
    GdkSeat* seat = gdk_display_get_default_seat(gtk_widget_get_display(control));
    int px = 0, py = 0;
    if (GdkDevice* pointer = seat ? gdk_seat_get_pointer(seat) : nullptr) gdk_device_get_position(pointer, nullptr, &px, &py);
    if (px >= rect.left && px < rect.right && py >= rect.top && py < rect.bottom) x = px, y = py;
}

// The copied page a reader opens by hand when no browser could be started:
// the help's index.htm beside the topic's page, which every page links to
// and so was copied with it, else the topic's page; as the file system
// names it, in UTF-8.
std::string pageToOpenByHand(const ExtractedTopic& extracted) {
    const std::string uri = extracted.pageUri.substr(0, extracted.pageUri.find('#'));
    gchar* page = g_filename_from_uri(uri.c_str(), nullptr, nullptr);
    if (!page) return uri;
    gchar* folder = g_path_get_dirname(page);
    gchar* index = g_build_filename(folder, "index.htm", nullptr);
    gchar* shown = g_filename_display_name(g_file_test(index, G_FILE_TEST_IS_REGULAR) ? index : page);
    std::string path = shown;
    for (gchar* s : {page, folder, index, shown}) g_free(s);
    return path;
}

PixelRect workAreaAt(GdkDisplay* display, int x, int y) {
    GdkRectangle area{0, 0, 0, 0};
    if (GdkMonitor* monitor = gdk_display_get_monitor_at_point(display, x, y)) gdk_monitor_get_workarea(monitor, &area);
    return {area.x, area.y, area.x + area.width, area.y + area.height};
}

}  // namespace

LinuxHelpViewer::~LinuxHelpViewer() {
    closePopup();
    if (message_) gtk_widget_destroy(message_);
}

intptr_t LinuxHelpViewer::displayTopic(WindowHandle owner, const std::string& fileAndTopic) {
    const auto [file, topic] = splitFileAndTopic(fileAndTopic);
    ExtractedTopic extracted;
    if (!extractHelpTopic(file, topic, helpCacheRoot(), extracted)) {
        tellCannotShow(owner, dlg::kHelpTopicUnreadable);
        return 0;
    }
    GdkAppLaunchContext* context = gdk_display_get_app_launch_context(gdk_display_get_default());
    const bool opened = openInBrowser(extracted, G_APP_LAUNCH_CONTEXT(context));
    g_object_unref(context);
    if (!opened) tellCannotShow(owner, dlg::kNoHelpBrowser, pageToOpenByHand(extracted));
    return opened ? 1 : 0;
}

// Without a message the user would see nothing happen at all; once is
// enough to learn why, so later requests stay quiet.
void LinuxHelpViewer::tellCannotShow(WindowHandle owner, uint32_t textId, const std::string& where) {
    if (told_) return;
    told_ = true;
    std::string text = shownAsUtf8(dialogText(settings_, textId, kMessageBuffer));
    // A translation made before the text named the place still shows it.
    if (const size_t at = text.find("%1"); at != std::string::npos) text.replace(at, 2, where);
    else if (!where.empty()) text += "\n\n" + where;
    GtkWidget* near = GtkDialogView::liveWidget(owner);
    if (const GtkDialogView* settings = near ? nullptr : GtkDialogView::latest(dlg::kSettings)) near = settings->widget();
    GtkWindow* parent = near ? GTK_WINDOW(gtk_widget_get_toplevel(near)) : nullptr;
    // Modal over the modal dialog, which would otherwise keep its input;
    // shown without waiting, as the request returns at once.
    message_ = gtk_message_dialog_new(parent, GtkDialogFlags(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
                                      GTK_MESSAGE_WARNING, GTK_BUTTONS_OK, "%s", text.c_str());
    gtk_window_set_title(GTK_WINDOW(message_),
                         shownAsUtf8(dialogText(settings_, dlg::kMessageCaption, kMessageBuffer)).c_str());
    // A path in it can be selected and copied; the focus stays on OK.
    GList* labels = gtk_container_get_children(
        GTK_CONTAINER(gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(message_))));
    for (GList* l = labels; l; l = l->next)
        if (GTK_IS_LABEL(l->data)) gtk_label_set_selectable(GTK_LABEL(l->data), TRUE);
    g_list_free(labels);
    g_signal_connect(message_, "response", G_CALLBACK(gtk_widget_destroy), nullptr);
    g_signal_connect(message_, "destroy", G_CALLBACK(onMessageGone), this);
    gtk_widget_show(message_);
    gtk_widget_grab_focus(gtk_dialog_get_widget_for_response(GTK_DIALOG(message_), GTK_RESPONSE_OK));
}

// A window of its own rather than a popover: a popover takes on the
// state of its control (greyed for a disabled one) and is cut at the edge
// of the dialog's window.
intptr_t LinuxHelpViewer::displayTextPopup(WindowHandle control, const std::string& file, const HelpPopup& popup) {
    GtkWidget* widget = GtkDialogView::liveWidget(control);
    if (!widget) return 0;
    std::string text;
    if (!loadPopupText(splitFileAndTopic(file).first, popup.topic, text)) return 0;
    closePopup();
    GtkWidget* label = gtk_label_new(text.c_str());
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(label), 50);
    gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
    if (PopupFont font; parsePopupFont(popup.font, font)) {
        PangoAttrList* attributes = fontAttributes(font);
        gtk_label_set_attributes(GTK_LABEL(label), attributes);
        pango_attr_list_unref(attributes);
    }
    g_object_set(label, "margin", 6, nullptr);
    GtkWidget* frame = gtk_frame_new(nullptr);
    gtk_frame_set_shadow_type(GTK_FRAME(frame), GTK_SHADOW_OUT);
    gtk_container_add(GTK_CONTAINER(frame), label);
    popup_ = gtk_window_new(GTK_WINDOW_POPUP);
    gtk_window_set_transient_for(GTK_WINDOW(popup_), GTK_WINDOW(gtk_widget_get_toplevel(widget)));
    gtk_container_add(GTK_CONTAINER(popup_), frame);
    gtk_widget_show_all(frame);

    int x = 0, y = 0;
    popupPoint(widget, x, y);
    GtkRequisition size{};
    gtk_widget_get_preferred_size(popup_, nullptr, &size);
    const PixelRect placed =
        popupPlacement(size.width, size.height, x, y, workAreaAt(gtk_widget_get_display(widget), x, y));
    // At its natural width: a window is as tall as its wrapping text is at
    // the narrowest width, and would stand taller than the text.
    gtk_widget_set_size_request(popup_, size.width, -1);
    gtk_window_move(GTK_WINDOW(popup_), placed.left, placed.top);

    // Like a menu, the pop-up holds the pointer and keyboard: the next
    // click or key, anywhere, closes it.
    gtk_widget_add_events(popup_, GDK_BUTTON_PRESS_MASK | GDK_KEY_PRESS_MASK);
    for (const char* input : {"button-press-event", "key-press-event", "grab-broken-event"})
        g_signal_connect(popup_, input, G_CALLBACK(onPopupInput), this);
    g_signal_connect(popup_, "destroy", G_CALLBACK(onPopupGone), this);
    gtk_widget_show(popup_);
    gdk_seat_grab(gdk_display_get_default_seat(gtk_widget_get_display(popup_)), gtk_widget_get_window(popup_),
                  GDK_SEAT_CAPABILITY_ALL, FALSE, nullptr, nullptr, nullptr, nullptr);
    gtk_grab_add(popup_);
    return 1;
}

void LinuxHelpViewer::closePopup() {
    if (popup_) gtk_widget_destroy(popup_);
}

gboolean LinuxHelpViewer::onPopupInput(GtkWidget*, GdkEvent*, gpointer viewer) {
    static_cast<LinuxHelpViewer*>(viewer)->closePopup();
    return TRUE;
}

void LinuxHelpViewer::onPopupGone(GtkWidget* window, gpointer viewer) {
    gtk_grab_remove(window);
    gdk_seat_ungrab(gdk_display_get_default_seat(gtk_widget_get_display(window)));
    static_cast<LinuxHelpViewer*>(viewer)->popup_ = nullptr;
}

void LinuxHelpViewer::onMessageGone(GtkWidget*, gpointer viewer) {
    static_cast<LinuxHelpViewer*>(viewer)->message_ = nullptr;
}
