// Shots by worked examples: the field's edges, hits (16 x 16 boxes), the removal pass, the death.
#include "game_fixture.h"

using Shots = GameTest;

// After a pass: the shots left (x), the kinds, the explosions in turn. Edges are inside; a box away
// misses; one shot may destroy two, an enemy die twice; a spent shot after a deleted first one waits.
TEST_F(Shots, FlightHitsAndRemoval) {
    struct Case { int32_t lastExplosion; Rows enemies, shots; std::vector<int32_t> shotsLeft, kinds, sounds; };
    const Case cases[] = {
        {0, {}, {{7900, 3000, 60, 0}, {3000, 60, 0, -60}, {5900, 5900, 0, 60}}, {7960, 3000, 5900}, {}, {}},
        {4, {{7840, 3000, 0, 0, C}}, {{7900, 3000, 60, 0}}, {}, {I}, {4}},
        {0, {}, {{1000, 1000}, {7901, 3000, 60}, {3000, 59, 0, -60}, {5900, 5901, 0, 60}, {0, 3000, -1}}, {1000}, {},
         {}},
        {0, {{7840, 3000, 0, 0, C}}, {{7901, 3000, 60, 0}}, {}, {C}, {}},
        {0, {{2160, 2000, 0, 0, C}}, {{1940, 2000, 60, 0}}, {2000}, {C}, {}},
        {0, {{2000, 2000, 0, 0, C}, {2080, 2080, 0, 0, C}}, {{1980, 2040, 60, 0}}, {}, {I, I}, {5, 6}},
        {0, {{2000, 2000, 0, 0, C}}, {{1940, 2000, 60, 0}, {2000, 1940, 0, 60}}, {2000}, {I}, {5, 6}},
        {0, {{1000, 2000, 0, 0, C}, {3000, 2000, 0, 0, C}}, {{1000, 1940, 0, 60}, {2940, 2000, 60}}, {3000}, {I, I},
         {5, 6}},
        {0, {}, {{100, 1000, -200}, {110, 1000, -200}, {120, 1000, -200}}, {-90}, {}, {}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SetUp();
        game.explosionSoundIndex = cases[i].lastExplosion;
        Fill(game.enemyList, cases[i].enemies);
        Fill(game.shotList, cases[i].shots);
        UpdateShots();
        std::vector<int32_t> xs, kinds, sounds;
        for (const auto& s : RowsOf(game.shotList)) xs.push_back(s[0]);
        for (const auto& e : RowsOf(game.enemyList)) kinds.push_back(e[4]);
        for (int32_t k = 0; k < kSoundRequestCount; ++k) if (game.soundRequests[k]) sounds.push_back(k);
        EXPECT_EQ(std::vector({xs, kinds, sounds}), std::vector({cases[i].shotsLeft, cases[i].kinds, cases[i].sounds}))
            << i;
        const size_t n = sounds.size();  // kills, each with a stain and four clouds
        EXPECT_EQ(V(game.killCount, ListCount(game.stainList), ListCount(game.smokeList)), V(n, n, 4 * n)) << i;
    }
}

// From 100 on, once: eleven clouds (x, y, vx, vy, life drawn in turn), their stains, the big bang.
TEST_F(Shots, TheDeath) {
    for (int32_t damage : {99, 1000, 100}) {
        SetUp();
        game.playerPos = {4000, 3000}, game.playerDamage = damage;
        CheckPlayerDeath();
        const int32_t n = damage == 100 ? 11 : 0;
        EXPECT_EQ(V(game.playerDamage, ListCount(game.smokeList), ListCount(game.stainList),
                    game.soundRequests[kSoundBigExplosion]), V(damage == 99 ? 99 : 1000, n, n, n > 0)) << damage;
    }
    EXPECT_EQ(Rows({RowsOf(game.smokeList)[0], RowsOf(game.smokeList)[1], RowsOf(game.stainList)[1]}),
              Rows({{4015, 3091, 13, -10, 36}, {4040, 3044, -6, -19, 41}, {404, 304}}));
}
