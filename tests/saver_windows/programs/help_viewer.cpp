// Opens a topic of the build's English help file the way the settings
// dialog does: Help routes the request to HtmlHelpViewer, which finds the
// viewer through the HTML Help control's registered class, else
// "hhctrl.ocx" by name, and calls its ANSI entry point by ordinal 14. Wine
// has no HTML engine here, so the window and its title from the file are
// what is checked.
#include <windows.h>
#include <gtest/gtest.h>

#include "dialogs/help.h"
#include "platform/win32/html_help_viewer.h"
#include "test_program.h"

TEST(HtmlHelp, ATopicOpensTheViewerTitledByTheFileAndAMissingFileNothing) {
    Settings settings;
    settings.HelpFile = buildFile("bin\\Lumara Help (English).chm");
    HtmlHelpViewer viewer;
    Help help(viewer, settings);
    help.HelpInitialize();

    const auto window = reinterpret_cast<HWND>(help.ShowHelpTopic(0, "::/settings.htm#tab2"));
    ASSERT_TRUE(window != nullptr && IsWindow(window));
    EXPECT_TRUE(IsWindowVisible(window));
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Lumara Screensaver Help");

    settings.HelpFile += ".missing";
    EXPECT_EQ(help.ShowHelpTopic(0, "::/settings.htm"), 0);
    help.HelpUninitialize();
}
