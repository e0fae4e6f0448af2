// The hack's command line: which command lines are a hack's, the modes, the
// options read against the settings table's ranges, the frame-period scale,
// and the switches every hack and X program takes.
#include <gtest/gtest.h>

#include "saver/hack_command.h"
#include "settings/settings.h"

namespace {

using Mode = SaverCommand::Mode;

// The command a hack's command line gives; a refused one fails the test.
SaverCommand parse(const std::vector<std::string>& args) {
    SaverCommand command;
    const Outcome read = parseHackCommand(args, command);
    EXPECT_TRUE(read.ok()) << read.message();
    return command;
}

// Why a hack's command line is refused; "" when it is not.
std::string refusal(const std::vector<std::string>& args) {
    SaverCommand command{Mode::FullScreen, 0, {}};
    const Outcome read = parseHackCommand(args, command);
    EXPECT_EQ(command.mode, Mode::FullScreen) << "a refused command line leaves the command as it was";
    EXPECT_TRUE(command.overrides.empty());
    return read.message();
}

}  // namespace

TEST(HackCommand, WindowsStyleCommandLinesAreNotAHacks) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"/s"}, {"-s"}, {"/p", "123"}, {"/c:5"}, {"-sx"}, {"/x"}, {"stars", "300"}, {"/s", "-root"}, {"--rooted"}})
        EXPECT_FALSE(isHackCommandLine(args)) << (args.empty() ? "" : args[0]);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--help", "-root"}, {"-h"}, {"--version"}, {"-root"}, {"--stars", "1"}, {"-fps"}, {"-display", ":1"}})
        EXPECT_TRUE(isHackCommandLine(args)) << args[0];
    EXPECT_EQ(parse({"--help", "-root"}).mode, Mode::Help);
    EXPECT_EQ(parse({"-h"}).mode, Mode::Help);
    EXPECT_EQ(parse({"--version"}).mode, Mode::Version);
}

TEST(HackCommand, ModesAndWindowNumbers) {
    EXPECT_EQ(parse({"-root"}).mode, Mode::Root);
    EXPECT_EQ(parse({"-window"}).mode, Mode::Window);
    EXPECT_EQ(parse({"-stars", "300"}).mode, Mode::Window) << "options alone try them out in a window";
    const SaverCommand hex = parse({"-window-id", "0x1a00007"});
    EXPECT_EQ(hex.mode, Mode::WindowId);
    EXPECT_EQ(hex.window, 0x1a00007u);
    EXPECT_EQ(parse({"-window-id", "4194311"}).window, 4194311u);
    EXPECT_EQ(parse({"-root", "-window"}).mode, Mode::Window) << "the last mode counts";
    // xscreensaver 6 turns a trailing "-root" into "--root"; every word has both spellings.
    const SaverCommand doubled = parse({"--root", "--stars", "300", "--window-id", "7"});
    EXPECT_EQ(doubled.mode, Mode::WindowId);
    EXPECT_EQ(doubled.overrides.size(), 1u);

    for (const char* bad : {"", "0x", "12ab", "-5", "+5", "0x-5", "0x 5", "5 "})
        EXPECT_NE(refusal({"-window-id", bad}).find("-window-id"), std::string::npos) << bad;
    // Numbers wider than X11's 29-bit ids are well formed but name no window:
    // 0, which the saver reports as a window that is not there.
    for (const char* none : {"0x20000000", "0x7fffffff", "4294967296", "99999999999999999999", "0"}) {
        const SaverCommand c = parse({"-window-id", none});
        EXPECT_EQ(c.mode, Mode::WindowId) << none;
        EXPECT_EQ(c.window, 0u) << none;
    }
    EXPECT_EQ(parse({"-window-id", "0x1fffffff"}).window, 0x1fffffffu);
    EXPECT_EQ(parseXWindowId("0X2A"), 42u);
}

TEST(HackCommand, OptionsTakeTheTablesRangesAndAreRefusedOutsideThem) {
    for (const SettingOption& o : kSettingOptions) {
        const SettingInfo& s = *findFlightSetting(o.storedName);
        const OptionRange r = optionRange(o);
        for (int32_t value : {r.low, r.high}) {
            const SaverCommand c = parse({"-root", std::string(o.option), std::to_string(value)});
            ASSERT_EQ(c.mode, Mode::Root) << o.option << " " << value;
            ASSERT_EQ(c.overrides.size(), 1u);
            EXPECT_EQ(c.overrides[0].setting, &s);
            EXPECT_GE(c.overrides[0].value, s.low) << o.option;
            EXPECT_LE(c.overrides[0].value, s.high) << o.option;
        }
        for (const std::string& value : {std::to_string(r.low - 1), std::to_string(r.high + 1), std::string("many"),
                                         std::string("12x"), std::string("2000.5"), std::string(),
                                         std::string("2147483648"), std::string("-99999999999")}) {
            const std::string error = refusal({"-root", std::string(o.option), value});
            EXPECT_EQ(error.find('\n'), std::string::npos) << "one line";
            // A number outside the range is told the range; any other text,
            // unless it is a choice's, that it is no whole number.
            const bool number = value.find_first_not_of("-0123456789") == std::string::npos && !value.empty();
            const std::string why = number || o.scale == OptionScale::Choice ? ": expected" : ": not a whole number";
            EXPECT_NE(error.find(std::string(o.option) + " " + value + why), std::string::npos) << error;
        }
    }
}

