#include "game/player.h"

#include "game_test_support.h"

namespace {

using game_test::GameTest;
using game_test::NoInput;
using game_test::SetInput;

class PlayerTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        game.playerPos = {4000, 3000};
    }

    static void Frame(const InputFrame& in) {
        SetInput(in);
        UpdatePlayer();
    }

    static InputFrame Wheel(int32_t notches) {
        InputFrame in;
        in.wheel = notches;
        return in;
    }

    static InputFrame Keys(std::initializer_list<int32_t> codes) {
        InputFrame in;
        for (int32_t c : codes) in.keys[c] = 1;
        return in;
    }

    static InputFrame Buttons(bool left, bool right, bool middle) {
        InputFrame in;
        in.buttons[0] = left;
        in.buttons[1] = right;
        in.buttons[2] = middle;
        return in;
    }

    static InputFrame Mouse(int32_t dx, int32_t dy) {
        InputFrame in;
        in.dx = dx;
        in.dy = dy;
        return in;
    }
};

// --- thrust, speed limit and friction ---

TEST_F(PlayerTest, WheelThrustFromRestBuildsUpToTheLimit) {
    const int32_t expectedVel[] = {9, 18, 27, 29, 29, 29};
    const int32_t expectedPos[] = {4009, 4027, 4054, 4083, 4112, 4141};
    for (int i = 0; i < 6; ++i) {
        Frame(Wheel(1));
        EXPECT_EQ(game.playerVel.x, expectedVel[i]) << "frame " << i + 1;
        EXPECT_EQ(game.playerVel.y, 0) << "frame " << i + 1;
        EXPECT_EQ(game.playerPos.x, expectedPos[i]) << "frame " << i + 1;
    }
    EXPECT_EQ(game.playerAngle, 0);
}

TEST_F(PlayerTest, ThrustFollowsADiagonalHeading) {
    game.playerAngle = 450;  // down and right: 10 * cos and 10 * sin are 7.07
    Frame(Wheel(1));
    EXPECT_EQ(game.playerVel.x, 6);
    EXPECT_EQ(game.playerVel.y, 6);
}

TEST_F(PlayerTest, WithoutThrustEachComponentLosesOnePerFrame) {
    game.playerVel = {29, -29};
    Frame(NoInput());
    EXPECT_EQ(game.playerVel.x, 28);
    EXPECT_EQ(game.playerVel.y, -28);
    for (int i = 1; i < 29; ++i) Frame(NoInput());
    EXPECT_EQ(game.playerVel.x, 0);
    EXPECT_EQ(game.playerVel.y, 0);
}

TEST_F(PlayerTest, KeysThrustAlongTheScreenAndOppositeKeysCancel) {
    Frame(Keys({kKeyA, kKeyD}));
    EXPECT_EQ(game.playerVel.x, 0);
    Frame(Keys({kKeyW}));
    EXPECT_EQ(game.playerVel.y, -9);
    game.playerVel = {};
    Frame(Keys({kKeyS, kKeyA}));
    EXPECT_EQ(game.playerVel.x, -9);
    EXPECT_EQ(game.playerVel.y, 9);
}

TEST_F(PlayerTest, MouseThrustGoesAlongTheHeadingAndOverridesKeys) {
    InputFrame in = Wheel(1);
    in.keys[kKeyW] = 1;
    Frame(in);
    EXPECT_EQ(game.playerVel.x, 9);
    EXPECT_EQ(game.playerVel.y, 0);

    game.playerVel = {};
    InputFrame back = Buttons(false, true, false);
    back.keys[kKeyS] = 1;
    Frame(back);
    EXPECT_EQ(game.playerVel.x, -9);
    EXPECT_EQ(game.playerVel.y, 0);

    game.playerVel = {};
    Frame(Wheel(-2));  // backward, however many notches
    EXPECT_EQ(game.playerVel.x, -9);
}

// --- borders ---

TEST_F(PlayerTest, BorderActsOnlyAtTheNextFrameAfterMovingOut) {
    game.playerPos.x = 5;
    game.playerVel.x = -30;
    Frame(NoInput());
    EXPECT_EQ(game.playerVel.x, -29);
    EXPECT_EQ(game.playerPos.x, -24);
    Frame(NoInput());
    EXPECT_EQ(game.playerVel.x, 28);
    EXPECT_EQ(game.playerPos.x, 28);
}

