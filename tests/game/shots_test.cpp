#include "game/shots.h"

#include "game/enemies.h"
#include "game/player.h"
#include "game_test_support.h"

namespace {

using game_test::GameTest;
using game_test::kSeedZeroDraws;
using game_test::SetInput;

class ShotsTest : public GameTest {
protected:
    static std::vector<Shot> Shots() { return Records(game.shotList); }
    static std::vector<Stain> Stains() { return Records(game.stainList); }
    static std::vector<Smoke> Clouds() { return Records(game.smokeList); }

    static std::vector<int32_t> RequestedSlots() {
        std::vector<int32_t> out;
        for (int32_t i = 0; i < kSoundRequestCount; ++i)
            if (game.soundRequests[i]) out.push_back(i);
        return out;
    }
};

// --- respawn ---

TEST_F(ShotsTest, RespawnPlacesOnlyInactiveEnemiesInPlace) {
    Enemy* a = AddEnemy(1000, 1000, 5, 5, Chaser);
    Enemy* b = AddEnemy(2000, 2000, 5, 5, Inactive);
    Enemy* c = AddEnemy(3000, 3000, 5, 5, AxisSeeker);
    RespawnEnemies();
    EXPECT_EQ(a->x, 1000);
    EXPECT_EQ(a->vx, 5);
    EXPECT_EQ(c->kind, AxisSeeker);
    EXPECT_NE(b->kind, Inactive);
    EXPECT_EQ(b->vx, 0);
    EXPECT_TRUE(b->x == 0 || b->x == 7840 || b->y == 0 || b->y == 5840);
    // One spawn: three draws.
    EXPECT_EQ(RandomInt(100), kSeedZeroDraws[3]);
    EXPECT_EQ(Records(game.enemyList).size(), 3u);
}

// --- flight and the field ---

TEST_F(ShotsTest, FieldEdgesAreInsideAndOnePastIsOut) {
    AddShot(7900, 3000, 60, 0);  // to 7960: inside
    AddShot(3000, 60, 0, -60);   // to y 0: inside
    AddShot(5900, 5900, 0, 60);  // to y 5960: inside
    UpdateShots();
    EXPECT_EQ(Shots().size(), 3u);

    ListClear(game.shotList);
    AddShot(1000, 1000, 0, 0);   // stays: keeps the others off the list's head
    AddShot(7901, 3000, 60, 0);  // 7961
    AddShot(3000, 59, 0, -60);   // -1
    AddShot(5900, 5901, 0, 60);  // 5961
    AddShot(0, 3000, -1, 0);     // -1
    UpdateShots();
    ASSERT_EQ(Shots().size(), 1u);
    EXPECT_EQ(Shots()[0].x, 1000);
}

TEST_F(ShotsTest, ShotOnTheLastInsideColumnStillHits) {
    Enemy* e = AddEnemy(7840, 3000, 0, 0, Chaser);  // pixel 784; the shot at 796
    AddShot(7900, 3000, 60, 0);
    UpdateShots();
    EXPECT_EQ(e->kind, Inactive);
    EXPECT_EQ(game.killCount, 1);
}

TEST_F(ShotsTest, ShotOnePastTheFieldIsNotComparedWithEnemies) {
    Enemy* e = AddEnemy(7840, 3000, 0, 0, Chaser);
    AddShot(7901, 3000, 60, 0);
    UpdateShots();
    EXPECT_EQ(e->kind, Chaser);
    EXPECT_EQ(game.killCount, 0);
    EXPECT_EQ(ListCount(game.stainList), 0);
}

// --- hits ---

TEST_F(ShotsTest, AHitDestroysTheEnemyWithStainSmokeSoundAndCount) {
    Enemy* e = AddEnemy(2005, 1995, 3, 3, EightWaySeeker);
    AddShot(1940, 2000, 60, 0);
    UpdateShots();
    EXPECT_EQ(e->kind, Inactive);
    EXPECT_EQ(e->x, 2005);  // stays until the respawn pass
    EXPECT_EQ(ListCount(game.shotList), 0);
    ASSERT_EQ(Stains().size(), 1u);
    EXPECT_EQ(Stains()[0].x, 200);
    EXPECT_EQ(Stains()[0].y, 199);
    const auto clouds = Clouds();
    ASSERT_EQ(clouds.size(), 4u);
    // Four clouds, each drawing vx then vy.
    RandomSeedWith(0);
    for (const Smoke& c : clouds) {
        EXPECT_EQ(c.x, 2085);
        EXPECT_EQ(c.y, 2075);
        EXPECT_EQ(c.vx, RandomInt(20) - 10);
        EXPECT_EQ(c.vy, RandomInt(20) - 10);
        EXPECT_EQ(c.life, 32);
    }
    EXPECT_EQ(game.explosionSoundIndex, 1);
    EXPECT_EQ(RequestedSlots(), (std::vector<int32_t>{5}));
    EXPECT_EQ(game.killCount, 1);
}

TEST_F(ShotsTest, MissByAWholeBoxDoesNothing) {
    Enemy* e = AddEnemy(2160, 2000, 0, 0, Chaser);  // pixel 216: 16 right of the shot
    AddShot(1940, 2000, 60, 0);
    UpdateShots();
    EXPECT_EQ(e->kind, Chaser);
    EXPECT_EQ(ListCount(game.shotList), 1);
    EXPECT_EQ(game.killCount, 0);
}

TEST_F(ShotsTest, OneShotOverTwoEnemiesDestroysBoth) {
    AddEnemy(2000, 2000, 0, 0, Chaser);
    AddEnemy(2080, 2080, 0, 0, AxisSeeker);
    AddShot(1980, 2040, 60, 0);
    UpdateShots();
    for (const Enemy& e : Records(game.enemyList)) EXPECT_EQ(e.kind, Inactive);
    EXPECT_EQ(ListCount(game.stainList), 2);
    EXPECT_EQ(ListCount(game.smokeList), 8);
    EXPECT_EQ(RequestedSlots(), (std::vector<int32_t>{5, 6}));
    EXPECT_EQ(game.killCount, 2);
    EXPECT_EQ(game.explosionSoundIndex, 2);
}

TEST_F(ShotsTest, ADestroyedEnemyCanBeDestroyedAgainInTheSameFrame) {
    Enemy* e = AddEnemy(2000, 2000, 0, 0, Chaser);
    AddShot(1940, 2000, 60, 0);
    AddShot(2000, 1940, 0, 60);
    UpdateShots();
    EXPECT_EQ(e->kind, Inactive);
    EXPECT_EQ(game.killCount, 2);
    EXPECT_EQ(ListCount(game.stainList), 2);
    EXPECT_EQ(ListCount(game.smokeList), 8);
    EXPECT_EQ(RequestedSlots(), (std::vector<int32_t>{5, 6}));
}

TEST_F(ShotsTest, ExplosionSoundsTakeTurnsAcrossFrames) {
    for (int32_t i = 0; i < 6; ++i) AddEnemy(1000 + 300 * i, 2000, 0, 0, Chaser);
    for (int32_t i = 0; i < 5; ++i) AddShot(1000 + 300 * i, 1940, 0, 60);
    UpdateShots();
    EXPECT_EQ(RequestedSlots(), (std::vector<int32_t>{4, 5, 6, 7, 8}));
    EXPECT_EQ(game.explosionSoundIndex, 0);
    for (int32_t& r : game.soundRequests) r = 0;
    ListClear(game.shotList);
    AddShot(2500, 1940, 0, 60);
    UpdateShots();
    EXPECT_EQ(RequestedSlots(), (std::vector<int32_t>{5}));
    EXPECT_EQ(game.killCount, 6);
}

// --- the removal pass ---

TEST_F(ShotsTest, SpentShotAfterADeletedFirstOneSurvivesAFrameAndFliesOn) {
    Enemy* left = AddEnemy(1000, 2000, 0, 0, Chaser);
    Enemy* right = AddEnemy(3000, 2000, 0, 0, Chaser);
    Enemy* further = AddEnemy(3200, 2000, 0, 0, Chaser);  // 20 pixels beyond right
    AddShot(1000, 1940, 0, 60);  // hits left
    AddShot(2940, 2000, 60, 0);  // hits right
    UpdateShots();
    EXPECT_EQ(left->kind, Inactive);
    EXPECT_EQ(right->kind, Inactive);
    EXPECT_EQ(further->kind, Chaser);
    ASSERT_EQ(Shots().size(), 1u);
    EXPECT_EQ(Shots()[0].x, 3000);
    EXPECT_EQ(Shots()[0].spent, 1);

    // Next frame the survivor flies on like any shot, reaches the next enemy and
    // destroys it; only then is it removed.
    RespawnEnemies();
    UpdateShots();
    EXPECT_EQ(further->kind, Inactive);
    EXPECT_EQ(game.killCount, 3);
    EXPECT_EQ(ListCount(game.shotList), 0);
}

TEST_F(ShotsTest, SpentShotsAfterAFlyingFirstOneAreAllRemoved) {
    AddShot(1000, 1000, 0, 0);
    AddShot(100, 1000, -200, 0);
    AddShot(200, 1000, -300, 0);
    UpdateShots();
    ASSERT_EQ(Shots().size(), 1u);
    EXPECT_EQ(Shots()[0].x, 1000);
}

TEST_F(ShotsTest, OfThreeSpentShotsTheSecondSurvives) {
    AddShot(100, 1000, -200, 0);
    AddShot(110, 1000, -200, 0);
    AddShot(120, 1000, -200, 0);
    UpdateShots();
    ASSERT_EQ(Shots().size(), 1u);
    EXPECT_EQ(Shots()[0].x, -90);
    UpdateShots();
    EXPECT_EQ(Shots().size(), 0u);
}

// --- the player's death ---

TEST_F(ShotsTest, DeathAtOneHundredSetsOffItsEffectsOnce) {
    game.playerPos = {4000, 3000};
    game.playerDamage = 100;
    CheckPlayerDeath();
    EXPECT_EQ(game.playerDamage, 1000);
    EXPECT_EQ(RequestedSlots(), (std::vector<int32_t>{3}));
    const auto clouds = Clouds();
    const auto stains = Stains();
    ASSERT_EQ(clouds.size(), 11u);
    ASSERT_EQ(stains.size(), 11u);
    // Per cloud: x, y, vx, vy, life, then its stain from the cloud's position.
    RandomSeedWith(0);
    for (size_t i = 0; i < clouds.size(); ++i) {
        EXPECT_EQ(clouds[i].x, 4000 + RandomInt(320) - 160);
        EXPECT_EQ(clouds[i].y, 3000 + RandomInt(320) - 160);
        EXPECT_EQ(clouds[i].vx, RandomInt(80) - 40);
        EXPECT_EQ(clouds[i].vy, RandomInt(80) - 40);
        EXPECT_EQ(clouds[i].life, RandomInt(20) + 32);
        EXPECT_EQ(stains[i].x, clouds[i].x / 10);
        EXPECT_EQ(stains[i].y, clouds[i].y / 10);
    }

    for (int32_t& r : game.soundRequests) r = 0;
    CheckPlayerDeath();
    EXPECT_EQ(ListCount(game.smokeList), 11);
    EXPECT_EQ(ListCount(game.stainList), 11);
    EXPECT_TRUE(RequestedSlots().empty());
}

TEST_F(ShotsTest, DeathCloudsScatterAroundThePlayer) {
    game.playerPos = {100, 100};  // near the corner: some clouds start off the field
    game.playerDamage = 150;
    CheckPlayerDeath();
    bool negative = false;
    for (const Smoke& c : Clouds()) {
        EXPECT_GE(c.x, -60);
        EXPECT_LE(c.x, 260);
        EXPECT_GE(c.vx, -40);
        EXPECT_LE(c.vx, 40);
        EXPECT_GE(c.life, 32);
        EXPECT_LE(c.life, 52);
        negative |= c.x < 0;
    }
    EXPECT_TRUE(negative);
    // Stain pixels truncate toward zero: -59 tenths is pixel -5.
    for (size_t i = 0; i < Clouds().size(); ++i) {
        int32_t x = Clouds()[i].x;
        EXPECT_EQ(Stains()[i].x * 10 + x % 10, x);
    }
}

TEST_F(ShotsTest, NoDeathBelowOneHundred) {
    game.playerDamage = 99;
    CheckPlayerDeath();
    EXPECT_EQ(game.playerDamage, 99);
    EXPECT_EQ(ListCount(game.smokeList), 0);
    EXPECT_EQ(RandomInt(100), kSeedZeroDraws[0]);
}

// --- one shot's road through a frame ---

TEST_F(ShotsTest, AShotIsMovedInTheFrameItIsFired) {
    game.playerPos = {4000, 3000};
    InputFrame fire;
    fire.buttons[0] = 1;
    SetInput(fire);
    UpdatePlayer();
    UpdateShots();
    ASSERT_EQ(Shots().size(), 1u);
    EXPECT_EQ(Shots()[0].x, 4140);
    EXPECT_EQ(Shots()[0].y, 3040);
}

}  // namespace
