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

}  // namespace

bool openInBrowser(const ExtractedTopic& topic, GAppLaunchContext* context) {
    const bool useJump = !topic.jumpUri.empty() && !handlerTakesUris(topic.pageUri);
    const std::string& uri = useJump ? topic.jumpUri : topic.pageUri;
    if (uri.empty()) return false;
    GError* error = nullptr;
    const bool launched = g_app_info_launch_default_for_uri(uri.c_str(), context, &error);
    g_clear_error(&error);
    return launched;
}
