// The replay tool's command line.
#include <gtest/gtest.h>

#include "tools/replay/options.h"

namespace {

OptionsResult Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "dreel-replay");
    return ParseOptions(static_cast<int>(args.size()), args.data(), "/build/data");
}

TEST(ReplayOptions, Defaults) {
    OptionsResult r = Parse({});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.options.seed, 0u);
    EXPECT_TRUE(r.options.scriptPath.empty());
    EXPECT_FALSE(r.options.framesGiven);
    EXPECT_TRUE(r.options.tracePath.empty());
    EXPECT_TRUE(r.options.pngs.empty());
    EXPECT_EQ(r.options.dataDir, "/build/data");
}

TEST(ReplayOptions, EveryOption) {
    OptionsResult r = Parse({"--seed", "4294967295", "--script", "-", "--frames", "0", "--trace", "out.jsonl",
                             "--png", "12:a.png", "--png", "1:dir/b:c.png", "--data", "/d"});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.options.seed, 4294967295u);
    EXPECT_EQ(r.options.scriptPath, "-");
    EXPECT_TRUE(r.options.framesGiven);
    EXPECT_EQ(r.options.frames, 0);
    EXPECT_EQ(r.options.tracePath, "out.jsonl");
    ASSERT_EQ(r.options.pngs.size(), 2u);
    EXPECT_EQ(r.options.pngs[0].frame, 12);
    EXPECT_EQ(r.options.pngs[0].path, "a.png");
    EXPECT_EQ(r.options.pngs[1].frame, 1);
    EXPECT_EQ(r.options.pngs[1].path, "dir/b:c.png");  // only the first colon splits
    EXPECT_EQ(r.options.dataDir, "/d");
}

TEST(ReplayOptions, BadArgumentsAreRefusedWithAReason) {
    std::vector<std::vector<const char*>> bad = {
        {"--seed"},                     // no value
        {"--seed", "-1"},               // negative
        {"--seed", "4294967296"},       // beyond 32 bits
        {"--seed", "12x"},
        {"--frames", "-3"},
        {"--frames", "2147483648"},
        {"--png", "0:a.png"},           // frames count from 1
        {"--png", "a.png"},             // no frame
        {"--png", "3:"},                // no file
        {"--png", ":x.png"},
        {"--trace", ""},
        {"--bogus"},
        {"stray"},
        {"--seed", "1", "--seed", "2"}, // given twice
    };
    for (const auto& args : bad) {
        OptionsResult r = Parse(args);
        std::string joined;
        for (const char* a : args) joined += std::string(a) + " ";
        EXPECT_FALSE(r.ok) << joined;
        EXPECT_FALSE(r.error.empty()) << joined;
        EXPECT_EQ(r.error.find('\n'), std::string::npos) << joined;
    }
}

TEST(ReplayOptions, HelpIsRecognised) {
    EXPECT_TRUE(Parse({"--help"}).options.help);
    EXPECT_TRUE(Parse({"-h"}).options.help);
    EXPECT_NE(std::string(ReplayUsage()).find("--png N:FILE"), std::string::npos);
}

}  // namespace
