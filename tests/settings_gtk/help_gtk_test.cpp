// Help from the settings dialog on Linux: F1 and the licence button open
// their topics in the desktop's browser (a test browser registered in the
// private desktop) through file:// addresses, a topic that cannot be shown
// is said once in the dialog's language, and a right-click anywhere on a
// control shows its pop-up text there, in normal text, whole on the screen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "dialogs/about_dialog.h"
#include "dialogs/dialog_placement.h"
#include "gtk_desktop.h"
#include "i18n/text_encoding.h"
#include "platform_linux/temp_folder.h"
#include "platform/linux/help/popup_texts.h"
#include "platform/linux/help/topic_extraction.h"
#include "ui/context_help.h"
#include "ui/string_table.h"

namespace {

// A browser for HTML pages that writes what it is given to `received`;
// or, given `missing`, one whose program is not there to be started.
void registerBrowser(const std::string& received, const std::string& missing = "") {
    const std::string home = desktopFolder();
    const std::string browser = missing.empty() ? home + "/browser.sh" : missing;
    if (missing.empty()) {
        std::ofstream(browser) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" << received << ".part\" && mv \""
                               << received << ".part\" \"" << received << "\"\n";
        std::filesystem::permissions(browser, std::filesystem::perms::owner_all);
    }
    std::filesystem::create_directories(home + "/data/applications");
    std::ofstream(home + "/data/applications/lumara-test-browser.desktop")
        << "[Desktop Entry]\nType=Application\nName=Test browser\nExec=\"" << browser
        << "\" %u\nMimeType=text/html;\n";
    std::ofstream(home + "/config/mimeapps.list") << "[Default Applications]\ntext/html=lumara-test-browser.desktop\n";
}

// What the browser was given, one argument a line; waits for it.
std::string browserArguments(const std::string& received) {
    pumpUntil([&] { return std::filesystem::exists(received); });
    return fileText(received);
}

// A click of the X server's own at (x, y) of `widget` (in a dialog), the
// pointer left there, taken once `done` holds; its screen point.
std::pair<int, int> clickWithThePointer(GtkWidget* widget, int x, int y, int button,
                                        const std::function<bool()>& done) {
    GtkWidget* top = gtk_widget_get_toplevel(widget);
    int inTop = 0, inTopY = 0, rootX = 0, rootY = 0;
    gtk_widget_translate_coordinates(widget, top, x, y, &inTop, &inTopY);
    gdk_window_get_origin(gtk_widget_get_window(top), &rootX, &rootY);
    testDisplay().xdotool("mousemove " + std::to_string(rootX + inTop) + " " + std::to_string(rootY + inTopY) +
                          " click " + std::to_string(button));
    EXPECT_TRUE(pumpUntil(done)) << "the click was taken";
    return {rootX + inTop, rootY + inTopY};
}

// The text a pop-up window shows (in its frame).
GtkWidget* popupLabel(GtkWidget* popup) { return gtk_bin_get_child(GTK_BIN(gtk_bin_get_child(GTK_BIN(popup)))); }

// The screen rectangle of a window.
GdkRectangle onScreen(GtkWidget* window) {
    GdkRectangle r{};
    gtk_window_get_position(GTK_WINDOW(window), &r.x, &r.y);
    gtk_window_get_size(GTK_WINDOW(window), &r.width, &r.height);
    return r;
}

// The text of a message box.
std::string messageText(GtkWidget* message) {
    gchar* text = nullptr;
    g_object_get(message, "text", &text, nullptr);
    const std::string shown = text ? text : "";
    g_free(text);
    return shown;
}

void withEnglishHelp(Settings& s) { s.HelpFile = std::string(LUMARA_HELP_DIR) + "/Lumara Help (English).chm"; }

// The licence topic, which has no anchor, goes the same way as F1's.
TEST(GtkHelp, F1OnTheFlightPageAndTheLicenceButtonOpenTheirTopicsInTheBrowserThroughFileAddresses) {
    const std::string received = desktopFolder() + "/received";
    registerBrowser(received);
    SettingsRun run("f1");
    run.store(withEnglishHelp);
    run.open();
    run.showPage(1);
    pressKey(run.widget(dlg::kMoveTrackbar), GDK_KEY_F1);
    const std::string cached = "file://" + desktopFolder() + "/cache/lumara/help/";
    std::string uri = browserArguments(received);
    EXPECT_TRUE(uri.starts_with(cached) && uri.ends_with("/settings.htm#tab2\n")) << uri;

    std::filesystem::remove(received);
    AboutDialog about(run.services);
    auto aboutView = GtkDialogView::open(dlg::kAbout, about, GTK_WINDOW(run.view->widget()), {});
    pump();
    gtk_button_clicked(GTK_BUTTON(aboutView->controlWidget(dlg::kLicense)));
    uri = browserArguments(received);
    EXPECT_TRUE(uri.starts_with(cached) && uri.ends_with("/license.htm#top\n")) << uri;
}

// No browser to start: the topic's request says so, once, in the dialog's
// language; the dialog carries on.
TEST(GtkHelp, ATopicWithoutABrowserToShowItIsSaidOnceInTheDialogsLanguage) {
    registerBrowser(desktopFolder() + "/received", "/nonexistent/lumara-test-browser");
    SettingsRun run("no-browser");
    const std::string german = std::string(LUMARA_LANGUAGE_DIR) + "/german.lang";
    run.store([&german](Settings& s) {
        withEnglishHelp(s);
        s.Language = german;
    });
    run.open();
    pressKey(run.widget(dlg::kOk), GDK_KEY_F1);
    pump();
    GtkWidget* message = run.viewer.message();
    ASSERT_TRUE(message);
    EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(message)), GTK_WINDOW(run.view->widget()));
    const size_t line = fileText(german).find("\n3080=");
    ASSERT_NE(line, std::string::npos);
    const std::string expected = shownAsUtf8(fileText(german).substr(line + 6, fileText(german).find('\r', line) - line - 6));
    // It names the copied pages' index, for a browser started by hand.
    const size_t where = expected.find("%1");
    const std::string said = messageText(message);
    ASSERT_TRUE(where != std::string::npos && said.size() > expected.size()) << said;
    const std::string index = said.substr(where, said.size() - expected.size() + 2);
    EXPECT_EQ(said, expected.substr(0, where) + index + expected.substr(where + 2));
    EXPECT_TRUE(index.starts_with(helpCacheRoot()) && index.ends_with("/index.htm") &&
                std::filesystem::is_regular_file(index)) << index;
    GtkWidget* ok = gtk_dialog_get_widget_for_response(GTK_DIALOG(message), GTK_RESPONSE_OK);
    clickWithThePointer(ok, 5, 5, 1, [&] { return !run.viewer.message(); });
    EXPECT_FALSE(run.viewer.message()) << "its OK takes the click";
    pressKey(run.widget(dlg::kOk), GDK_KEY_F1);
    pump();
    EXPECT_FALSE(run.viewer.message()) << "said once";
    EXPECT_TRUE(gtk_widget_get_visible(run.view->widget()));
}

