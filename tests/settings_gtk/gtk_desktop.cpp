#include <gtest/gtest.h>

#include "gtk_desktop.h"
#include "platform_linux/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <thread>

#include "settings/settings_store.h"

// In sanitizer builds: GTK, fontconfig and the accessibility bus keep
// allocations to the end of the process, and their stacks stop inside those
// libraries (built without frame pointers), so a leak report could not tell
// theirs from ours. Memory errors and undefined behaviour are still checked.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

namespace {

class GtkDesktop : public ::testing::Environment {
public:
    void SetUp() override {
        display = std::make_unique<X11Session>();
        ASSERT_TRUE(display->ready());
        const std::string home = desktopFolder();
        std::filesystem::remove_all(home);
        for (const char* sub : {"data", "config", "cache"}) std::filesystem::create_directories(home + "/" + sub);
        setenv("DISPLAY", display->displayName().c_str(), 1);
        setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (home + "/config").c_str(), 1);
        setenv("XDG_CACHE_HOME", (home + "/cache").c_str(), 1);
        setenv("GTK_USE_PORTAL", "0", 1);  // no portal here: GTK's own chooser
        setenv("GSETTINGS_BACKEND", "memory", 1);  // nor a session bus for dconf
        gdk_set_allowed_backends("x11");
        ASSERT_TRUE(gtk_init_check(nullptr, nullptr));
    }
    std::unique_ptr<X11Session> display;
};

GtkDesktop* desktop = static_cast<GtkDesktop*>(::testing::AddGlobalTestEnvironment(new GtkDesktop));

}  // namespace

X11Session& testDisplay() { return *desktop->display; }

std::string desktopFolder() { return scratchFolder("gtk-desktop-" + std::to_string(getpid())); }

void pump(std::chrono::milliseconds time) {
    const auto end = std::chrono::steady_clock::now() + time;
    do {
        while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < end);
}

bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    return waitUntil([&] {
        while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
        return done();
    }, limit, std::chrono::milliseconds(5));
}

void whenReady(std::function<bool()> step) {
    auto* held = new std::function<bool()>(std::move(step));
    g_timeout_add(
        20,
        [](gpointer data) -> gboolean {
            auto* s = static_cast<std::function<bool()>*>(data);
            if (!(*s)()) return G_SOURCE_CONTINUE;
            delete s;
            return G_SOURCE_REMOVE;
        },
        held);
}

SettingsRun::SettingsRun(const std::string& name)
    : folder(scratchFolder("gtk/" + name)), files(folder + "/user.reg", folder + "/machine.reg") {
    std::filesystem::remove(folder + "/user.reg");
}

SettingsRun::~SettingsRun() {
    view.reset();
    pump(std::chrono::milliseconds(0));
}

void SettingsRun::store(const std::function<void(Settings&)>& adjust) {
    Settings s;
    LoadSettings(s, files, folders);
    if (adjust) adjust(s);
    ASSERT_TRUE(SaveSettings(s, files).ok());
}

void SettingsRun::open() {
    view = GtkDialogView::open(dlg::kSettings, dialog, nullptr, {});
    ASSERT_TRUE(view);
    // Shown once the X server has mapped it: then it has its place on the screen.
    GdkWindow* window = gtk_widget_get_window(view->widget());
    ASSERT_TRUE(pumpUntil([window] { return !(gdk_window_get_state(window) & GDK_WINDOW_STATE_WITHDRAWN); }));
    pump();
}

Settings SettingsRun::stored() {
    Settings s;
    LoadSettings(s, files, folders);
    return s;
}

std::string SettingsRun::storeBytes() { return fileText(folder + "/user.reg"); }

GtkWidget* SettingsRun::widget(int id) {
    if (GtkWidget* own = view->controlWidget(id)) return own;
    for (uint32_t page : {dlg::kStarfieldPage, dlg::kFlightPage, dlg::kEffectsPage, dlg::kLanguagePage})
        if (GtkWidget* w = GtkDialogView::latest(page)->controlWidget(id)) return w;
    return nullptr;
}

void SettingsRun::showPage(int index) {
    gtk_notebook_set_current_page(GTK_NOTEBOOK(widget(dlg::kPageTabs)), index);
    pump();
}

std::string shownText(GtkWidget* widget) {
    if (GTK_IS_BUTTON(widget)) widget = gtk_bin_get_child(GTK_BIN(widget));
    return GTK_IS_LABEL(widget) ? gtk_label_get_text(GTK_LABEL(widget)) : "";
}

GtkWidget* shownWindow(GType type) {
    GList* windows = gtk_window_list_toplevels();
    GtkWidget* found = nullptr;
    for (GList* w = windows; w && !found; w = w->next)
        if (G_TYPE_CHECK_INSTANCE_TYPE(w->data, type) && gtk_widget_get_mapped(GTK_WIDGET(w->data)))
            found = GTK_WIDGET(w->data);
    g_list_free(windows);
    return found;
}

namespace {

// Delivers a press and its release through GTK's event handling, as the X
// server's would be; `fill` completes each event.
void pressAndRelease(GtkWidget* widget, GdkEventType press, GdkEventType release, GdkDevice* device,
                     const std::function<void(GdkEvent*)>& fill) {
    GdkWindow* window = gtk_widget_get_window(gtk_widget_get_toplevel(widget));
    for (const GdkEventType type : {press, release}) {
        GdkEvent* event = gdk_event_new(type);
        event->any.window = GDK_WINDOW(g_object_ref(window));
        fill(event);
        gdk_event_set_device(event, device);
        gtk_main_do_event(event);
        gdk_event_free(event);
    }
    pump();
}

GdkSeat* seat() { return gdk_display_get_default_seat(gdk_display_get_default()); }

}  // namespace

void pressKey(GtkWidget* widget, guint keyval) {
    gtk_widget_grab_focus(widget);
    GdkKeymapKey* keys = nullptr;
    gint count = 0;
    gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(gdk_display_get_default()), keyval, &keys, &count);
    const guint16 code = count > 0 ? static_cast<guint16>(keys[0].keycode) : 0;
    g_free(keys);
    pressAndRelease(widget, GDK_KEY_PRESS, GDK_KEY_RELEASE, gdk_seat_get_keyboard(seat()), [&](GdkEvent* event) {
        event->key.keyval = keyval;
        event->key.hardware_keycode = code;
        event->key.time = GDK_CURRENT_TIME;
    });
}

void clickOn(GtkWidget* widget, guint button) {
    clickAt(widget, gtk_widget_get_allocated_width(widget) / 2, gtk_widget_get_allocated_height(widget) / 2, button);
}

void clickAt(GtkWidget* widget, int atX, int atY, guint button) {
    int x = 0, y = 0;
    gtk_widget_translate_coordinates(widget, gtk_widget_get_toplevel(widget), atX, atY, &x, &y);
    pressAndRelease(widget, GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE, gdk_seat_get_pointer(seat()), [&](GdkEvent* event) {
        event->button.x = x;
        event->button.y = y;
        event->button.button = button;
        event->button.time = GDK_CURRENT_TIME;
    });
}
