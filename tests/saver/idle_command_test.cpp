// The idle watcher's words: read before a hack's and the system's modes,
// minutes as whole or decimal numbers in milliseconds, the rest refused.
#include <gtest/gtest.h>

#include "saver/command_line.h"

namespace {

using Mode = SaverCommand::Mode;
using Args = std::vector<std::string>;

}  // namespace

TEST(IdleCommand, MinutesAreReadToTheMillisecondAndTheRestIsRefused) {
    for (const auto& [args, mode, ms] :
         {std::tuple{Args{"--idle", "5"}, Mode::IdleWatch, 300'000u}, {Args{"--idle", "0.05"}, Mode::IdleWatch, 3'000u},
          {Args{"--idle", ".5"}, Mode::IdleWatch, 30'000u}, {Args{"--idle-enable", "1440"}, Mode::IdleEnable, 86'400'000u},
          {Args{"--idle", "0.0167"}, Mode::IdleWatch, 1'002u}, {Args{"--idle-disable"}, Mode::IdleDisable, 0u}}) {
        SaverCommand read;
        EXPECT_TRUE(parseSaverArguments(args, read).ok()) << args[1];
        EXPECT_EQ(read.mode, mode) << args.back();
        EXPECT_EQ(read.idleMilliseconds, ms) << args.back();
    }
    for (const auto& [args, said] :
         {std::pair{Args{"--idle"}, "--idle needs the minutes of idle time (see --help)"},
          {Args{"--idle-disable", "5"}, "unknown argument '5' after --idle-disable (see --help)"},
          {Args{"--idle", "5", "/s"}, "unknown argument '/s' after --idle (see --help)"}}) {
        SaverCommand read;
        EXPECT_EQ(parseSaverArguments(args, read).message(), said);
    }
    for (const char* minutes : {"0", "0.01", "1441", "-5", "+5", "5.", "1e2", "5 ", "0x5", "", ".", "99999999"}) {
        SaverCommand read{Mode::FullScreen, 0, {}};
        EXPECT_NE(parseSaverArguments({"--idle-enable", minutes}, read).message().find("expected minutes"),
                  std::string::npos)
            << minutes;
        EXPECT_EQ(read.mode, Mode::FullScreen) << "a refused command line leaves the command as it was";
    }
}