TEST(GtkHelp, RightClickOnTheRoamingAmplitudeShowsTopic29InThePopupFont) {
    SettingsRun run("popup");
    run.store([](Settings& s) {
        withEnglishHelp(s);
        s.Language = std::string(LUMARA_LANGUAGE_DIR) + "/german.lang";  // its pop-up font: MS Sans Serif, 8 points
    });
    run.open();
    run.showPage(1);
    // On the track, away from the knob (at 10 of 0..100), which stays put;
    // with the X server's own click, which a trackbar would take for itself.
    GtkWidget* trackbar = run.widget(dlg::kRoamMagnTrackbar);
    const auto [x, y] = clickWithThePointer(trackbar, gtk_widget_get_allocated_width(trackbar) * 3 / 4,
                                            gtk_widget_get_allocated_height(trackbar) / 2, 3,
                                            [&] { return run.viewer.popup(); });
    GtkWidget* popup = run.viewer.popup();
    ASSERT_TRUE(popup);
    EXPECT_EQ(gtk_range_get_value(GTK_RANGE(trackbar)), 10);
    EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(popup)), GTK_WINDOW(run.view->widget()));
    EXPECT_EQ(onScreen(popup).y, y + kPopupGap) << "under the point clicked";
    EXPECT_LT(std::abs(onScreen(popup).x + onScreen(popup).width / 2 - x), 2);
    GtkWidget* label = popupLabel(popup);
    std::string topic29;
    ASSERT_TRUE(findPopupText(fileText(std::string(LUMARA_HELP_SOURCE_DIR) + "/en/ContextHelp.txt"), 29, topic29));
    EXPECT_EQ(gtk_label_get_text(GTK_LABEL(label)), topic29);
    PangoAttrIterator* at = pango_attr_list_get_iterator(gtk_label_get_attributes(GTK_LABEL(label)));
    const auto* family = reinterpret_cast<PangoAttrString*>(pango_attr_iterator_get(at, PANGO_ATTR_FAMILY));
    const auto* size = reinterpret_cast<PangoAttrInt*>(pango_attr_iterator_get(at, PANGO_ATTR_SIZE));
    ASSERT_TRUE(family && size);
    EXPECT_STREQ(family->value, "MS Sans Serif");
    EXPECT_EQ(size->value, 8 * PANGO_SCALE);
    pango_attr_iterator_destroy(at);
}

