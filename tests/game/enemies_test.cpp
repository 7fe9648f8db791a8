#include "game/enemies.h"

#include <set>

#include "game_test_support.h"

namespace {

using game_test::GameTest;
using game_test::kSeedZeroDraws;
using game_test::SetInput;

// The player sits at (4000, 3000), pixel (400, 300), heading right; most enemies here
// are chasers, whose steering is easy to follow by hand: +-3 toward the player.
class EnemiesTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        PlacePlayerHeadingRight();
    }

    static std::vector<DamageFlash> Flashes() { return Records(game.damageFlashList); }
};

// --- spawning ---

TEST_F(EnemiesTest, SpawnDrawsSideThenPositionThenKind) {
    Enemy* e = AddEnemy(1234, 2345, 17, -9, Inactive);
    SpawnEnemy();
    // The same draws in the order side, position, kind, from the same seed.
    RandomSeedWith(0);
    const int32_t side = RandomInt(3);
    const int32_t along = RandomInt(side < 2 ? 7840 : 5840);
    const int32_t kind = RandomInt(2) + 1;
    const int32_t x[4] = {along, along, 0, 7840};
    const int32_t y[4] = {0, 5840, along, along};
    EXPECT_EQ(e->x, x[side]);
    EXPECT_EQ(e->y, y[side]);
    EXPECT_EQ(e->kind, kind);
    EXPECT_EQ(e->vx, 0);
    EXPECT_EQ(e->vy, 0);
}

TEST_F(EnemiesTest, SpawnPlacesOnEveryEdgeWithEveryKind) {
    Enemy* e = AddEnemy(0, 0, 0, 0, Inactive);
    std::set<int32_t> kinds;
    int sides[4] = {};
    for (int i = 0; i < 400; ++i) {
        e->vx = 5;
        SpawnEnemy();
        ASSERT_GE(e->kind, 1);
        ASSERT_LE(e->kind, 3);
        ASSERT_EQ(e->vx, 0);
        kinds.insert(e->kind);
        if (e->y == 0) ++sides[0];
        else if (e->y == 5840) ++sides[1];
        else if (e->x == 0) ++sides[2];
        else if (e->x == 7840) ++sides[3];
        else FAIL() << "not on an edge: " << e->x << "," << e->y;
        ASSERT_GE(e->x, 0);
        ASSERT_LE(e->x, 7840);
        ASSERT_GE(e->y, 0);
        ASSERT_LE(e->y, 5840);
    }
    EXPECT_EQ(kinds.size(), 3u);
    for (int n : sides) EXPECT_GT(n, 50);
}

// --- limits, borders, friction, move ---

TEST_F(EnemiesTest, SpeedIsLimitedAfterSteeringThenSlowed) {
    Enemy* left = AddEnemy(1000, 1000, 37, 0, Chaser);    // steered to 40
    Enemy* right = AddEnemy(7000, 5000, -37, 0, Chaser);  // steered to -40
    UpdateEnemies();
    EXPECT_EQ(left->vx, 27);
    EXPECT_EQ(left->x, 1027);
    EXPECT_EQ(right->vx, -27);
    EXPECT_EQ(right->x, 6973);
    EXPECT_EQ(left->vy, 2);
    EXPECT_EQ(right->vy, -2);
}

TEST_F(EnemiesTest, BorderBouncesAndTheMoveMayCarryBeyond) {
    Enemy* e = AddEnemy(-7, 5850, -8, 30, Chaser);  // steered to (-5, 27)
    UpdateEnemies();
    EXPECT_EQ(e->x, 4);
    EXPECT_EQ(e->vx, 4);
    EXPECT_EQ(e->y, 5840 - 26);
    EXPECT_EQ(e->vy, -26);

    Enemy* f = AddEnemy(7850, 0, 5, -1, Chaser);  // steered to (2, 2)
    UpdateEnemies();
    EXPECT_EQ(f->x, 7839);
    EXPECT_EQ(f->vx, -1);
    EXPECT_EQ(f->y, 1);
    EXPECT_EQ(f->vy, 1);
}

TEST_F(EnemiesTest, InactiveEnemiesAreLeftAlone) {
    Enemy* e = AddEnemy(1000, 1000, 50, 50, Inactive);
    UpdateEnemies();
    EXPECT_EQ(e->x, 1000);
    EXPECT_EQ(e->vx, 50);
    EXPECT_EQ(e->vy, 50);
}

TEST_F(EnemiesTest, PassLeavesTheLastEnemyCurrent) {
    AddEnemy(1000, 1000, 0, 0, Chaser);
    Enemy* last = AddEnemy(2000, 1000, 0, 0, Inactive);
    ListFirst(game.enemyList);
    UpdateEnemies();
    EXPECT_EQ(ListCurrent(game.enemyList), last);
}

