// The trace line format: other tools read it, so the exact text matters.
#include <gtest/gtest.h>

#include <algorithm>

#include "tools/replay/trace.h"

namespace {

class TraceLine : public ::testing::Test {
protected:
    void SetUp() override { ResetGameState(); }
    void TearDown() override { ResetGameState(); }
};

TEST_F(TraceLine, EmptyListsAndPlayerFieldOrder) {
    game.playerPos = {4000, 3000};
    game.playerVel = {-5, 7};
    game.playerAngle = 2186;
    game.playerDamage = 12;
    game.playerFront = {4500, 3001};
    game.playerRear = {3500, 2999};
    game.gunSide = 1;
    game.fireCooldown = 5;
    game.killCount = 3;
    game.shotsFired = 9;
    game.explosionSoundIndex = 4;
    std::string line;
    AppendTraceLine(&line, 17, game);
    EXPECT_EQ(line,
              "{\"frame\": 17, \"player\": [4000, 3000, -5, 7, 2186, 12, 4500, 3001, 3500, 2999, 1, 5], "
              "\"kills\": 3, \"shotsFired\": 9, \"explosion\": 4, \"enemies\": [], \"shots\": [], "
              "\"stains\": [], \"smoke\": [], \"puffs\": [], \"flashes\": [], \"sounds\": []}\n");
}

TEST_F(TraceLine, ListsInListOrderWithTheirFields) {
    *ListAdd(game.enemyList) = Enemy{10, 20, -3, 4, 2};
    *ListAdd(game.enemyList) = Enemy{7840, 0, 0, 0, 0};
    *ListAdd(game.shotList) = Shot{4140, 3040, 60, 0, 1};
    *ListAdd(game.stainList) = Stain{-2, 583};
    *ListAdd(game.smokeList) = Smoke{4080, 3080, -10, 10, 31};
    *ListAdd(game.puffList) = Puff{1, 2, 3, 4, 5};
    *ListAdd(game.puffList) = Puff{6, 7, 8, 9, 0};
    DamageFlash flash{};
    flash.direction = 3599;
    flash.life = 34;
    *ListAdd(game.damageFlashList) = flash;
    // Inserting after a current element in the middle: the trace follows the links.
    ListFirst(game.enemyList);
    *ListAdd(game.enemyList) = Enemy{1, 1, 1, 1, 3};
    game.lastPlayedSounds[0] = 0;
    game.lastPlayedSounds[1] = 2;
    game.lastPlayedSounds[2] = 8;
    game.lastPlayedCount = 3;
    std::string line;
    AppendTraceLine(&line, 2, game);
    EXPECT_EQ(line,
              "{\"frame\": 2, \"player\": [0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0], \"kills\": 0, \"shotsFired\": 0, "
              "\"explosion\": 0, \"enemies\": [[10, 20, -3, 4, 2], [1, 1, 1, 1, 3], [7840, 0, 0, 0, 0]], "
              "\"shots\": [[4140, 3040, 60, 0, 1]], \"stains\": [[-2, 583]], "
              "\"smoke\": [[4080, 3080, -10, 10, 31]], \"puffs\": [[1, 2, 3, 4, 5], [6, 7, 8, 9, 0]], "
              "\"flashes\": [[3599, 34]], \"sounds\": [0, 2, 8]}\n");
}

TEST_F(TraceLine, FrameZeroNeverListsSounds) {
    game.lastPlayedSounds[0] = 3;
    game.lastPlayedCount = 1;
    std::string line;
    AppendTraceLine(&line, 0, game);
    EXPECT_NE(line.find("\"sounds\": []}"), std::string::npos) << line;
}

TEST_F(TraceLine, ExtremeValuesAndAppending) {
    game.playerPos = {INT32_MIN, INT32_MAX};
    std::string text = "previous line\n";
    AppendTraceLine(&text, 1, game);
    EXPECT_EQ(text.rfind("previous line\n{\"frame\": 1, \"player\": [-2147483648, 2147483647, 0,", 0), 0u) << text;
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
}

}  // namespace