TEST_F(PlayerTest, FarBordersBounceWithoutLosingSpeed) {
    game.playerPos = {7864, 5850};
    game.playerVel = {29, 12};
    Frame(NoInput());
    EXPECT_EQ(game.playerPos.x, 7840 - 28);
    EXPECT_EQ(game.playerVel.x, -28);
    EXPECT_EQ(game.playerPos.y, 5840 - 11);
    EXPECT_EQ(game.playerVel.y, -11);
}

TEST_F(PlayerTest, BorderKeepsAVelocityThatAlreadyPointsInward) {
    game.playerPos = {-5, 5900};
    game.playerVel = {10, -10};
    Frame(NoInput());
    EXPECT_EQ(game.playerPos.x, 9);
    EXPECT_EQ(game.playerVel.x, 9);
    EXPECT_EQ(game.playerPos.y, 5831);
    EXPECT_EQ(game.playerVel.y, -9);
}

// --- turning, front and rear points ---

TEST_F(PlayerTest, HeadingZeroWithoutMouseStaysAndSetsFrontAndRear) {
    Frame(NoInput());
    EXPECT_EQ(game.aimOffset.x, 50);
    EXPECT_EQ(game.aimOffset.y, 0);
    EXPECT_EQ(game.playerAngle, 0);
    EXPECT_EQ(game.playerFront.x, 4500);
    EXPECT_EQ(game.playerFront.y, 3000);
    EXPECT_EQ(game.playerRear.x, 3500);
    EXPECT_EQ(game.playerRear.y, 3000);
}

TEST_F(PlayerTest, HeadingTenSettlesAtEleven) {
    game.playerAngle = 10;
    Frame(NoInput());
    EXPECT_EQ(game.aimOffset.x, 50);
    EXPECT_EQ(game.aimOffset.y, 1);
    EXPECT_EQ(game.playerAngle, 11);
    Frame(NoInput());
    Frame(NoInput());
    EXPECT_EQ(game.playerAngle, 11);
}

TEST_F(PlayerTest, SmallMouseMovementTurnsALittle) {
    Frame(Mouse(0, 5));
    EXPECT_EQ(game.aimPoint.x, 50);
    EXPECT_EQ(game.aimPoint.y, 5);
    EXPECT_EQ(game.playerAngle, 57);
    // Front and rear still follow the heading from before the turn.
    EXPECT_EQ(game.playerFront.y, 3000);
    EXPECT_EQ(game.playerFront.x, 4500);
}

TEST_F(PlayerTest, HugeMouseMovementIsClampedToTheTable) {
    Frame(Mouse(-5000, -5000));
    EXPECT_EQ(game.aimPoint.x, -1000);
    EXPECT_EQ(game.aimPoint.y, -800);
    EXPECT_EQ(game.playerAngle, 2186);
    Frame(Mouse(9000, 9000));
    EXPECT_EQ(game.aimPoint.x, 1000);
    EXPECT_EQ(game.aimPoint.y, 800);
    EXPECT_EQ(game.playerAngle, 386);
}

TEST_F(PlayerTest, MovementCancellingTheAimTakesTheZeroOffsetsDirection) {
    game.playerAngle = 900;  // aimOffset (0, 50)
    Frame(Mouse(0, -50));
    EXPECT_EQ(game.aimPoint.x, 0);
    EXPECT_EQ(game.aimPoint.y, 0);
    EXPECT_EQ(game.playerAngle, 0);
}

TEST_F(PlayerTest, FrontAndRearUseTheMovedPosition) {
    game.playerVel = {11, 0};
    Frame(NoInput());
    EXPECT_EQ(game.playerPos.x, 4010);
    EXPECT_EQ(game.playerFront.x, 4510);
    EXPECT_EQ(game.playerRear.x, 3510);
}

// --- firing ---

TEST_F(PlayerTest, FiringAtHeadingZeroFromTheStartPosition) {
    Frame(Buttons(true, false, false));
    ASSERT_EQ(ListCount(game.shotList), 1);
    const Shot& s = game.shotList.first->record;
    EXPECT_EQ(s.x, 4080);
    EXPECT_EQ(s.y, 3040);
    EXPECT_EQ(s.vx, 60);
    EXPECT_EQ(s.vy, 0);
    EXPECT_EQ(s.spent, 0);
    EXPECT_EQ(game.playerVel.x, -5);  // recoil after the move
    EXPECT_EQ(game.playerVel.y, 0);
    EXPECT_EQ(game.playerPos.x, 4000);
    EXPECT_EQ(game.shotsFired, 1);
    EXPECT_EQ(game.soundRequests[0], 1);
    EXPECT_EQ(game.soundRequests[1], 0);
    EXPECT_EQ(game.gunSide, 1);
    EXPECT_EQ(game.fireCooldown, 5);
}

