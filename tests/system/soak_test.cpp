// A long run of the real game, headless, with varied input: turning, thrust, bursts of
// fire, deaths and restarts. Run under the sanitizers it finds memory errors and leaks;
// here it checks that every population stays bounded. DREEL_SOAK_FRAMES sets the length.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "game/frame_loop.h"
#include "game/startup.h"
#include "game/state.h"
#include "media/input.h"
#include "media/window.h"
#include "runtime/program_end.h"
#include "runtime/random.h"

namespace {

// The input's own generator, apart from the game's so that it never shifts its draws.
struct InputDice {
    uint32_t s = 0x9E3779B9u;
    uint32_t Next() {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return s;
    }
    int32_t Range(int32_t lo, int32_t hi) { return lo + static_cast<int32_t>(Next() % static_cast<uint32_t>(hi - lo + 1)); }
};

struct Maxima {
    int32_t shots = 0, stains = 0, smoke = 0, puffs = 0, flashes = 0, enemies = 0;
};

void SeedForSoak() { RandomSeedWith(20261206u); }

TEST(Soak, LongRunWithDeathsAndRestartsStaysBounded) {
    long frames = 30000;
    if (const char* env = std::getenv("DREEL_SOAK_FRAMES")) frames = std::atol(env);
    ASSERT_EQ(chdir(DREEL_DATA_DIR), 0);

    Platform platform = DefaultPlatform();
    platform.seedRandom = SeedForSoak;
    ASSERT_TRUE(StartUp(platform));
    ScreenSetPacing(false);
    InputSetScripted(true);

    InputDice dice;
    Maxima max;
    int deaths = 0, restarts = 0, downFrames = 0;
    bool wasDown = false;
    int32_t mode = 0;  // changes every few seconds: drift, fight, stand still
    for (long f = 1; f <= frames; ++f) {
        if (f % 150 == 1) mode = dice.Range(0, 2);
        InputFrame in;
        in.dx = dice.Range(-40, 40);
        in.dy = dice.Range(-40, 40);
        if (mode == 0) in.wheel = dice.Range(0, 9) == 0 ? dice.Range(-1, 1) : 0;
        if (mode != 2) in.buttons[0] = dice.Range(0, 3) != 0;
        in.buttons[1] = mode == 0 && dice.Range(0, 20) == 0;
        in.buttons[2] = mode == 1 && dice.Range(0, 5) == 0;
        if (mode == 0) in.keys[dice.Range(0, 1) ? 30 : 32] = dice.Range(0, 3) == 0;
        if (mode == 0) in.keys[dice.Range(0, 1) ? 17 : 31] = dice.Range(0, 3) == 0;
        bool down = game.playerDamage >= 100;
        if (down) {
            ++downFrames;
            if (downFrames > 60) in.keys[57] = 1;  // a second of smoke, then play again
        } else {
            downFrames = 0;
        }
        InputSetFrame(in);
        RunFramePhases();

        if (game.playerDamage >= 100 && !wasDown) ++deaths;
        if (wasDown && game.playerDamage < 100) ++restarts;
        wasDown = game.playerDamage >= 100;
        ASSERT_EQ(game.quitRequested, 0);
        max.shots = std::max(max.shots, ListCount(game.shotList));
        max.stains = std::max(max.stains, ListCount(game.stainList));
        max.smoke = std::max(max.smoke, ListCount(game.smokeList));
        max.puffs = std::max(max.puffs, ListCount(game.puffList));
        max.flashes = std::max(max.flashes, ListCount(game.damageFlashList));
        max.enemies = std::max(max.enemies, ListCount(game.enemyList));
    }

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("soak: %ld frames, %d deaths, %d restarts; list maxima: shots %d, stains %d, "
                "smoke %d, puffs %d, flashes %d, enemies %d; peak memory %ld KiB\n",
                frames, deaths, restarts, max.shots, max.stains, max.smoke, max.puffs,
                max.flashes, max.enemies, usage.ru_maxrss);

    // Shots live at most as long as they need to cross the field (about 140 frames at a
    // shot every 6 frames); smoke and puffs are bounded by their lives; stains are stamped
    // in the frame after they appear; a flash lasts 35 frames, eleven enemies at most each.
    EXPECT_EQ(max.enemies, 11);
    EXPECT_LE(max.shots, 40);
    EXPECT_LE(max.stains, 11 + 8);
    EXPECT_LE(max.smoke, 400);
    EXPECT_LE(max.puffs, 3000);
    EXPECT_LE(max.flashes, 11 * 36);
    if (frames >= 20000) {
        EXPECT_GT(deaths, 2);
        EXPECT_GE(restarts, deaths - 1);
    }

    MouseRelease(1);
    ProgramEnd();
    ResetGameState();
}

}  // namespace