// A damaged help file shows no topic, which is said, and no pop-up; the
// dialog carries on.
TEST(GtkHelp, DamagedHelpFileShowsNothingAndSaysSo) {
    SettingsRun run("damaged");
    const std::string damaged = run.folder + "/damaged.chm";
    std::ofstream(damaged) << fileText(std::string(LUMARA_HELP_DIR) + "/Lumara Help (English).chm").substr(0, 3000);
    run.store();
    run.open();
    run.settings.HelpFile = damaged;
    EXPECT_EQ(run.help.ShowContextHelp(run.view->control(dlg::kOk), dlg::kOk, settingsContextTopics()), 0);
    EXPECT_FALSE(run.viewer.popup());
    EXPECT_FALSE(run.viewer.message()) << "a pop-up it cannot find shows nothing";
    EXPECT_EQ(run.help.ShowHelpTopic(0, "::/settings.htm#tab1"), 0);
    ASSERT_TRUE(run.viewer.message());
    EXPECT_EQ(messageText(run.viewer.message()), builtInText(dlg::kHelpTopicUnreadable));
}

// A disabled control's pop-up is in normal text; the tab strip's, asked
// for with the dialog at the bottom of the screen, is whole on the screen;
// a click closes a pop-up.
TEST(GtkHelp, PopupsAreInNormalTextAndWholeOnTheScreen) {
    SettingsRun run("popup-place");
    run.store(withEnglishHelp);
    run.open();
    GtkWidget* remove = run.widget(dlg::kRemovePicture);
    ASSERT_FALSE(gtk_widget_is_sensitive(remove)) << "no picture to remove";
    clickWithThePointer(remove, 5, 5, 3, [&] { return run.viewer.popup(); });
    ASSERT_TRUE(run.viewer.popup());
    EXPECT_TRUE(gtk_widget_is_sensitive(popupLabel(run.viewer.popup())));
    EXPECT_FALSE(gtk_widget_get_state_flags(popupLabel(run.viewer.popup())) & GTK_STATE_FLAG_INSENSITIVE);
    clickWithThePointer(run.view->widget(), 5, 5, 1, [&] { return !run.viewer.popup(); });
    EXPECT_FALSE(run.viewer.popup()) << "closed by the next click";

    // The dialog moved down until the second tab is 20 pixels above the
    // bottom of the screen.
    GdkRectangle screen{};
    gdk_monitor_get_workarea(gdk_display_get_monitor(gdk_display_get_default(), 0), &screen);
    GtkWidget* tabs = run.widget(dlg::kPageTabs);
    const PixelRect tab = run.view->tabItemRect(dlg::kPageTabs, 1);
    const int tabX = (tab.left + tab.right) / 2, tabY = (tab.top + tab.bottom) / 2;
    int inDialogX = 0, inDialogY = 0;
    gtk_widget_translate_coordinates(tabs, run.view->widget(), tabX, tabY, &inDialogX, &inDialogY);
    GdkWindow* dialog = gtk_widget_get_window(run.view->widget());
    const auto originY = [dialog] {
        int left = 0, top = 0;
        gdk_window_get_origin(dialog, &left, &top);
        return top;
    };
    const int before = originY();
    gtk_window_move(GTK_WINDOW(run.view->widget()), 100, screen.y + screen.height - 20 - inDialogY);
    EXPECT_TRUE(pumpUntil([&] { return originY() != before; })) << "moved";
    const auto [x, y] = clickWithThePointer(tabs, tabX, tabY, 3, [&] { return run.viewer.popup(); });
    ASSERT_TRUE(run.viewer.popup());
    const GdkRectangle popup = onScreen(run.viewer.popup());
    EXPECT_EQ(popup.y + popup.height, y - kPopupGap) << "above the point: no room below it";
    EXPECT_LE(popup.x, x);
    EXPECT_GE(popup.x + popup.width, x);
    EXPECT_GE(popup.x, screen.x);
    EXPECT_LE(popup.x + popup.width, screen.x + screen.width);
}

}  // namespace