TEST_F(PlayerTest, RightBarrelAtHeadingZeroIsBelowTheCentre) {
    game.gunSide = 1;
    Frame(Buttons(false, false, true));  // the middle button fires as well
    ASSERT_EQ(ListCount(game.shotList), 1);
    EXPECT_EQ(game.shotList.first->record.x, 4080);
    EXPECT_EQ(game.shotList.first->record.y, 3120);
    EXPECT_EQ(game.soundRequests[1], 1);
    EXPECT_EQ(game.gunSide, 0);
}

TEST_F(PlayerTest, FireHeldShootsEverySixthFrameFromAlternateBarrels) {
    std::vector<int> shotFrames;
    std::vector<int> slots;
    for (int frame = 1; frame <= 13; ++frame) {
        int32_t before = ListCount(game.shotList);
        Frame(Buttons(true, false, false));
        if (ListCount(game.shotList) != before) {
            shotFrames.push_back(frame);
            slots.push_back(game.soundRequests[0] ? 0 : game.soundRequests[1] ? 1 : -1);
        }
        for (int32_t& r : game.soundRequests) r = 0;  // as the frame's dispatch does
    }
    EXPECT_EQ(shotFrames, (std::vector<int>{1, 7, 13}));
    EXPECT_EQ(slots, (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(game.shotsFired, 3);
}

TEST_F(PlayerTest, CooldownRunsDownWithoutTheButtonAndBlocksFiring) {
    game.fireCooldown = 2;
    Frame(NoInput());
    EXPECT_EQ(game.fireCooldown, 1);
    Frame(Buttons(true, false, false));
    EXPECT_EQ(game.fireCooldown, 0);
    EXPECT_EQ(ListCount(game.shotList), 0);
    Frame(Buttons(true, false, false));
    EXPECT_EQ(ListCount(game.shotList), 1);
}

TEST_F(PlayerTest, BackwardThrustAndFiringInTheSameFrame) {
    Frame(Buttons(true, true, false));
    EXPECT_EQ(ListCount(game.shotList), 1);
    EXPECT_EQ(game.playerPos.x, 3991);
    EXPECT_EQ(game.playerVel.x, -14);  // -9 after friction, then the recoil
}

TEST_F(PlayerTest, ShotsTakeTheHeadingAfterThisFramesTurn) {
    Frame([] {
        InputFrame in = Buttons(true, false, false);
        in.dx = -50;
        in.dy = 50;  // aim point (0, 50): straight down
        return in;
    }());
    EXPECT_EQ(game.playerAngle, 900);
    const Shot& s = game.shotList.first->record;
    EXPECT_EQ(s.vx, 0);
    EXPECT_EQ(s.vy, 60);
    EXPECT_EQ(game.playerVel.y, -5);
    // Left barrel, heading down: four pixels to the right of the centre on screen.
    EXPECT_EQ(s.x, 4120);
    EXPECT_EQ(s.y, 3080);
}

// The muzzle sum 4107.5 exists only in float arithmetic; half to even gives 4108.
TEST_F(PlayerTest, MuzzleRoundsTheFloatSumHalfToEven) {
    // An aim point whose direction is 2215, reached from heading 0 in one frame.
    int32_t ax = 0, ay = 0;
    for (int32_t dx = -1; dx >= -1000 && ax == 0; --dx)
        for (int32_t dy = -1; dy >= -800; --dy)
            if (directionTable(dx, dy) == 2215) {
                ax = dx;
                ay = dy;
                break;
            }
    ASSERT_NE(ax, 0);
    game.playerPos = {4001, 3000};
    game.gunSide = 1;
    InputFrame in = Buttons(true, false, false);
    in.dx = ax - 50;
    in.dy = ay;
    Frame(in);
    ASSERT_EQ(game.playerAngle, 2215);
    ASSERT_EQ(ListCount(game.shotList), 1);
    EXPECT_EQ(game.shotList.first->record.x, 4108);
}

TEST_F(PlayerTest, NearestRoundsHalvesToEven) {
    EXPECT_EQ(Nearest(0.5f), 0);
    EXPECT_EQ(Nearest(1.5f), 2);
    EXPECT_EQ(Nearest(2.5f), 2);
    EXPECT_EQ(Nearest(-2.5f), -2);
    EXPECT_EQ(Nearest(-0.49f), 0);
    EXPECT_EQ(Nearest(4107.5f), 4108);
}

}  // namespace
