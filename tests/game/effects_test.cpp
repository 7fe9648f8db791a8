// Smoke, damage flashes and stains: their records and pixels; the sounds and heads-up text of a frame.
#include "game_fixture.h"

using Effects = GameTest;

// Clouds and puffs before and after a pass, and the draws taken. A cloud emits a puff (five draws) off
// it, drifting against it, aged at once; a finished puff right after a deleted first one waits.
TEST_F(Effects, SmokeCloudsAndPuffs) {
    struct Case { Rows clouds, puffs, cloudsAfter, puffsAfter; int draws; };
    const Case cases[] = {
        {{{1000, 1000, 10, -10, 32}}, {{9, 9, -4, 6, 20}}, {{1010, 990, 10, -10, 31}},
         {{5, 15, -4, 6, 19}, {1043, 1051, -9, 9, 23}}, 5},
        {{{1000, 1000, 5, 5, 1}}, {}, {}, {}, 5}, {{{1000, 1000, 5, 5, 0}}, {}, {}, {}, 0},
        {{}, {{0, 0, 0, 0, 1}, {0, 0, 0, 0, 1}, {0, 0, 0, 0, 5}}, {}, {{0, 0, 0, 0, 0}, {0, 0, 0, 0, 4}}, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SetUp();
        Fill(game.smokeList, cases[i].clouds);
        Fill(game.puffList, cases[i].puffs);
        UpdateSmoke();
        EXPECT_EQ(std::vector({RowsOf(game.smokeList), RowsOf(game.puffList)}),
                  std::vector({cases[i].cloudsAfter, cases[i].puffsAfter})) << i;
        EXPECT_EQ(DrawsTaken(), cases[i].draws) << i;
    }
    // A puff adds its colour: life 10 after the pass, a 10 x 10 square cornered at 200 - 10 + 16.
    FillScreen(0x101010);
    Fill(game.puffList, {{2000, 2000, 0, 0, 11}});
    UpdateSmoke();
    EXPECT_EQ(V(Pixel(211, 211), Pixel(203, 211), Pixel(219, 211)), V(0x505050, 0x101010, 0x101010));
}

// Slot and alpha by life; drawn centred on the ball, slot 12 at alpha 136; a played-out flash goes.
TEST_F(Effects, DamageFlashes) {
    for (auto [life, slot, alpha] : {std::array{34, 12, 136}, {30, 12, 120}, {29, 11, 116}, {4, 6, 16}, {0, 6, 0}})
        EXPECT_EQ(V(FlashSlot(life), FlashAlpha(life)), V(slot, alpha)) << life;
    game.playerPos = {4000, 3000}, game.playerFront = {7000, 5000};
    Fill(game.damageFlashList, {{0, 0, 900, 1}, {0, 0, 900, 35}});
    DrawPlayer();
    EXPECT_EQ(V(Pixel(392, 292), Pixel(392, 307), Pixel(391, 300), Pixel(392, 308), Pixel(408, 292), Pixel(416, 300)),
              V(0x000088, 0x000088, 0, 0, 0, 0));
    EXPECT_EQ(RowsOf(game.damageFlashList), (Rows{{0, 0, 900, 34}}));
}

// The burst ball is not drawn from 100 damage on: nor its cannon, nor its aim marker.
TEST_F(Effects, TheBallIsGoneFromOneHundredDamage) {
    for (auto [damage, drawn] : {std::pair{0, true}, {99, true}, {100, false}, {1000, false}}) {
        SetUp();
        FillScreen(kWhite);
        game.playerPos = {4000, 3000}, game.playerFront = {7000, 5000}, game.playerDamage = damage;
        DrawPlayer();
        EXPECT_EQ(V(Pixel(408, 308) != kWhite, Pixel(704, 504) != kWhite), V(drawn, drawn)) << damage;
    }
}

// Each stain takes a random turn, black in its shape; the screen becomes the background; the batch is
// closed, so a stray draw lands nowhere.
TEST_F(Effects, StainsAreStampedIntoTheBackgroundOnce) {
    for (int n : {0, 1, 2}) {
        SetUp();
        FillScreen(kWhite);
        for (int i = 0; i < n; ++i) Fill(game.stainList, {{100 + 100 * i, 100}});
        StampStains();
        EXPECT_EQ(V(ListCount(game.stainList), DrawsTaken(), Pixel(104, 104), Pixel(50, 50)),
                  V(0, n, n ? 0 : kWhite, kWhite));
    }
    RotatedSpriteDraw(kSpriteStain, 300, 300, 255);
    const Picture* background = SpriteGetInfo(kSpriteBackground).picture;
    EXPECT_EQ(V(background->At(204, 104), background->At(50, 50), Pixel(304, 304)), V(0, kWhite, kWhite));
}

TEST_F(Effects, SoundsInAscendingOrderAndTheHeadsUpText) {
    for (int32_t slot : {8, 2, 0, 5, 5, 10}) game.soundRequests[slot] = slot == 10 ? -1 : 1;  // any non-zero asks
    PlayRequestedSounds();
    EXPECT_EQ(Ints(game.lastPlayedSounds, game.lastPlayedSounds + game.lastPlayedCount), V(0, 2, 5, 8, 10));
    EXPECT_EQ(Ints(game.soundRequests, game.soundRequests + kSoundRequestCount), Ints(kSoundRequestCount));
    game.playerDamage = 1000, game.killCount = 31, game.shotsFired = 406;
    EXPECT_EQ(BuildHeadsUpText(), "1000 31/406");
}
