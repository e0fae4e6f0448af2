// The Linux saver as a person meets it: started in a private X server,
// looked at, and ended by a key, a click or the mouse.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "saver/background_sound.h"
#include "stored_settings.h"
#include "x11_session.h"

namespace {

using namespace std::chrono_literals;

void denseFlight(Settings& s) {
    s.StarsCount = 20000;
    s.AntiAliase = 5;
    s.Smoothness = 90;  // 10 ms frames: the field fills and nears quickly
}

std::string fifoInSettings() { return scratchFolder("fifo") + "/named.fifo"; }

// The dense flight with the FIFO as its language, sound and picture.
void fifoFlight(Settings& s) {
    denseFlight(s);
    s.Language = fifoInSettings();
    s.BackSound = s.Language;
    s.UseNUR = true;
    s.NURimages = {s.Language};
}

// The saver started in `x` over `store`, full screen unless other arguments are given.
Child saverIn(X11Session& x, const StoredSettings& store, std::vector<std::string> args = {"/s"}) {
    args.insert(args.begin(), lumaraPath());
    return Child(args, saverEnvironment(x, store));
}

}  // namespace

// A FIFO named by the settings would wait for a writer for ever; the saver
// must treat it as a file that cannot be opened and run as usual.
TEST(SaverRun, StarsCoverTheWholeScreenAndAKeyEndsItEvenWithAFifoNamedInTheSettings) {
    const std::string fifo = fifoInSettings();
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<const char*, void (*)(Settings&)> flights[] = {{"stars", denseFlight}, {"fifo", fifoFlight}};
    for (const auto& [name, flight] : flights) {
        SCOPED_TRACE(name);
        X11Session x;
        ASSERT_TRUE(x.ready());
        StoredSettings store(name, flight);
        Child saver = saverIn(x, store);
        const Screenshot shot = x.waitForFrames(8s);
        ASSERT_EQ(shot.width, 1280);
        EXPECT_TRUE(shot.litInEveryCell(4, 4, 20)) << "stars in every part of the screen";
        ASSERT_TRUE(saver.running());
        x.xdotool("key space");
        EXPECT_EQ(saver.waitFor(1000ms), 0) << saver.errorOutput();
    }
    std::filesystem::remove(fifo);
}

TEST(SaverRun, ClickEndsIt) {
    X11Session x;
    StoredSettings store("click");
    Child saver = saverIn(x, store);
    std::this_thread::sleep_for(1500ms);
    ASSERT_TRUE(saver.running()) << saver.errorOutput();
    x.xdotool("click 1");
    EXPECT_EQ(saver.waitFor(1000ms), 0) << saver.errorOutput();
}

TEST(SaverRun, MouseMovementOfFourStaysAndOfFiveEnds) {
    X11Session x;
    StoredSettings store("mouse");
    x.xdotool("mousemove 100 100");
    Child saver = saverIn(x, store);
    std::this_thread::sleep_for(1500ms);
    ASSERT_TRUE(saver.running()) << saver.errorOutput();
    x.xdotool("mousemove 102 102");  // 4 in sum
    std::this_thread::sleep_for(600ms);
    EXPECT_TRUE(saver.running());
    x.xdotool("mousemove 103 102");  // 5 from where it started
    EXPECT_EQ(saver.waitFor(1000ms), 0);
}

TEST(SaverRun, NebulaShowsWithCloudsTen) {
    X11Session x;
    StoredSettings store("nebula", [](Settings& s) { s.Clouds = 10; });
    Child saver = saverIn(x, store);
    std::this_thread::sleep_for(3000ms);
    EXPECT_GT(x.capture().colouredShare(), 0.5) << "a dim coloured haze";
    x.xdotool("key Escape");
    EXPECT_EQ(saver.waitFor(2000ms), 0);
}

TEST(SaverRun, ASecondInstanceEndsAndTheFirstRunsOn) {
    X11Session x;
    StoredSettings store("second");
    Child first = saverIn(x, store);
    std::this_thread::sleep_for(1500ms);
    Child second = saverIn(x, store);
    EXPECT_EQ(second.waitFor(3000ms), 0);
    EXPECT_TRUE(first.running());
}

TEST(SaverPreview, ShowsThePictureInThePaneAndEndsWithIt) {
    X11Session x;
    ASSERT_TRUE(x.ready());
    Display* d = x.display();
    const Window pane = XCreateSimpleWindow(d, DefaultRootWindow(d), 50, 50, 152, 112, 0, 0, WhitePixel(d, 0));
    XMapWindow(d, pane);
    XSync(d, False);
    StoredSettings store("preview");
    Child preview = saverIn(x, store, {"/p", std::to_string(pane)});
    std::this_thread::sleep_for(1500ms);
    ASSERT_TRUE(preview.running()) << preview.errorOutput();
    const Screenshot shot = x.capture(pane);
    EXPECT_GT(shot.litPixels(1, 0, 151, 112), 100) << "stars and nebula of the picture";
    int white = 0;
    for (int y = 0; y < 112; ++y)
        for (int x0 = 0; x0 < 152; ++x0) white += shot.at(x0, y)[0] == 255 && shot.at(x0, y)[2] == 255 ? 1 : 0;
    EXPECT_LT(white, 50) << "the pane was painted over";
    XDestroyWindow(d, pane);
    XSync(d, False);
    EXPECT_EQ(preview.waitFor(2000ms), 0);
}

TEST(SaverCommandLine, BadModesEndWithMinusOne) {
    X11Session x;
    StoredSettings store("bad");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"/x"}, {"/p", "12345"}, {"/p"}, {"/p", "99999999999999999999999"},
          {"/l", "garbage"}, {"\x01\x02"}}) {
        Child run = saverIn(x, store, args);
        EXPECT_EQ(run.waitFor(5000ms), 255) << args[0];
    }
}

TEST(SaverCommandLine, WithoutADisplayItSaysSo) {
    Child run({lumaraPath(), "/s"}, {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}});
    const auto status = run.waitFor(5000ms);
    ASSERT_TRUE(status.has_value());
    EXPECT_NE(*status, 0);
    EXPECT_NE(run.errorOutput().find("xvfb-run"), std::string::npos) << run.errorOutput();
}

TEST(SaverSound, TheBuiltInMusicLoops) {
    X11Session x;
    StoredSettings store("sound", [](Settings& s) { s.BackSound = "D"; });
    const std::string audio = store.folder + "/audio.raw";
    auto env = saverEnvironment(x, store);
    env["SDL_AUDIODRIVER"] = "disk";
    env["SDL_DISKAUDIOFILE"] = audio;
    env["SDL_DISKAUDIODELAY"] = "1";  // 1 ms a buffer instead of real time: many passes in a moment
    Child saver({lumaraPath(), "/s"}, env);
    std::this_thread::sleep_for(2000ms);
    x.xdotool("key space");
    EXPECT_EQ(saver.waitFor(2000ms), 0);

    std::ifstream in(audio, std::ios::binary);
    const std::vector<uint8_t> written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto music = builtInMusic();
    const std::vector<uint8_t> samples(music.begin() + 44, music.end());
    ASSERT_GE(written.size(), 2 * samples.size()) << "at least two passes of the music";
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), written.begin()));
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), written.begin() + static_cast<long>(samples.size())))
        << "the second pass repeats the first";
}