// Arguments are shown with every byte outside printable ASCII as \xNN: none
// of an argument's control or escape bytes reaches the terminal.
TEST(HackCommand, MissingValuesAndUnknownArgumentsNameTheArgument) {
    using Args = std::vector<std::string>;
    for (const auto& [args, error] :
         {std::pair<Args, std::string>{{"-root", "-stars"}, "-stars needs a value (see --help)"},
          {Args{"-root", "-sparkle", "3"}, "unknown argument '-sparkle' (see --help)"},
          {Args{"-root", "-spark\x07le\n", "3"}, "unknown argument '-spark\\x07le\\x0a' (see --help)"},
          {Args{"-stars", "\xff\x1b[31m9"}, "-stars \\xff\\x1b[31m9: not a whole number (see --help)"},
          {Args{"-root", "-display"}, "-display needs a value (see --help)"},
          {Args{"-antialias", "good\r\x7f\xc3\xa9"},
           "-antialias good\\x0d\\x7f\\xc3\\xa9: expected disabled, sharp, normal, very-good, perfect, blurred or 0 "
           "to 5 (see --help)"},
          {Args{"-window-id", "\x1b]0;x\x07"},
           "-window-id \\x1b]0;x\\x07: expected an X11 window number, decimal or 0x hexadecimal"}})
        EXPECT_EQ(refusal(args), error);
    std::string escapes;
    for (int i = 0; i < 60; ++i) escapes += "\\x1b";
    EXPECT_EQ(refusal({"-clouds", std::string(70, '\x1b')}),
              "-clouds " + escapes + "... (70 bytes): not a whole number (see --help)")
        << "a long argument is cut after its first 60 bytes";
}

TEST(HackCommand, AntiAliasingByNameOrNumber) {
    for (const auto& [text, mode] : {std::pair{"very-good", 3}, {"disabled", 0}, {"5", 5}})
        EXPECT_EQ(parse({"-antialias", text}).overrides.at(0).value, mode) << text;
    EXPECT_NE(refusal({"-antialias", "Sharp"}), "");
}

TEST(HackCommand, TheFramePeriodInMicrosecondsSetsSmoothness) {
    const OptionRange delay = optionRange(kSettingOptions[6]);
    EXPECT_EQ(delay.low, 0) << "Smoothness 100: the platform's shortest period";
    EXPECT_EQ(delay.high, 99000) << "Smoothness 1: a 99 ms period";
    EXPECT_EQ(delay.fallback, 70000) << "Smoothness 30: a 70 ms period";
    // Every Smoothness is one period exactly, and back; between whole
    // milliseconds the nearer one counts.
    for (int32_t smoothness = 1; smoothness <= 100; ++smoothness)
        EXPECT_EQ(parse({"-delay", std::to_string((100 - smoothness) * 1000)}).overrides.at(0).value, smoothness);
    EXPECT_EQ(parse({"-delay", "25499"}).overrides.at(0).value, 75);
    EXPECT_EQ(parse({"-delay", "25500"}).overrides.at(0).value, 74);
}

// -fps is the switch every hack takes to show its frame rate; -display is
// honoured and the other X options are passed over, with or without values
// as X programs take them.
TEST(HackCommand, FpsIsASwitchAndTheXOptionsAreTaken) {
    const SaverCommand shown = parse({"-root", "-fps", "-stars", "300"});
    EXPECT_EQ(shown.mode, Mode::Root);
    EXPECT_TRUE(shown.showFrameRate);
    EXPECT_EQ(shown.overrides.size(), 1u);
    EXPECT_FALSE(parse({"-root"}).showFrameRate);
    EXPECT_TRUE(parse({"--fps"}).showFrameRate);
    EXPECT_EQ(parse({"-fps"}).mode, Mode::Window);

    const SaverCommand x =
        parse({"-display", ":5", "-visual", "default", "-install", "-geometry", "640x480+10+10", "--root"});
    EXPECT_EQ(x.mode, Mode::Root);
    EXPECT_EQ(x.display, ":5");
    EXPECT_TRUE(x.overrides.empty());
    EXPECT_EQ(parse({"-root"}).display, "");
}

TEST(HackCommand, OverridesApplyInOrderAndTheLastOfOneOptionCounts) {
    const SaverCommand c = parse({"-stars", "300", "-clouds", "4", "-rotation", "-7", "-stars", "400"});
    Settings s;
    ApplyFallbackDefaults(s);
    applyOverrides(s, c.overrides);
    EXPECT_EQ(s.StarsCount, 400);
    EXPECT_EQ(s.Clouds, 4);
    EXPECT_EQ(s.RotSpeed, -7);
    EXPECT_EQ(s.MoveSpeed, 500) << "untouched";
}

TEST(HackCommand, HelpListsEveryOptionWithItsRange) {
    const std::string help = hackUsage();
    for (const SettingOption& o : kSettingOptions) EXPECT_NE(help.find(std::string(o.option)), std::string::npos);
    EXPECT_NE(help.find("-stars N         Number of stars: 100 to 20000 [2000]"), std::string::npos) << help;
    EXPECT_NE(help.find("-delay N         Frame rate: 0 to 99000 microseconds a frame [70000]"), std::string::npos);
    for (const char* word : {"XSCREENSAVER_WINDOW", "\n  -fps ", "\n  -display NAME ", "(lumara /c)"})
        EXPECT_NE(help.find(word), std::string::npos) << word;
}
