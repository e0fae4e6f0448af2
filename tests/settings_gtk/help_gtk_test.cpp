// Help from the settings dialog on Linux: F1 opens the page's topic in the
// desktop's browser (a test browser registered in the private desktop),
// a right-click shows the control's pop-up text at the control.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "gtk_desktop.h"
#include "platform_linux/temp_folder.h"
#include "platform/linux/help/popup_texts.h"
#include "ui/context_help.h"

namespace {

using namespace std::chrono_literals;

// A browser for HTML pages that writes what it is given to `received`.
void registerBrowser(const std::string& received) {
    const std::string home = desktopFolder();
    const std::string browser = home + "/browser.sh";
    std::ofstream(browser) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" << received << ".part\" && mv \"" << received
                           << ".part\" \"" << received << "\"\n";
    std::filesystem::permissions(browser, std::filesystem::perms::owner_all);
    std::filesystem::create_directories(home + "/data/applications");
    std::ofstream(home + "/data/applications/lumara-test-browser.desktop")
        << "[Desktop Entry]\nType=Application\nName=Test browser\nExec=\"" << browser
        << "\" %u\nMimeType=text/html;\n";
    std::ofstream(home + "/config/mimeapps.list") << "[Default Applications]\ntext/html=lumara-test-browser.desktop\n";
}

void withEnglishHelp(Settings& s) { s.HelpFile = std::string(LUMARA_HELP_DIR) + "/Lumara Help (English).chm"; }

TEST(GtkHelp, F1OnTheFlightPageOpensItsTopicInTheBrowser) {
    const std::string received = desktopFolder() + "/received";
    registerBrowser(received);
    SettingsRun run("f1");
    run.store(withEnglishHelp);
    run.open();
    run.showPage(1);
    pressKey(run.widget(dlg::kMoveTrackbar), GDK_KEY_F1);
    for (int tries = 0; tries < 100 && !std::filesystem::exists(received); ++tries) pump(50ms);
    const std::string uri = fileText(received);
    EXPECT_TRUE(uri.starts_with("file://" + desktopFolder() + "/cache/lumara/help/")) << uri;
    EXPECT_TRUE(uri.ends_with("/settings.htm#tab2\n")) << uri;
}

TEST(GtkHelp, RightClickOnTheRoamingAmplitudeShowsTopic29InThePopupFont) {
    SettingsRun run("popup");
    run.store([](Settings& s) {
        withEnglishHelp(s);
        s.Language = std::string(LUMARA_LANGUAGE_DIR) + "/german.lang";  // its pop-up font: MS Sans Serif, 8 points
    });
    run.open();
    run.showPage(1);
    clickOn(run.widget(dlg::kRoamMagnTrackbar), GDK_BUTTON_SECONDARY);
    for (int tries = 0; tries < 40 && !run.viewer.popup(); ++tries) pump(50ms);
    GtkWidget* popup = run.viewer.popup();
    ASSERT_TRUE(popup);
    EXPECT_EQ(gtk_popover_get_relative_to(GTK_POPOVER(popup)), run.widget(dlg::kRoamMagnTrackbar));
    GtkWidget* label = gtk_bin_get_child(GTK_BIN(popup));
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

// A damaged help file shows nothing, and the dialog carries on.
TEST(GtkHelp, DamagedHelpFileShowsNothing) {
    SettingsRun run("damaged");
    const std::string damaged = run.folder + "/damaged.chm";
    std::ofstream(damaged) << fileText(std::string(LUMARA_HELP_DIR) + "/Lumara Help (English).chm").substr(0, 3000);
    run.store();
    run.open();
    run.settings.HelpFile = damaged;
    EXPECT_EQ(run.help.ShowContextHelp(run.view->control(dlg::kOk), dlg::kOk, settingsContextTopics()), 0);
    EXPECT_EQ(run.help.ShowHelpTopic(0, "::/settings.htm#tab1"), 0);
    EXPECT_FALSE(run.viewer.popup());
}

}  // namespace
