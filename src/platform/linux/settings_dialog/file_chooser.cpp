#include "platform/linux/settings_dialog/file_chooser.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>

#include "dialogs/dialog_placement.h"
#include "i18n/text_encoding.h"

namespace {

// The folder of the file chosen last by a chooser that was given a folder.
std::string lastChosenFolder;

bool isFolder(const char* path) {
    struct stat status {};
    return path && ::stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

bool isJpgPattern(std::string_view pattern) {
    if (pattern.size() < 4) return false;
    std::string end(pattern.substr(pattern.size() - 4));
    for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return end == ".jpg";
}

// The patterns of every filter but "*.*", for the first filter.
std::string allPatterns(const OpenFileRequest& request) {
    std::string all;
    for (const auto& [description, patterns] : request.filters) {
        if (patterns == "*.*") continue;
        all += (all.empty() ? "" : ";") + patterns;
    }
    return all;
}

// GTK's own chooser sizes itself from its font or the size it was last
// left at, not from the screen: once it shows, it is fitted into the work
// area of the owner's monitor, its frame included, and moved inside.
struct Fitting {
    GtkWindow* owner;
    guint source;  // 0 once done
};

gboolean keepInsideWorkArea(gpointer data) {
    auto* fitting = static_cast<Fitting*>(data);
    GtkWindow* owner = fitting->owner;
    GList* windows = gtk_window_list_toplevels();
    GtkWindow* chooser = nullptr;
    for (GList* w = windows; w && !chooser; w = w->next)
        if (GTK_IS_FILE_CHOOSER_DIALOG(w->data) && gtk_widget_get_mapped(GTK_WIDGET(w->data)) &&
            gtk_window_get_transient_for(GTK_WINDOW(w->data)) == owner)
            chooser = GTK_WINDOW(w->data);
    g_list_free(windows);
    GdkWindow* shown = chooser ? gtk_widget_get_window(GTK_WIDGET(chooser)) : nullptr;
    if (!shown) return G_SOURCE_CONTINUE;  // not shown yet (a portal's never is: the source ends with the run)
    GdkRectangle area{}, frame{};
    GdkWindow* ownerWindow = gtk_widget_get_window(GTK_WIDGET(owner));
    GdkDisplay* display = gdk_window_get_display(shown);
    GdkMonitor* monitor =
        ownerWindow ? gdk_display_get_monitor_at_window(display, ownerWindow) : gdk_display_get_monitor(display, 0);
    if (!monitor) return G_SOURCE_CONTINUE;
    gdk_monitor_get_workarea(monitor, &area);
    gdk_window_get_frame_extents(shown, &frame);
    int width = 0, height = 0;
    gtk_window_get_size(chooser, &width, &height);
    const int frameWidth = std::max(0, frame.width - width), frameHeight = std::max(0, frame.height - height);
    width = std::min(width, area.width - frameWidth);
    height = std::min(height, area.height - frameHeight);
    gtk_window_resize(chooser, width, height);
    int ownerX = 0, ownerY = 0, ownerWidth = 0, ownerHeight = 0;
    gtk_window_get_position(owner, &ownerX, &ownerY);
    gtk_window_get_size(owner, &ownerWidth, &ownerHeight);
    const PixelRect placed = centredPlacement(width + frameWidth, height + frameHeight,
                                              PixelRect{ownerX, ownerY, ownerX + ownerWidth, ownerY + ownerHeight},
                                              {area.x, area.y, area.x + area.width, area.y + area.height});
    gtk_window_move(chooser, placed.left, placed.top);
    fitting->source = 0;
    return G_SOURCE_REMOVE;
}

}  // namespace

std::string caseInsensitivePattern(std::string_view pattern) {
    if (pattern == "*.*") return "*";
    std::string out;
    for (const char c : pattern) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalpha(byte) && byte < 0x80) {
            out += '[';
            out += static_cast<char>(std::tolower(byte));
            out += static_cast<char>(std::toupper(byte));
            out += ']';
        } else if (c == '[' || c == ']') {
            out += '[';  // a bracket of the name itself
            out += c;
            out += ']';
        } else {
            out += c;
        }
    }
    return out;
}

// JPEG files are named .jpg or .jpeg; the dialogs ask for "*.JPG" alone,
// as Windows' dialog always had it.
GtkFileFilter* windowsFileFilter(const std::string& description, std::string_view patterns) {
    GtkFileFilter* filter = gtk_file_filter_new();
    gtk_file_filter_set_name(filter, shownAsUtf8(description).c_str());
    while (!patterns.empty()) {
        const size_t end = patterns.find(';');
        const std::string_view one = patterns.substr(0, end);
        if (!one.empty()) gtk_file_filter_add_pattern(filter, caseInsensitivePattern(one).c_str());
        if (isJpgPattern(one)) {
            const std::string jpeg = std::string(one.substr(0, one.size() - 4)) + ".JPEG";
            gtk_file_filter_add_pattern(filter, caseInsensitivePattern(jpeg).c_str());
        }
        patterns = end == std::string_view::npos ? std::string_view() : patterns.substr(end + 1);
    }
    return filter;
}

std::string pictureStartFolder() {
    if (!lastChosenFolder.empty()) return lastChosenFolder;
    const char* pictures = g_get_user_special_dir(G_USER_DIRECTORY_PICTURES);
    return isFolder(pictures) ? pictures : g_get_home_dir();
}

bool chooseFile(GtkWindow* owner, const OpenFileRequest& request, std::string& path) {
    const std::string title = shownAsUtf8(request.title);
    GtkFileChooserNative* chooser =
        gtk_file_chooser_native_new(title.c_str(), owner, GTK_FILE_CHOOSER_ACTION_OPEN, nullptr, nullptr);
    GtkFileChooser* files = GTK_FILE_CHOOSER(chooser);
    gtk_file_chooser_set_local_only(files, TRUE);
    std::vector<std::pair<std::string, std::string>> filters = request.filters;
    if (!request.allTypesName.empty()) filters.insert(filters.begin(), {request.allTypesName, allPatterns(request)});
    for (size_t i = 0; i < filters.size(); ++i) {
        GtkFileFilter* filter = windowsFileFilter(filters[i].first, filters[i].second);
        gtk_file_chooser_add_filter(files, filter);
        if (i == 0) gtk_file_chooser_set_filter(files, filter);
    }
    const bool namedFolder = !request.initialFolder.empty();
    if (namedFolder) gtk_file_chooser_set_current_folder(files, pictureStartFolder().c_str());
    Fitting fitting{owner, 0};
    if (owner) fitting.source = g_timeout_add(20, keepInsideWorkArea, &fitting);
    bool chosen = false;
    if (gtk_native_dialog_run(GTK_NATIVE_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
        if (gchar* file = gtk_file_chooser_get_filename(files)) {
            const std::string name(file);
            g_free(file);
            chosen = name.size() < request.bufferSize;
            if (chosen) path = name;
        }
    }
    if (fitting.source) g_source_remove(fitting.source);
    if (chosen && namedFolder) lastChosenFolder = path.substr(0, path.rfind('/'));
    g_object_unref(chooser);
    return chosen;
}
