// The command line: parsed as a table, then the real executable's answers and exit codes.
#include <gtest/gtest.h>

#include <filesystem>

#include "game/command_line.h"
#include "test_support.h"

TEST(CommandLine, OptionsValuesAndStrayWordsAreSortedOut) {
    using A = CommandAction;
    const struct { std::vector<std::string> args; A action; std::string dataOrError; bool full = false; int scale = 1; bool integer = false; }
    cases[] = {
        {{}, A::Play, ""},
        {{"--data", "/d"}, A::Play, "/d"},
        {{"--data=/e", "--data", "/f"}, A::Play, "/f"},  // the last one counts
        {{"--fullscreen", "--scale=3"}, A::Play, "", true, 3},
        {{"--fullscreen", "--window", "--scale", "16"}, A::Play, "", false, 16},
        {{"--window", "--fullscreen", "--scale", "1"}, A::Play, "", true, 1},
        {{"--version"}, A::Version, ""},
        {{"--version", "-h"}, A::Help, ""},
        {{"--stats", "--version"}, A::Version, ""},
        {{"--stats"}, A::Stats, ""},
        {{"--data"}, A::Fail, "option '--data' needs a value"},
        {{"--data="}, A::Fail, "option '--data' needs a folder, not an empty name"},
        {{"--scale", "0"}, A::Fail, "option '--scale' needs a whole number from 1 to 16, not '0'"},
        {{"--scale=17"}, A::Fail, "option '--scale' needs a whole number from 1 to 16, not '17'"},
        {{"--scale", "2x"}, A::Fail, "option '--scale' needs a whole number from 1 to 16, not '2x'"},
        {{"--scalex"}, A::Fail, "unknown option '--scalex'"},
        {{"--scale-mode", "integer", "--scale=2"}, A::Play, "", false, 2, true},
        {{"--scale-mode=integer", "--scale-mode", "fill"}, A::Play, "", false, 1, false},
        {{"--scale-mode", "Integer"}, A::Fail, "option '--scale-mode' needs 'fill' or 'integer', not 'Integer'"},
        {{"--help", "-x"}, A::Fail, "unknown option '-x'"},
        {{"levels"}, A::Fail, "unexpected argument 'levels'"},
        {{"--record=r", "--trace", "t"}, A::Play, "r t"},
        {{"--play", "p", "--trace=t"}, A::Play, "p t"},
        {{"--record", "r", "--play", "p"}, A::Fail, "options '--play' and '--record' cannot be used together"},
    };
    for (const auto& c : cases) {
        const CommandLine line = ParseCommandLine(c.args);
        EXPECT_EQ(line.action, c.action) << testing::PrintToString(c.args);
        const std::string files = line.dataFolder.value_or("") + line.recordPath.value_or("") +
                                  line.playPath.value_or("") + (line.tracePath ? " " + *line.tracePath : "");
        EXPECT_EQ(line.action == A::Fail ? line.error : files, c.dataOrError);
        if (line.action != A::Fail) {
            EXPECT_EQ(std::tuple(line.fullscreen.value_or(false), line.scale.value_or(1), line.integerScale.value_or(false)),
                      std::tuple(c.full, c.scale, c.integer));
        }
    }
}

TEST(CommandLine, TheGameAnswersOnTheRightStreamWithTheRightExitCode) {
    support::TempFolder dir;
    const std::string rec = dir / "r.rec", empty = dir / "empty.rec", headerOnly = dir / "header.rec", link = dir / "l";
    const std::string recording = "# dreel-recording 1 seed=3\n0 0 0 0 -\n", same = "dreel: options '--play' and '--trace' ";
    ASSERT_TRUE(support::WriteText(rec, recording) && support::WriteText(empty, "") &&
                support::WriteText(headerOnly, "# dreel-recording 1 seed=3\n# game Dreel 1.0.0\n"));
    std::filesystem::create_symlink(rec, link);
    // No display at all: SDL would fall back to a driver that shows nothing.
    const std::vector<std::string> noDisplay = {"DISPLAY=", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER=", "SDL_AUDIODRIVER=dummy"};
    const struct { std::vector<std::string> args, env; int code; std::string outStart, errHas; bool exact = false; } cases[] = {
        {{"--help"}, {}, 0, "Usage: dreel [OPTION]...\n", ""},
        {{"--version"}, {}, 0, "Dreel 1.0.0\n", ""},
        {{"--scale", "two"}, {}, 2, "", "dreel: option '--scale' needs a whole number from 1 to 16, not 'two'\nUsage: dreel"},
        {{"--data", "/no/such/folder"}, {}, 2, "", "dreel: option '--data': '/no/such/folder' is not a folder\nUsage:"},
        {{"--play", "/no/such.rec"}, {}, 2, "", "dreel: /no/such.rec: cannot read it: No such file or directory\n"},
        {{}, noDisplay, 1, "", "Varnok Dreel: Sprite\n"},
        // An output that is an input or the other output: by path, by identity, or where it would be made.
        {{"--play", rec, "--trace", dir / "x/../r.rec"}, {}, 2, "", same + "name the same file '" + dir / "x/../r.rec'\n", true},
        {{"--play", link, "--trace", rec}, {}, 2, "", same + "name the same file '" + rec + "'\n", true},
        {{"--record", dir / "n", "--trace", dir / "./n"}, {}, 2, "", "dreel: options '--record' and '--trace' name the same file '" +
         dir / "./n'\n", true},
        {{"--play", empty}, {}, 2, "",
         "dreel: " + empty + ": not a recording of the game (its first line is not '# dreel-recording')\n", true},
        {{"--play", headerOnly}, {}, 2, "", "dreel: " + headerOnly + ": the recording holds no frame: nothing to play\n", true},
    };
    for (const auto& c : cases) {
        std::vector<std::string> argv{DREEL_GAME_BINARY};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        support::RunOptions options;
        options.env = c.env;
        options.env.insert(options.env.end(), {"XDG_CONFIG_HOME=" + dir / "config", "XDG_STATE_HOME=" + dir / "state"});
        options.timeoutMs = 20000;
        const support::ProcessResult r = support::RunProcess(argv, options);
        const std::string what = testing::PrintToString(c.args);
        EXPECT_EQ(r.exitCode, c.code) << what << r.err;
        EXPECT_EQ(r.out.substr(0, c.outStart.size()), c.outStart) << what;
        EXPECT_NE(r.err.find(c.errHas), std::string::npos) << what << r.err;
        if (c.code == 0) {
            EXPECT_EQ(r.err, "") << what;
        }
        if (c.exact) {
            EXPECT_EQ(r.err, c.errHas) << what;  // one line, without the usage
        }
    }
    EXPECT_EQ(support::ReadText(rec), recording);
}
