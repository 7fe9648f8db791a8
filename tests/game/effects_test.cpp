#include "game/effects.h"

#include <set>

#include "game_test_support.h"

namespace {

using game_test::GameTest;
using game_test::kSeedZeroDraws;

class EffectsTest : public GameTest {
protected:
    static Smoke* AddCloud(int32_t x, int32_t y, int32_t vx, int32_t vy, int32_t life) {
        Smoke* c = ListAdd(game.smokeList);
        *c = Smoke{x, y, vx, vy, life};
        return c;
    }
    static Puff* AddPuff(int32_t life) {
        Puff* p = ListAdd(game.puffList);
        *p = Puff{1000, 1000, 0, 0, life};
        return p;
    }
    static DamageFlash* AddFlash(int32_t direction, int32_t life) {
        DamageFlash* f = ListAdd(game.damageFlashList);
        f->direction = direction;
        f->life = life;
        return f;
    }
    static void AddStain(int32_t x, int32_t y) {
        Stain* s = ListAdd(game.stainList);
        s->x = x;
        s->y = y;
    }
};

// --- stamping ---

TEST_F(EffectsTest, NoPendingStainNoStamping) {
    StampStains();
    EXPECT_EQ(RandomInt(100), kSeedZeroDraws[0]);
}

TEST_F(EffectsTest, OnePendingStainIsStampedAtOnce) {
    AddStain(100, 200);
    StampStains();
    EXPECT_EQ(ListCount(game.stainList), 0);
    EXPECT_EQ(RandomInt(100), kSeedZeroDraws[1]);
}

TEST_F(EffectsTest, EachStainGetsItsOwnTurnAndAllAreCleared) {
    for (int i = 0; i < 11; ++i) AddStain(10 * i, 20 * i);
    StampStains();
    EXPECT_EQ(ListCount(game.stainList), 0);
    EXPECT_EQ(game.stainList.current, nullptr);
    RandomSeedWith(0);
    for (int i = 0; i < 11; ++i) RandomInt(360);
    const int32_t twelfth = RandomInt(100);
    RandomSeedWith(0);
    for (int i = 0; i < 11; ++i) AddStain(0, 0);
    StampStains();
    EXPECT_EQ(RandomInt(100), twelfth);
    // Stains added afterwards start a new list of their own.
    AddStain(5, 6);
    EXPECT_EQ(ListCount(game.stainList), 1);
}

// --- smoke clouds and puffs ---

TEST_F(EffectsTest, ACloudAgesMovesAndEmitsOnePuffThatIsDrawnAtOnce) {
    AddCloud(1000, 1000, 10, -10, 32);
    UpdateSmoke();
    ASSERT_EQ(ListCount(game.smokeList), 1);
    const Smoke& c = game.smokeList.first->record;
    EXPECT_EQ(c.life, 31);
    EXPECT_EQ(c.x, 1010);
    EXPECT_EQ(c.y, 990);
    ASSERT_EQ(ListCount(game.puffList), 1);
    const Puff& p = game.puffList.first->record;
    // Against the cloud's drift at 80..100 %, 80..100 % of its life (24, 27 or 31),
    // and already aged and moved once in the same pass.
    EXPECT_TRUE(p.vx == -8 || p.vx == -9 || p.vx == -10) << p.vx;
    EXPECT_TRUE(p.vy == 8 || p.vy == 9 || p.vy == 10) << p.vy;
    EXPECT_TRUE(p.life == 23 || p.life == 26 || p.life == 30) << p.life;
    EXPECT_GE(p.x - p.vx, 1010 + 20);
    EXPECT_LE(p.x - p.vx, 1010 + 60);
    EXPECT_GE(p.y - p.vy, 990 + 20);
    EXPECT_LE(p.y - p.vy, 990 + 60);
    // Five draws for the puff: x, y, vx, vy, life.
    EXPECT_EQ(RandomInt(100), kSeedZeroDraws[5]);
}

TEST_F(EffectsTest, PuffSpeedsTruncateTowardZero) {
    std::set<int32_t> vx, vy;
    for (int i = 0; i < 40; ++i) AddCloud(1000, 1000, 7, -7, 20);
    UpdateSmoke();
    for (const Puff& p : Records(game.puffList)) {
        vx.insert(p.vx);
        vy.insert(p.vy);
    }
    // -(7 * 8) / 10 is -5, never -6 as a floor would make it.
    EXPECT_EQ(vx, (std::set<int32_t>{-7, -6, -5}));
    EXPECT_EQ(vy, (std::set<int32_t>{5, 6, 7}));
}

TEST_F(EffectsTest, ACloudOfLifeThirtyTwoEmitsAPuffInEachOfThirtyTwoFrames) {
    AddCloud(1000, 1000, 0, 0, 32);
    for (uint32_t frame = 1; frame <= 33; ++frame) {
        // What the generator gives after exactly one puff's five draws.
        RandomSeedWith(frame);
        for (int i = 0; i < 5; ++i) RandomInt(1);
        const int32_t afterOnePuff = RandomInt(100);
        RandomSeedWith(frame);
        const int32_t untouched = [&] {
            int32_t v = RandomInt(100);
            RandomSeedWith(frame);
            return v;
        }();
        UpdateSmoke();
        if (frame <= 32) {
            EXPECT_EQ(RandomInt(100), afterOnePuff) << "frame " << frame;
            EXPECT_EQ(ListCount(game.smokeList), frame < 32 ? 1 : 0) << "frame " << frame;
        } else {
            EXPECT_EQ(RandomInt(100), untouched) << "no cloud left to emit";
        }
    }
}

TEST_F(EffectsTest, ACloudOfLifeOneLeavesNothingBehind) {
    AddCloud(1000, 1000, 5, 5, 1);
    UpdateSmoke();
    EXPECT_EQ(ListCount(game.smokeList), 0);
    EXPECT_EQ(ListCount(game.puffList), 0);
    EXPECT_EQ(RandomInt(100), kSeedZeroDraws[5]) << "the puff was still made";
}

TEST_F(EffectsTest, ACloudOfLifeZeroIsOnlyRemoved) {
    AddCloud(1000, 1000, 5, 5, 0);
    UpdateSmoke();
    EXPECT_EQ(ListCount(game.smokeList), 0);
    EXPECT_EQ(ListCount(game.puffList), 0);
    EXPECT_EQ(RandomInt(100), kSeedZeroDraws[0]);
}

TEST_F(EffectsTest, PuffsShrinkOnePixelAFrameAndDrift) {
    Puff* p = AddPuff(10);
    p->vx = -4;
    p->vy = 6;
    UpdateSmoke();
    EXPECT_EQ(p->life, 9);
    EXPECT_EQ(p->x, 996);
    EXPECT_EQ(p->y, 1006);
    for (int i = 0; i < 8; ++i) UpdateSmoke();
    EXPECT_EQ(p->life, 1);
    UpdateSmoke();
    EXPECT_EQ(ListCount(game.puffList), 0);
}

TEST_F(EffectsTest, FinishedPuffAfterADeletedFirstOneWaitsAFrame) {
    AddPuff(1);
    AddPuff(1);
    AddPuff(5);
    UpdateSmoke();
    const auto puffs = Records(game.puffList);
    ASSERT_EQ(puffs.size(), 2u);
    EXPECT_EQ(puffs[0].life, 0);
    EXPECT_EQ(puffs[1].life, 4);
    UpdateSmoke();
    ASSERT_EQ(ListCount(game.puffList), 1);
    EXPECT_EQ(game.puffList.first->record.life, 3);
}

TEST_F(EffectsTest, NewPuffsFollowTheOlderOnes) {
    AddPuff(20);
    AddCloud(2000, 2000, 0, 0, 10);
    UpdateSmoke();
    const auto puffs = Records(game.puffList);
    ASSERT_EQ(puffs.size(), 2u);
    EXPECT_EQ(puffs[0].life, 19);
    EXPECT_EQ(puffs[0].x, 1000);
    EXPECT_GE(puffs[1].x, 2020);
}

// --- damage flashes and the player's drawing ---

TEST_F(EffectsTest, FlashPictureAndAlphaByLife) {
    struct Row {
        int32_t life, slot, alpha;
    };
    const Row table[] = {{34, 12, 136}, {30, 12, 120}, {29, 11, 116}, {25, 11, 100},
                         {24, 10, 96},  {20, 10, 80},  {19, 9, 76},   {15, 9, 60},
                         {14, 8, 56},   {10, 8, 40},   {9, 7, 36},    {5, 7, 20},
                         {4, 6, 16},    {0, 6, 0}};
    for (const Row& r : table) {
        EXPECT_EQ(FlashSlot(r.life), r.slot) << "life " << r.life;
        EXPECT_EQ(FlashAlpha(r.life), r.alpha) << "life " << r.life;
    }
}

TEST_F(EffectsTest, AFlashIsDrawnThirtyFiveTimesThenRemoved) {
    DamageFlash* f = AddFlash(900, 35);
    DrawPlayer();
    EXPECT_EQ(f->life, 34);
    for (int i = 2; i <= 34; ++i) DrawPlayer();
    ASSERT_EQ(ListCount(game.damageFlashList), 1);
    EXPECT_EQ(f->life, 1);
    DrawPlayer();  // drawn with life 0, alpha 0, and removed
    EXPECT_EQ(ListCount(game.damageFlashList), 0);
}

TEST_F(EffectsTest, FlashesWaitWhileThePlayerIsDown) {
    DamageFlash* f = AddFlash(0, 35);
    game.playerDamage = 100;
    DrawPlayer();
    game.playerDamage = 1000;
    DrawPlayer();
    EXPECT_EQ(f->life, 35);
    game.playerDamage = 0;
    DrawPlayer();
    EXPECT_EQ(f->life, 34);
}

TEST_F(EffectsTest, SeveralFlashesAgeTogether) {
    AddFlash(0, 1);
    AddFlash(1800, 35);
    DrawPlayer();
    // The older one has played out and goes; the newer one goes on.
    const auto flashes = Records(game.damageFlashList);
    ASSERT_EQ(flashes.size(), 1u);
    EXPECT_EQ(flashes[0].direction, 1800);
    EXPECT_EQ(flashes[0].life, 34);
}

}  // namespace
