// Opening an extracted topic through GIO in a private desktop: a "browser"
// registered for HTML pages in private XDG folders, whose command writes
// what it was given to a file. Each launch runs in a child process of its
// own, as GIO reads the desktop's settings once per process.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "help_files.h"
#include "platform/linux/help/browser_launch.h"

namespace {

namespace fs = std::filesystem;
using ::testing::ExitedWithCode;

class BrowserLaunch : public ::testing::Test {
protected:
    void SetUp() override {
        ::testing::FLAGS_gtest_death_test_style = "threadsafe";
        folder_ = freshTestFolder();
        ASSERT_TRUE(extractHelpTopic(englishHelp(), "::/settings.htm#tab2", folder_ + "/cache", topic_));
        const std::string browser = folder_ + "/browser.sh";
        writeText(browser, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + received() + ".part\" && mv \"" + received() +
                               ".part\" \"" + received() + "\"\n");
        fs::permissions(browser, fs::perms::owner_all);
    }

    // Registers the browser for HTML pages, taking its page as `fieldCode`
    // (%u a URI, %f a file name).
    void registerBrowser(const std::string& fieldCode) {
        fs::create_directories(folder_ + "/data/applications");
        fs::create_directories(folder_ + "/config");
        writeText(folder_ + "/data/applications/lumara-test-browser.desktop",
                  "[Desktop Entry]\nType=Application\nName=Test browser\nExec=\"" + folder_ + "/browser.sh\" " +
                      fieldCode + "\nMimeType=text/html;\n");
        writeText(folder_ + "/config/mimeapps.list", "[Default Applications]\ntext/html=lumara-test-browser.desktop\n");
    }

    // Launches in a child with the private desktop; exits 0 when launched.
    [[noreturn]] void launchInPrivateDesktop() {
        ::setenv("XDG_DATA_HOME", (folder_ + "/data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (folder_ + "/config").c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (folder_ + "/config").c_str(), 1);
        std::exit(openInBrowser(topic_) ? 0 : 1);
    }

    // What the browser was given, one argument a line; waits for it.
    std::string browserArguments() {
        // Generous: a loaded machine can take many seconds to start the browser.
        const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (!fs::exists(received()) && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return fileText(received());
    }

    std::string received() const { return folder_ + "/received"; }

    std::string folder_;
    ExtractedTopic topic_;
};

// A browser taking URIs, given a topic with and without an anchor:
// GtkHelp.F1OnTheFlightPageAndTheLicenceButtonOpenTheirTopicsInTheBrowserThroughFileAddresses.
TEST_F(BrowserLaunch, BrowserTakingFileNamesGetsTheJumpPage) {
    registerBrowser("%f");
    EXPECT_EXIT(launchInPrivateDesktop(), ExitedWithCode(0), "");
    const std::string jumpPage = topic_.jumpUri.substr(std::string("file://").size());
    EXPECT_EQ(browserArguments(), jumpPage + "\n");
    EXPECT_NE(fileText(jumpPage).find("url=settings.htm#tab2"), std::string::npos);
}

TEST_F(BrowserLaunch, NoBrowserForHtmlPagesIsAFailure) {
    fs::create_directories(folder_ + "/data");
    EXPECT_EXIT(
        {
            ::setenv("XDG_DATA_DIRS", (folder_ + "/data").c_str(), 1);
            launchInPrivateDesktop();
        },
        ExitedWithCode(1), "");
    EXPECT_FALSE(fs::exists(received()));
}

}  // namespace
