#include "game/steering.h"

#include "game_test_support.h"

namespace {

using game_test::GameTest;
using game_test::kSeedZeroDraws;

class SteeringTest : public GameTest {
protected:
    // The player heading right from the middle of the field, as in the worked example.
    void SetUp() override {
        GameTest::SetUp();
        PlacePlayerHeadingRight();
    }

    static Enemy Steer(int32_t x, int32_t y, int32_t vx, int32_t vy, int32_t kind) {
        Enemy* e = AddEnemy(x, y, vx, vy, kind);
        SteerEnemy();
        return *e;
    }

    // Collapses the front and rear points onto the player, so that points placed
    // symmetrically around it score alike.
    static void PlayerWithoutHeading() {
        game.playerFront = game.playerPos;
        game.playerRear = game.playerPos;
    }
};

// --- distance and score ---

TEST_F(SteeringTest, DistanceTruncatesEachOffsetTowardZero) {
    // -19 tenths is -1 pixel, not -2.
    EXPECT_EQ(dist({100, 0}, {119, 0}), 1);
    EXPECT_EQ(dist({119, 0}, {100, 0}), 1);
    EXPECT_EQ(dist({0, 0}, {30, 40}), 5);
    EXPECT_EQ(dist({0, 0}, {39, 49}), 5);  // 3, 4 pixels after truncation
    EXPECT_EQ(dist({10000, 8000}, {0, 0}), 1281);
}

TEST_F(SteeringTest, WorkedExampleScores) {
    EXPECT_EQ(approachScore({988, 2988}), 452);
    EXPECT_EQ(approachScore({1000, 2988}), 450);
    EXPECT_EQ(approachScore({1012, 2988}), 446);
    EXPECT_EQ(approachScore({988, 3000}), 452);
    EXPECT_EQ(approachScore({1012, 3000}), 446);
    EXPECT_EQ(approachScore({988, 3012}), 452);
    EXPECT_EQ(approachScore({1000, 3012}), 450);
    EXPECT_EQ(approachScore({1012, 3012}), 446);
}

TEST_F(SteeringTest, ScoresCanBeNegative) {
    EXPECT_EQ(approachScore(game.playerRear), -50);
    EXPECT_EQ(approachScore(game.playerFront), 3 * 50 + 100);
}

// --- the worked example for each kind ---

TEST_F(SteeringTest, WorkedExampleEightWaySeekerTakesCandidateTwo) {
    Enemy e = Steer(1000, 3000, 0, 0, EightWaySeeker);
    EXPECT_EQ(e.vx, 3);
    EXPECT_EQ(e.vy, -3);
    EXPECT_EQ(e.x, 1000);  // steering changes only the velocity
    EXPECT_EQ(e.y, 3000);
}

TEST_F(SteeringTest, WorkedExampleAxisSeekerDecidesHorizontallyOnly) {
    Enemy e = Steer(1000, 3000, 0, 0, AxisSeeker);
    EXPECT_EQ(e.vx, 3);
    EXPECT_EQ(e.vy, 0);
    EXPECT_EQ(RandomInt(100), kSeedZeroDraws[0]) << "no random number may be drawn";
}

TEST_F(SteeringTest, WorkedExampleChaser) {
    Enemy e = Steer(1000, 3000, 0, 0, Chaser);
    EXPECT_EQ(e.vx, 3);
    EXPECT_EQ(e.vy, 0);
}

// --- chaser ---

TEST_F(SteeringTest, ChaserLevelWithThePlayerKeepsThatComponent) {
    Enemy e = Steer(4000, 3500, 5, 7, Chaser);
    EXPECT_EQ(e.vx, 5);
    EXPECT_EQ(e.vy, 4);
}

// --- eight-way seeker ---

TEST_F(SteeringTest, EightWaySeekerWithAllScoresEqualTakesCandidateZero) {
    PlayerWithoutHeading();
    // Every candidate is one pixel from all three points.
    Enemy e = Steer(4000, 3000, 0, 0, EightWaySeeker);
    EXPECT_EQ(e.vx, -3);
    EXPECT_EQ(e.vy, -3);
}

TEST_F(SteeringTest, EightWaySeekerTieBetweenFourAndSixTakesFour) {
    game.playerPos = {1700, 2240};
    game.playerFront = {1260, 2470};
    game.playerRear = {2140, 2010};
    // The setup: candidates 4 (right) and 6 (down) share the lowest score.
    const int32_t s4 = approachScore({2012, 2000});
    ASSERT_EQ(approachScore({2000, 2012}), s4);
    for (Vec2 other : {Vec2{1988, 1988}, Vec2{2000, 1988}, Vec2{2012, 1988}, Vec2{1988, 2000},
                       Vec2{1988, 2012}, Vec2{2012, 2012}})
        ASSERT_GT(approachScore(other), s4);

    Enemy e = Steer(2000, 2000, 0, 0, EightWaySeeker);
    EXPECT_EQ(e.vx, 3);
    EXPECT_EQ(e.vy, 0);
}

TEST_F(SteeringTest, EightWaySeekerLooksAheadByItsVelocity) {
    PlayerWithoutHeading();
    // Low x candidate 3970 + 37 - 9 = 3998 lies on the player; without the velocity
    // the best point would be 3970 + 3 + 9 = 3982 to the right.
    Enemy e = Steer(3970, 3000, 40, 0, EightWaySeeker);
    EXPECT_EQ(e.vx, 37);
    EXPECT_EQ(e.vy, 0);
}

TEST_F(SteeringTest, EightWaySeekersMiddleColumnIsItsPosition) {
    PlayerWithoutHeading();
    // Standing on the player while moving away left: the middle column (the position,
    // not the position plus velocity) is where the player is.
    Enemy e = Steer(4000, 3000, -30, 0, EightWaySeeker);
    EXPECT_EQ(e.vx, -30);
    EXPECT_EQ(e.vy, -3);
}

// --- axis seeker ---

TEST_F(SteeringTest, AxisSeekerTiedHorizontallyChangesOnlyVertically) {
    PlayerWithoutHeading();
    Enemy e = Steer(4000, 1000, 0, 0, AxisSeeker);
    EXPECT_EQ(e.vx, 0);
    EXPECT_EQ(e.vy, 3);
    EXPECT_EQ(RandomInt(100), kSeedZeroDraws[0]) << "no random number may be drawn";
}

TEST_F(SteeringTest, AxisSeekerLooksAheadByItsVelocity) {
    PlayerWithoutHeading();
    Enemy e = Steer(3970, 3000, 40, 0, AxisSeeker);
    EXPECT_EQ(e.vx, 37);
    EXPECT_EQ(e.vy, 0);
    EXPECT_EQ(RandomInt(100), kSeedZeroDraws[0]);
}

TEST_F(SteeringTest, AxisSeekerTiedOnBothAxesTakesOneRandomNudge) {
    PlayerWithoutHeading();
    // Both pairs of look-ahead points lie one pixel either side of the player.
    Enemy e = Steer(3994, 3006, 6, -6, AxisSeeker);
    // Exactly one draw consumed: the next one is the generator's second.
    EXPECT_EQ(RandomInt(100), kSeedZeroDraws[1]);
    // The nudge follows the value of that one draw of 0..3.
    RandomSeedWith(0);
    const int32_t r = RandomInt(3);
    const int32_t nudge[4][2] = {{9, -6}, {3, -6}, {6, -3}, {6, -9}};
    EXPECT_EQ(e.vx, nudge[r][0]);
    EXPECT_EQ(e.vy, nudge[r][1]);
}

TEST_F(SteeringTest, SteeringActsOnTheCurrentEnemyOnly) {
    Enemy* first = AddEnemy(1000, 3000, 0, 0, Chaser);
    Enemy* second = AddEnemy(7000, 3000, 0, 0, Chaser);
    ListSetCurrent(game.enemyList, first);
    SteerEnemy();
    EXPECT_EQ(first->vx, 3);
    EXPECT_EQ(second->vx, 0);
}

}  // namespace
