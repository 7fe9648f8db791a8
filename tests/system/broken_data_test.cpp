// Every data file in turn truncated, emptied or made random: the game still plays 200
// frames. A replay process per case, so that a crash fails the case, not the suite.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "test_support.h"

namespace {

enum class Damage { Truncated, Empty, Random };

std::vector<uint8_t> Break(const std::vector<uint8_t>& good, Damage how, uint32_t seed) {
    if (how == Damage::Empty) return {};
    if (how == Damage::Truncated) return {good.begin(), good.begin() + static_cast<long>(good.size() / 2)};
    std::vector<uint8_t> noise(good.size());
    for (uint8_t& b : noise) b = static_cast<uint8_t>((seed = seed * 1664525u + 1013904223u) >> 24);
    return noise;
}

TEST(BrokenData, EveryFileTruncatedEmptyOrRandomStillPlays) {
    const support::TempFolder data;
    for (const std::string& name : support::GameDataNames())
        std::filesystem::copy_file(support::DataPath(name), data / name);
    // Fire, turn and thrust, so that every picture is drawn and every sound asked for.
    support::RunOptions input;
    for (int f = 0; f < 200; ++f)
        input.stdinText += std::to_string(f % 40 - 20) + " 3 " + (f % 50 == 0 ? "1" : "0") + " 1 32\n";
    const std::vector<std::string> replay = {DREEL_REPLAY, "--seed", "5", "--frames", "200", "--data",
                                             data.path.string(), "--script", "-", "--trace", "-"};
    uint32_t seed = 1;
    for (const std::string& name : support::GameDataNames()) {
        const std::vector<uint8_t> good = support::ReadBytes(data / name);
        ASSERT_FALSE(good.empty()) << name;
        for (const auto& [how, what] :
             {std::pair{Damage::Truncated, "truncated"}, {Damage::Empty, "empty"}, {Damage::Random, "random"}}) {
            ASSERT_TRUE(support::WriteBytes(data / name, Break(good, how, seed++)));
            const support::ProcessResult r = support::RunProcess(replay, input);
            EXPECT_EQ(r.exitCode, 0) << name << " " << what << ": " << r.err;
            // The state after start-up, then one line a frame.
            EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 201) << name << " " << what;
        }
        ASSERT_TRUE(support::WriteBytes(data / name, good));
    }
}

}  // namespace