// --- blocking between enemies ---

TEST_F(EnemiesTest, BlockedAxisStaysAndReversesDoubledWhileTheOtherSlides) {
    Enemy* a = AddEnemy(1000, 1000, 20, 0, Chaser);  // after steering and friction (22, 2)
    Enemy* b = AddEnemy(1170, 1000, 0, 0, Chaser);   // 15 pixels right of a's next x
    UpdateEnemies();
    EXPECT_EQ(a->x, 1000);
    EXPECT_EQ(a->vx, -44);
    EXPECT_EQ(a->y, 1002);
    EXPECT_EQ(a->vy, 2);
    // b checks against a where a now stands (pixel 100, 17 away): free.
    EXPECT_EQ(b->x, 1172);
    EXPECT_EQ(b->y, 1002);
}

TEST_F(EnemiesTest, SixteenPixelsApartIsNoOverlap) {
    Enemy* a = AddEnemy(1000, 1000, 20, 0, Chaser);  // next x pixel 102
    AddEnemy(1180, 1000, 0, 0, Inactive);
    AddEnemy(1180, 1000, 0, 0, Chaser);              // pixel 118: 16 apart
    UpdateEnemies();
    EXPECT_EQ(a->x, 1022);
    EXPECT_EQ(a->vx, 22);
}

TEST_F(EnemiesTest, InactiveEnemiesDoNotBlock) {
    Enemy* a = AddEnemy(1000, 1000, 20, 0, Chaser);
    AddEnemy(1170, 1000, 0, 0, Inactive);
    UpdateEnemies();
    EXPECT_EQ(a->x, 1022);
}

TEST_F(EnemiesTest, AnEnemyDoesNotBlockItself) {
    Enemy* a = AddEnemy(1000, 1000, 0, 0, Chaser);
    UpdateEnemies();
    EXPECT_EQ(a->x, 1002);
    EXPECT_EQ(a->y, 1002);
}

TEST_F(EnemiesTest, EarlierEnemiesBlockFromWhereTheyHaveMoved) {
    // b comes first and moves from pixel 116 to 118 before a looks: a is free.
    Enemy* b = AddEnemy(1160, 1000, 20, 0, Chaser);
    Enemy* a = AddEnemy(1000, 1000, 20, 0, Chaser);
    UpdateEnemies();
    EXPECT_EQ(b->x, 1182);
    EXPECT_EQ(a->x, 1022);
}

TEST_F(EnemiesTest, LaterEnemiesBlockFromWhereTheyStillAre) {
    Enemy* a = AddEnemy(1000, 1000, 20, 0, Chaser);
    Enemy* b = AddEnemy(1160, 1000, 20, 0, Chaser);
    UpdateEnemies();
    EXPECT_EQ(a->x, 1000);
    EXPECT_EQ(a->vx, -44);
    EXPECT_EQ(b->x, 1182);
}

TEST_F(EnemiesTest, BlockedVerticallyOnly) {
    Enemy* a = AddEnemy(1000, 1000, 0, 20, Chaser);  // next (1002, 1022)
    AddEnemy(1000, 1170, 0, 0, Inactive);
    Enemy* b = AddEnemy(1050, 1170, 0, 0, Chaser);   // pixel (105, 117)
    UpdateEnemies();
    EXPECT_EQ(a->y, 1000);
    EXPECT_EQ(a->vy, -44);
    EXPECT_EQ(a->x, 1002);
    EXPECT_EQ(b->x, 1052);
}

// --- contact with the player ---

TEST_F(EnemiesTest, ContactOnBothAxesCountsOnce) {
    Enemy* e = AddEnemy(4150, 3000, 0, 0, Chaser);  // pixel 415, next 414
    UpdateEnemies();
    EXPECT_EQ(game.playerDamage, 1);
    EXPECT_EQ(game.soundRequests[2], 1);
    ASSERT_EQ(Flashes().size(), 1u);
    EXPECT_EQ(Flashes()[0].direction, 0);  // the enemy is to the right
    EXPECT_EQ(Flashes()[0].life, 35);
    EXPECT_EQ(Flashes()[0].unused0, 0);
    EXPECT_EQ(Flashes()[0].unused1, 0);
    EXPECT_EQ(e->x, 4150);
    EXPECT_EQ(e->vx, 4);
}

TEST_F(EnemiesTest, FlashPointsFromThePlayerToTheEnemy) {
    AddEnemy(3850, 3000, 0, 0, Chaser);  // left: next pixel 385
    AddEnemy(4000, 3150, 0, 0, Chaser);  // below: next pixel row 314
    UpdateEnemies();
    ASSERT_EQ(Flashes().size(), 2u);
    EXPECT_EQ(Flashes()[0].direction, 1800);
    EXPECT_EQ(Flashes()[1].direction, 900);
    EXPECT_EQ(game.playerDamage, 2);
}

