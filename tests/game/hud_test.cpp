#include "game/hud.h"

#include "game_test_support.h"

namespace {

using game_test::GameTest;

using HudTest = GameTest;

std::vector<int32_t> Played() {
    return {game.lastPlayedSounds, game.lastPlayedSounds + game.lastPlayedCount};
}

TEST_F(HudTest, RequestedSoundsPlayOnceInAscendingOrderAndAreCleared) {
    game.soundRequests[8] = 1;
    game.soundRequests[2] = 1;
    game.soundRequests[0] = 1;
    game.soundRequests[5] = 1;
    game.soundRequests[5] = 1;  // asked twice: still once
    PlayRequestedSounds();
    EXPECT_EQ(Played(), (std::vector<int32_t>{0, 2, 5, 8}));
    for (int32_t r : game.soundRequests) EXPECT_EQ(r, 0);
}

TEST_F(HudTest, AFrameWithoutRequestsPlaysNothing) {
    game.soundRequests[3] = 1;
    PlayRequestedSounds();
    ASSERT_EQ(Played(), (std::vector<int32_t>{3}));
    PlayRequestedSounds();
    EXPECT_TRUE(Played().empty());
}

TEST_F(HudTest, EveryNonZeroRequestCounts) {
    game.soundRequests[1] = 7;
    game.soundRequests[10] = -1;
    PlayRequestedSounds();
    EXPECT_EQ(Played(), (std::vector<int32_t>{1, 10}));
    EXPECT_EQ(game.soundRequests[10], 0);
}

TEST_F(HudTest, TextAtStart) {
    EXPECT_EQ(BuildHeadsUpText(), "0 0/0");
}

TEST_F(HudTest, TextShowsDamageKillsAndShots) {
    game.playerDamage = 5;
    game.killCount = 2;
    game.shotsFired = 7;
    EXPECT_EQ(BuildHeadsUpText(), "5 2/7");
}

TEST_F(HudTest, TextAfterTheDeathReadsOneThousand) {
    game.playerDamage = 1000;
    game.killCount = 31;
    game.shotsFired = 406;
    EXPECT_EQ(BuildHeadsUpText(), "1000 31/406");
}

}  // namespace
