// Opens a topic of a help file the way the settings dialog does: Help routes
// the request to HtmlHelpViewer, which finds the viewer through the HTML
// Help control's registered class, else "hhctrl.ocx" by name, and calls its
// ANSI entry point by ordinal 14.
//   help_viewer FILE.chm TOPIC TITLE   exit 0 when the viewer returns its
//                                      window, shown and titled TITLE
#include <windows.h>

#include "test_program.h"

#include <cstdio>
#include <cstring>

#include "dialogs/help.h"
#include "platform/win32/html_help_viewer.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::printf("usage: help_viewer FILE.chm TOPIC TITLE\n");
        return 2;
    }
    Settings settings;
    settings.HelpFile = argv[1];
    HtmlHelpViewer viewer;
    Help help(viewer, settings);
    help.HelpInitialize();
    CHECK(!help.failed());

    const auto window = reinterpret_cast<HWND>(help.ShowHelpTopic(0, argv[2]));
    CHECK(window != nullptr && IsWindow(window));
    CHECK(window != nullptr && IsWindowVisible(window));
    char title[256] = {};
    if (window) GetWindowTextA(window, title, sizeof title);
    std::printf("window title: %s\n", title);
    CHECK(std::strcmp(title, argv[3]) == 0);

    // A file that does not exist opens nothing.
    settings.HelpFile += ".missing";
    CHECK(help.ShowHelpTopic(0, "::/settings.htm") == 0);
    help.HelpUninitialize();
    return report();
}