TEST_F(EnemiesTest, ContactOnOneAxisStillCounts) {
    // Next to the player on a diagonal: only the vertical move would overlap.
    Enemy* e = AddEnemy(4150, 3180, 0, 0, Chaser);  // steered to (-3, -3), slowed (-2, -2)
    UpdateEnemies();
    EXPECT_EQ(game.playerDamage, 0) << "pixel (415, 318) is 18 rows below: no contact yet";
    e->x = 4150;
    e->y = 3160;
    e->vx = e->vy = 0;
    UpdateEnemies();
    // Next pixel (414, 315): x move from row 316 is clear, y move to 315 overlaps.
    EXPECT_EQ(game.playerDamage, 1);
    EXPECT_EQ(e->x, 4148);
    EXPECT_EQ(e->y, 3160);
    EXPECT_EQ(e->vy, 4);
}

TEST_F(EnemiesTest, AtNinetyNineOnlyTheFirstTouchCounts) {
    game.playerDamage = 99;
    AddEnemy(4150, 3000, 0, 0, Chaser);
    Enemy* second = AddEnemy(3850, 3000, 0, 0, Chaser);
    UpdateEnemies();
    EXPECT_EQ(game.playerDamage, 100);
    ASSERT_EQ(Flashes().size(), 1u);
    EXPECT_EQ(Flashes()[0].direction, 0);
    // The player's box no longer blocks the second.
    EXPECT_EQ(second->x, 3852);
}

TEST_F(EnemiesTest, ADownPlayerNeitherBlocksNorIsTouched) {
    game.playerDamage = 1000;
    Enemy* e = AddEnemy(4150, 3000, 0, 0, Chaser);
    UpdateEnemies();
    EXPECT_EQ(game.playerDamage, 1000);
    EXPECT_EQ(ListCount(game.damageFlashList), 0);
    EXPECT_EQ(game.soundRequests[2], 0);
    EXPECT_EQ(e->x, 4148);
}

TEST_F(EnemiesTest, FlashesAreAppendedAfterExistingOnes) {
    DamageFlash* old = ListAdd(game.damageFlashList);
    old->life = 20;
    AddEnemy(4150, 3000, 0, 0, Chaser);
    UpdateEnemies();
    ASSERT_EQ(Flashes().size(), 2u);
    EXPECT_EQ(Flashes()[0].life, 20);
    EXPECT_EQ(Flashes()[1].life, 35);
}

// --- restart ---

TEST_F(EnemiesTest, RestartNeedsSpace) {
    game.playerDamage = 1000;
    game.killCount = 4;
    AddEnemy(1000, 1000, 0, 0, Chaser);
    CheckRestart();
    EXPECT_EQ(game.playerDamage, 1000);
    EXPECT_EQ(game.killCount, 4);
    EXPECT_EQ(game.enemyList.first->record.kind, Chaser);
}

TEST_F(EnemiesTest, RestartResetsCountsAndEnemiesOnly) {
    game.playerDamage = 1000;
    game.killCount = 4;
    game.shotsFired = 9;
    game.explosionSoundIndex = 3;
    game.playerPos = {1234, 2345};
    game.playerVel = {7, -7};
    game.playerAngle = 1200;
    game.gunSide = 1;
    game.fireCooldown = 3;
    AddEnemy(1000, 1000, 4, 4, Chaser);
    AddEnemy(2000, 1000, 0, 0, AxisSeeker);
    ListAdd(game.smokeList)->life = 9;
    InputFrame space;
    space.keys[kKeySpace] = 1;
    SetInput(space);
    CheckRestart();
    EXPECT_EQ(game.playerDamage, 0);
    EXPECT_EQ(game.killCount, 0);
    EXPECT_EQ(game.shotsFired, 0);
    for (const Enemy& e : Records(game.enemyList)) EXPECT_EQ(e.kind, Inactive);
    EXPECT_EQ(game.enemyList.first->record.x, 1000);
    EXPECT_EQ(game.explosionSoundIndex, 3);
    EXPECT_EQ(game.playerPos.x, 1234);
    EXPECT_EQ(game.playerVel.y, -7);
    EXPECT_EQ(game.playerAngle, 1200);
    EXPECT_EQ(game.gunSide, 1);
    EXPECT_EQ(game.fireCooldown, 3);
    EXPECT_EQ(ListCount(game.smokeList), 1);
    EXPECT_EQ(RandomInt(100), kSeedZeroDraws[0]);
}

}  // namespace
