#include "platform/linux/help/browser_launch.h"

#include <gio/gio.h>

namespace {

// True when the application that opens `uri` takes URIs rather than file
// names (or cannot be asked; the launch then decides).
bool handlerTakesUris(const std::string& uri) {
    GFile* file = g_file_new_for_uri(uri.c_str());
    GAppInfo* handler = g_file_query_default_handler(file, nullptr, nullptr);
    g_object_unref(file);
    if (!handler) return true;
    const bool takesUris = g_app_info_supports_uris(handler);
    g_object_unref(handler);
    return takesUris;
}

// GIO hands an application that takes URIs a local file's path instead
// of its file:// address when the address has no fragment, and a browser
// may take a path for a name to look up. "#top", the top of the page, keeps
// a topic without an anchor a file:// address.
std::string withFragment(const std::string& uri) { return uri.find('#') == std::string::npos ? uri + "#top" : uri; }

}  // namespace

bool openInBrowser(const ExtractedTopic& topic, GAppLaunchContext* context) {
    if (topic.pageUri.empty()) return false;
    const bool takesUris = handlerTakesUris(topic.pageUri);
    const std::string uri =
        takesUris ? withFragment(topic.pageUri) : topic.jumpUri.empty() ? topic.pageUri : topic.jumpUri;
    GError* error = nullptr;
    const bool launched = g_app_info_launch_default_for_uri(uri.c_str(), context, &error);
    g_clear_error(&error);
    return launched;
}
