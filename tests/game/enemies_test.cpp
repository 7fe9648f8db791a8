// Enemies by worked examples: steering, the enemy pass, drawing, the restart on Space.
#include "game_fixture.h"

using Enemies = GameTest;

const std::vector<Vec2> kRight = {{4000, 3000}, {4500, 3000}, {3500, 3000}}, kStill(3, {4000, 3000}),
                        kTie = {{1700, 2240}, {1260, 2470}, {2140, 2010}};

// The player (position, front, rear) heading right, at rest, or where candidates 4 and 6 tie. The
// worked example (eight-way: candidate 2; axis: across only); of ties the first; seekers look ahead by
// their velocity, the middle column being their position; tied both ways: a draw, down.
TEST_F(Enemies, Steering) {
    struct Case { const std::vector<Vec2>& at; std::vector<int32_t> enemy; Ints velocityAndDraws; };
    const Case cases[] = {
        {kRight, {1000, 3000, 0, 0, E}, {3, -3, 0}}, {kRight, {1000, 3000, 0, 0, A}, {3, 0, 0}},
        {kRight, {1000, 3000, 0, 0, C}, {3, 0, 0}}, {kStill, {4000, 3000, 0, 0, E}, {-3, -3, 0}},
        {kTie, {2000, 2000, 0, 0, E}, {3, 0, 0}}, {kStill, {3970, 3000, 40, 0, E}, {37, 0, 0}},
        {kStill, {4000, 2970, 0, 40, E}, {0, 37, 0}}, {kStill, {4000, 3000, -30, 0, E}, {-30, -3, 0}},
        {kStill, {3970, 3000, 40, 0, A}, {37, 0, 0}}, {kStill, {4000, 1000, 0, 0, A}, {0, 3, 0}},
        {kStill, {3994, 3006, 6, -6, A}, {6, -3, 1}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SetUp();
        game.playerPos = cases[i].at[0], game.playerFront = cases[i].at[1], game.playerRear = cases[i].at[2];
        Fill(game.enemyList, {cases[i].enemy});
        SteerEnemy();
        const Enemy& e = game.enemyList.first->record;
        EXPECT_EQ(V(e.vx, e.vy, DrawsTaken()), cases[i].velocityAndDraws) << i;
    }
    game.playerPos = kRight[0], game.playerFront = kRight[1], game.playerRear = kRight[2];  // the scores
    EXPECT_EQ(V(approachScore({988, 2988}), approachScore({1000, 2988}), approachScore({1012, 3012})),
              V(452, 450, 446));
}

// Chasers near the player at pixel (400, 300): limited, slowed, bounced; a blocked axis turns back
// doubled; earlier ones block from where they moved to, 16 px apart being clear, inactive ones never;
// a touch counts once per enemy, the flash pointing at it; from 100 on the player is down.
TEST_F(Enemies, Pass) {
    struct Case { int32_t damage; Rows in, out; std::vector<int32_t> flashes; };
    const Case cases[] = {
        {0, {{1000, 1000, 37, 0, C}, {7000, 5000, -37, 0, C}}, {{1027, 1002, 27, 2, C}, {6973, 4998, -27, -2, C}},
         {}},
        {0, {{-7, 5850, -8, 30, C}, {7850, 0, 5, -1, C}}, {{4, 5814, 4, -26, C}, {7839, 1, -1, 1, C}}, {}},
        {0, {{1000, 1000, 20, 0, C}, {1170, 1000, 0, 0, C}}, {{1000, 1002, -44, 2, C}, {1172, 1002, 2, 2, C}}, {}},
        {0, {{1000, 1000, 0, 20, C}, {1050, 1170, 0, 0, C}}, {{1002, 1000, 2, -44, C}, {1052, 1172, 2, 2, C}}, {}},
        {0, {{1160, 1000, 20, 0, C}, {1100, 1000, 50, 0, I}, {1000, 1000, 20, 0, C}},
         {{1182, 1002, 22, 2, C}, {1100, 1000, 50, 0, I}, {1022, 1002, 22, 2, C}}, {}},
        {0, {{4150, 3000, 0, 0, C}}, {{4150, 3000, 4, 0, C}}, {0}},
        {0, {{4150, 3160, 0, 0, C}}, {{4148, 3160, -2, 4, C}}, {469}},
        {0, {{3850, 3000, 0, 0, C}, {4000, 3150, 0, 0, C}}, {{3850, 3000, -4, 0, C}, {4000, 3150, 0, 4, C}},
         {1800, 900}},
        {99, {{4150, 3000, 0, 0, C}, {3850, 3000, 0, 0, C}}, {{4150, 3000, 4, 0, C}, {3852, 3000, 2, 0, C}}, {0}},
        {1000, {{4150, 3000, 0, 0, C}}, {{4148, 3000, -2, 0, C}}, {}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SetUp();
        game.playerPos = {4000, 3000}, game.playerDamage = cases[i].damage;
        Fill(game.enemyList, cases[i].in);
        UpdateEnemies();
        Rows flashes;
        for (int32_t direction : cases[i].flashes) flashes.push_back({0, 0, direction, kFlashLife});
        EXPECT_EQ(RowsOf(game.enemyList), cases[i].out) << i;
        EXPECT_EQ(RowsOf(game.damageFlashList), flashes) << i;
        const int32_t hurt = static_cast<int32_t>(flashes.size()) * (cases[i].damage < 100);
        EXPECT_EQ(V(game.playerDamage, game.soundRequests[kSoundFlash]), V(cases[i].damage + hurt, hurt > 0)) << i;
    }
}

TEST_F(Enemies, DrawnFromTheirKindsCellAndRestartedBySpace) {
    for (int32_t kind : {C, E, A}) {
        SetUp();
        game.playerDamage = 1000;  // nothing to touch; the move stays within pixel 100
        Fill(game.enemyList, {{1005, 1005, 0, 0, kind}});
        UpdateEnemies();
        EXPECT_EQ(V(Pixel(100, 100), Pixel(115, 115), Pixel(116, 100), Pixel(100, 116)),
                  V(kCell + kind, kCell + kind, 0, 0));
    }
    game.killCount = 4, game.shotsFired = 9;
    ControlPlayer();
    EXPECT_EQ(V(game.playerDamage, game.killCount), V(1000, 4));
    InputFrame in;  // while down, Space restarts: the counts start again, the respawn will place all
    in.keys[kKeySpace] = 1;
    Input(in);
    ControlPlayer();
    EXPECT_EQ(V(game.playerDamage, game.killCount, game.shotsFired, game.enemyList.first->record.kind), V(0, 0, 0, I));
}
