// A long run of the real game with varied input, deaths and restarts: under the sanitizers
// it finds memory faults and leaks; here every list must stay bounded. DREEL_SOAK_FRAMES sets its length.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "game/state.h"
#include "game_run.h"

namespace {

using namespace support;

// The input's own dice, apart from the game's generator so that they never shift its draws.
int32_t Dice(uint32_t& s, uint32_t sides) {
    s ^= s << 13, s ^= s >> 17, s ^= s << 5;
    return static_cast<int32_t>(s % sides);
}

TEST(Soak, LongRunWithDeathsAndRestartsStaysBounded) {
    const long frames = std::getenv("DREEL_SOAK_FRAMES") ? std::atol(std::getenv("DREEL_SOAK_FRAMES")) : 30000;
    const char* names[] = {"shots", "stains", "smoke", "puffs", "flashes", "enemies"};
    // A shot crosses the field in about 140 frames at one every 6; stains last a frame; smoke
    // and puffs end with their lives; a flash lasts 35 frames; the enemies are reused.
    const int32_t limits[] = {40, 11 + 8, 400, 3000, 11 * 36, 11};
    int32_t most[6] = {};
    int deaths = 0, restarts = 0, down = 0, mode = 0;
    uint32_t s = 0x9E3779B9u;
    ASSERT_TRUE(StartGame(20261206u));
    for (long f = 1; f <= frames; ++f) {
        // Drift, fight or stand still, three seconds at a time; a second after a death, play again.
        if (f % 150 == 1) mode = Dice(s, 3);
        InputFrame in;
        in.dx = Dice(s, 81) - 40;
        in.dy = Dice(s, 81) - 40;
        if (mode == 0) in.wheel = Dice(s, 10) == 0 ? Dice(s, 3) - 1 : 0;
        in.buttons[0] = mode != 2 && Dice(s, 4) != 0;
        in.buttons[1] = mode == 0 && Dice(s, 21) == 0;
        in.buttons[2] = mode == 1 && Dice(s, 6) == 0;
        if (mode == 0) in.keys[Dice(s, 2) ? kScanA : kScanD] = Dice(s, 4) == 0;
        if (mode == 0) in.keys[Dice(s, 2) ? kScanW : kScanS] = Dice(s, 4) == 0;
        down = game.playerDamage >= 100 ? down + 1 : 0;
        in.keys[kScanSpace] = down > 60;
        StepGame(in);
        deaths += down == 0 && game.playerDamage >= 100;
        restarts += down > 0 && game.playerDamage < 100;
        ASSERT_EQ(game.quitRequested, 0) << "frame " << f;
        const int32_t counts[] = {ListCount(game.shotList), ListCount(game.stainList), ListCount(game.smokeList),
                                  ListCount(game.puffList), ListCount(game.damageFlashList), ListCount(game.enemyList)};
        for (int i = 0; i < 6; ++i) most[i] = std::max(most[i], counts[i]);
    }
    EndGame();
    std::printf("soak: %ld frames, %d deaths, %d restarts; most", frames, deaths, restarts);
    for (int i = 0; i < 6; ++i) std::printf(" %s %d%s", names[i], most[i], i == 5 ? "\n" : ",");
    for (int i = 0; i < 6; ++i) EXPECT_LE(most[i], limits[i]) << names[i];
    EXPECT_EQ(most[5], 11) << "enemies";
    EXPECT_TRUE(frames < 20000 || (deaths > 2 && restarts >= deaths - 1)) << "deaths and restarts are rare";
}

}  // namespace
