#include "platform/linux/gtk/linux_help_viewer.h"

#include "platform/linux/gtk/gtk_dialog_view.h"
#include "platform/linux/help/browser_launch.h"
#include "platform/linux/help/popup_font.h"
#include "platform/linux/help/popup_texts.h"
#include "platform/linux/help/topic_extraction.h"

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

}  // namespace

LinuxHelpViewer::~LinuxHelpViewer() { closePopup(); }

intptr_t LinuxHelpViewer::displayTopic(WindowHandle, const std::string& fileAndTopic) {
    const auto [file, topic] = splitFileAndTopic(fileAndTopic);
    ExtractedTopic extracted;
    if (!extractHelpTopic(file, topic, helpCacheRoot(), extracted)) return 0;
    GdkAppLaunchContext* context = gdk_display_get_app_launch_context(gdk_display_get_default());
    const bool opened = openInBrowser(extracted, G_APP_LAUNCH_CONTEXT(context));
    g_object_unref(context);
    return opened ? 1 : 0;
}

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
    gtk_widget_show(label);
    popup_ = gtk_popover_new(widget);
    gtk_container_add(GTK_CONTAINER(popup_), label);
    g_signal_connect(popup_, "closed", G_CALLBACK(gtk_widget_destroy), nullptr);
    g_signal_connect(popup_, "destroy", G_CALLBACK(onPopupGone), this);
    gtk_popover_popup(GTK_POPOVER(popup_));
    return 1;
}

void LinuxHelpViewer::closePopup() {
    if (popup_) gtk_widget_destroy(popup_);
}

void LinuxHelpViewer::onPopupGone(GtkWidget*, gpointer viewer) { static_cast<LinuxHelpViewer*>(viewer)->popup_ = nullptr; }
