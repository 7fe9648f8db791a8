// The replay tool as other tools use it: determinism, the end of a run, where input and
// output go, and how bad arguments and scripts are refused.
#include <gtest/gtest.h>

#include <filesystem>

#include "png_reader.h"
#include "run_tool.h"

namespace {

// Turning, thrust of every kind, firing with both buttons, Escape never.
std::string MixedScript() {
    std::string s = "# a bit of everything\n";
    for (int i = 0; i < 120; ++i) {
        int dx = (i * 37) % 23 - 11, dy = (i * 53) % 19 - 9;
        int wheel = i % 17 == 0 ? 1 : (i % 29 == 0 ? -1 : 0);
        int buttons = i % 3 == 0 ? 1 : (i % 7 == 0 ? 6 : 0);
        const char* keys = i % 5 == 0 ? "30,17" : (i % 11 == 0 ? "32" : "-");
        s += std::to_string(dx) + " " + std::to_string(dy) + " " + std::to_string(wheel) + " " +
             std::to_string(buttons) + " " + keys + "\n";
    }
    return s;
}

size_t Lines(const std::string& text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

TEST(ReplayTool, SameSeedAndScriptGiveTheSameTrace) {
    ToolRun a = Replay(42, MixedScript());
    ToolRun b = Replay(42, MixedScript());
    ASSERT_EQ(a.exitCode, 0) << a.err;
    ASSERT_TRUE(a.traceError.empty()) << a.traceError;
    ASSERT_EQ(a.frames.size(), 121u);
    EXPECT_GT(a.frames.back().shotsFired, 0);
    EXPECT_EQ(a.trace, b.trace);
}

TEST(ReplayTool, DifferentSeedsPlaceTheEnemiesDifferently) {
    ToolRun a = Replay(1, "0\n");
    ToolRun b = Replay(2, "0\n");
    ASSERT_EQ(a.frames.size(), 2u);
    ASSERT_EQ(b.frames.size(), 2u);
    EXPECT_NE(a.frames[0].enemies, b.frames[0].enemies);
    // The default seed is 0.
    ToolRun implicitSeed = RunTool({}, nullptr);
    ToolRun zero = Replay(0, "");
    EXPECT_EQ(implicitSeed.trace, zero.trace);
    EXPECT_EQ(Lines(zero.trace), 1u);
}

TEST(ReplayTool, EscapeEndsTheRunAfterItsFrame) {
    const std::string dir = MakeScratchFolder();
    std::string script = Repeat("0", 3) + "0 0 0 1 1  # fire and Escape together\n" + Repeat("0", 6);
    ToolRun run = Replay(8, script, {"--png", "4:" + dir + "/last.png", "--frames", "10"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(run.frames.size(), 5u);
    // The frame with Escape ran to its end: its shot, its sound, its picture.
    EXPECT_EQ(run.frames[4].shotsFired, 1);
    EXPECT_EQ(run.frames[4].sounds, (std::vector<int64_t>{0}));
    PngImage shot = ReadPngFile(dir + "/last.png");
    EXPECT_TRUE(shot.ok) << shot.error;

    // A screenshot of a frame that never ran is reported, and the run fails.
    ToolRun missed = Replay(8, script, {"--png", "6:" + dir + "/never.png"});
    EXPECT_EQ(missed.exitCode, 1);
    EXPECT_NE(missed.err.find("frame 6"), std::string::npos) << missed.err;
    EXPECT_FALSE(std::filesystem::exists(dir + "/never.png"));
    std::filesystem::remove_all(dir);
}

TEST(ReplayTool, FrameCountDefaultsToTheScriptAndMayRunPastIt) {
    std::string script = "# three frames\n0 0 0 1\n\n0\n0 0 0 0 32\n";
    EXPECT_EQ(Replay(4, script).frames.size(), 4u);
    ToolRun shorter = Replay(4, script, {"--frames", "1"});
    EXPECT_EQ(shorter.frames.size(), 2u);
    // Past the end of the script there is no input: the cooldown runs out, no more shots.
    ToolRun longer = Replay(4, script, {"--frames", "20"});
    ASSERT_EQ(longer.frames.size(), 21u);
    EXPECT_EQ(longer.frames[20].shotsFired, 1);
    EXPECT_EQ(longer.frames[20].P(kCooldown), 0);
    // The recoil of frame 1 (-5) decays to -4; D in frame 3 pushes by 10, friction takes 1.
    EXPECT_EQ(longer.frames[2].P(kVelX), -4);
    EXPECT_EQ(longer.frames[3].P(kVelX), 5);
    EXPECT_EQ(longer.frames[3].P(kPosX), 4001);
    EXPECT_EQ(longer.frames[4].P(kVelX), 4);
}

TEST(ReplayTool, ScriptFromStandardInputAndTraceToStandardOutput) {
    const std::string script = MixedScript();
    ToolRun fromFile = Replay(6, script);
    ToolRun piped = RunTool({"--seed", "6", "--script", "-", "--trace", "-"}, nullptr, script);
    ASSERT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(piped.out, fromFile.trace);
    EXPECT_TRUE(piped.err.empty()) << piped.err;
}

// Every refusal: exit code 2 and one line on standard error, nothing on standard output.
TEST(ReplayTool, BadArgumentsAndScriptsAreRefused) {
    const std::string dir = MakeScratchFolder();
    WriteFileText(dir + "/bad.txt", "0 0\n# fine so far\n\n0 0 0 9\n");
    struct Case {
        std::vector<std::string> args;
        std::string mentions;
    } cases[] = {
        {{"--bogus"}, "--bogus"},
        {{"--seed", "x"}, "--seed"},
        {{"--frames"}, "--frames"},
        {{"--png", "0:a.png"}, "--png"},
        {{"--script", dir + "/missing.txt"}, "missing.txt"},
        {{"--script", dir + "/bad.txt"}, ":4:"},
        {{"--data", dir + "/no-such-folder"}, "no-such-folder"},
        {{"--trace", dir + "/no-such-folder/t.jsonl"}, "t.jsonl"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        if (c.args[0] != "--trace") args.insert(args.end(), {"--trace", "-"});
        ToolRun run = RunTool(args, nullptr);
        EXPECT_EQ(run.exitCode, 2) << c.args[0] << ": " << run.err;
        EXPECT_EQ(Lines(run.err), 1u) << run.err;
        EXPECT_NE(run.err.find(c.mentions), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty()) << c.args[0];
    }
    std::filesystem::remove_all(dir);
}

TEST(ReplayTool, RelativeOutputPathsAreTakenFromWhereTheToolStarted) {
    const std::string dir = MakeScratchFolder();
    const std::string here = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    ToolRun run = RunTool({"--frames", "2", "--png", "2:rel.png", "--trace", "rel.jsonl"}, nullptr);
    std::filesystem::current_path(here);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(ReadPngFile(dir + "/rel.png").ok);
    EXPECT_EQ(Lines(ReadFileText(dir + "/rel.jsonl")), 3u);
    std::filesystem::remove_all(dir);
}

// A screenshot that cannot be written fails the run but does not cut the trace short.
TEST(ReplayTool, UnwritableScreenshotIsReported) {
    const std::string dir = MakeScratchFolder();
    ToolRun run = Replay(2, Repeat("0", 3), {"--png", "2:" + dir + "/no-such-folder/x.png"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("x.png"), std::string::npos) << run.err;
    EXPECT_EQ(Lines(run.err), 1u) << run.err;
    EXPECT_EQ(run.frames.size(), 4u);
    std::filesystem::remove_all(dir);
}

TEST(ReplayTool, HelpGoesToStandardOutput) {
    ToolRun run = RunTool({"--help", "--trace", "-"}, nullptr);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("--script FILE"), std::string::npos);
}

}  // namespace
