// The Windows build's help file in the system's HTML Help viewer, reached
// through the settings dialog's own help routing and loader (Help over
// HtmlHelpViewer). Wine here has no HTML engine, so the page itself stays blank:
// what is checked is the viewer's window and its title, which comes from the
// help file.
#include <gtest/gtest.h>

#include "wine_session.h"

TEST(WineHelp, FlightPageTopicOpensTheViewerTitledFromTheFile) {
    WineSession wine;
    std::string output;
    const std::string file = "Z:" + windowsProgram("bin/Lumara Help (English).chm");
    EXPECT_EQ(wine.run("bin/help_viewer.exe", {file, "::/settings.htm#tab2", "Lumara Screensaver Help"}, 120, &output),
              0)
        << output;
}
