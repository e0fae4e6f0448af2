#include "platform/linux/gtk/file_chooser.h"

#include <cctype>

#include "i18n/text_encoding.h"

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

GtkFileFilter* windowsFileFilter(const std::string& description, std::string_view patterns) {
    GtkFileFilter* filter = gtk_file_filter_new();
    gtk_file_filter_set_name(filter, shownAsUtf8(description).c_str());
    while (!patterns.empty()) {
        const size_t end = patterns.find(';');
        const std::string_view one = patterns.substr(0, end);
        if (!one.empty()) gtk_file_filter_add_pattern(filter, caseInsensitivePattern(one).c_str());
        patterns = end == std::string_view::npos ? std::string_view() : patterns.substr(end + 1);
    }
    return filter;
}

bool chooseFile(GtkWindow* owner, const OpenFileRequest& request, std::string& path) {
    const std::string title = shownAsUtf8(request.title);
    GtkFileChooserNative* chooser =
        gtk_file_chooser_native_new(title.c_str(), owner, GTK_FILE_CHOOSER_ACTION_OPEN, nullptr, nullptr);
    GtkFileChooser* files = GTK_FILE_CHOOSER(chooser);
    gtk_file_chooser_set_local_only(files, TRUE);
    for (size_t i = 0; i < request.filters.size(); ++i) {
        GtkFileFilter* filter = windowsFileFilter(request.filters[i].first, request.filters[i].second);
        gtk_file_chooser_add_filter(files, filter);
        if (i == 0) gtk_file_chooser_set_filter(files, filter);
    }
    if (!request.initialFolder.empty()) gtk_file_chooser_set_current_folder(files, request.initialFolder.c_str());
    bool chosen = false;
    if (gtk_native_dialog_run(GTK_NATIVE_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
        if (gchar* file = gtk_file_chooser_get_filename(files)) {
            const std::string name(file);
            g_free(file);
            chosen = name.size() < request.bufferSize;
            if (chosen) path = name;
        }
    }
    g_object_unref(chooser);
    return chosen;
}
