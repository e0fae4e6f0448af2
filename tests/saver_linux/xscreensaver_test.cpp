// The real xscreensaver daemon runs the saver as its hack: configured to
// run "lumara -root -fps" (as its settings pass the frame-rate check box),
// activated, it shows stars; cycled, the hack ends by SIGTERM and starts
// again; deactivated, the hack ends.
// xscreensaver refuses to run hacks as root, so under root the daemon runs
// as the scratch user lumara-test (made when missing); otherwise as whoever
// runs the test. Its home and the Lumara it runs (this build, installed) lie
// in a folder under /tmp that every user can reach.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "real_saver.h"
#include "scratch_user.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(Xscreensaver, RunsLumaraAsItsHackAndEndsIt) {
    if (std::system("command -v xscreensaver >/dev/null") != 0) GTEST_SKIP() << "xscreensaver is not installed";
    const std::string scratch = reachableFolder("xscreensaver");
    ASSERT_FALSE(scratch.empty());
    const std::string lumara = scratch + "/usr/bin/lumara";
    ASSERT_TRUE(installBuild(scratch + "/usr"));
    const std::string home = scratch + "/home";
    fs::create_directories(home);
    std::ofstream(home + "/.xscreensaver") << "timeout: 0:30:00\nlock: False\nsplash: False\nfade: False\n"
                                              "unfade: False\nmode: one\nselected: 0\n"
                                              "programs: " + lumara + " -root -fps \\n\\\n";
    // A dense flight stored for the daemon's user, so the screen fills quickly.
    ASSERT_TRUE(storeFlight(home, denseFlight));
    const auto asUser = asScratchUser(home);
    ASSERT_TRUE(asUser.has_value()) << "no user to run xscreensaver as";
    X11Session x;
    ASSERT_TRUE(x.ready());
    auto command = [&](std::vector<std::string> args) {
        std::vector<std::string> argv = *asUser;
        argv.insert(argv.end(), {"/usr/bin/env", "HOME=" + home, "LUMARA_USER_STORE=" + home + "/user.reg",
                                 "LUMARA_MACHINE_STORE=" + home + "/machine.reg", "SDL_AUDIODRIVER=dummy"});
        argv.insert(argv.end(), args.begin(), args.end());
        return argv;
    };
    const std::map<std::string, std::string> env{{"DISPLAY", x.displayName()}};
    // What xscreensaver-command answers when told `what`.
    const auto tell = [&](const char* what) {
        return Child(command({"/usr/bin/xscreensaver-command", what}), env).waitFor();
    };
    Child daemon(command({"/usr/bin/xscreensaver", "-no-splash", "-verbose"}), env);
    // Ready once it answers.
    ASSERT_TRUE(waitUntil([&] { return tell("-time") == 0; }, kPatience, 200ms)) << daemon.errorOutput();

    EXPECT_EQ(tell("-activate"), 0);
    const Screenshot shot = x.waitForFrames();
    // Stars all over the screen, from the one hack still running: a crashed
    // one leaves xscreensaver's banner on black instead.
    EXPECT_TRUE(shot.litInEveryCell(4, 4, 20));
    EXPECT_EQ(runningCopies(lumara), 1);

    // Cycling ends the hack with SIGTERM and starts it anew; the daemon
    // logs how the hack ended.
    EXPECT_EQ(tell("-cycle"), 0);
    const std::string ended = "(" + lumara + ") exited normally with SIGTERM";
    EXPECT_TRUE(waitUntil([&] { return daemon.errorOutput().find(ended) != std::string::npos; }))
        << daemon.errorOutput();
    EXPECT_TRUE(waitUntil([&] { return runningCopies(lumara) == 1; })) << "started anew";

    EXPECT_EQ(tell("-deactivate"), 0);
    EXPECT_TRUE(waitUntil([&] { return runningCopies(lumara) == 0; })) << "the hack ended";

    tell("-exit");
    daemon.waitFor();
    fs::remove_all(scratch);
}
