// The player's frame by worked examples: thrust, limit, friction, borders, turn, firing.
#include "game/motion.h"
#include "game_fixture.h"

// Held keys and buttons by letter: W A S D, and L R M for the left, right and middle button.
static InputFrame Held(const std::string& held, int32_t wheel = 0, int32_t dx = 0, int32_t dy = 0) {
    InputFrame in{dx, dy, wheel};
    for (char c : held) {
        if (auto b = std::string("LRM").find(c); b != std::string::npos) in.buttons[b] = 1;
        else in.keys[c == 'W' ? kKeyW : c == 'A' ? kKeyA : c == 'S' ? kKeyS : kKeyD] = 1;
    }
    return in;
}

using Player = GameTest;

// From position, velocity, heading, gun side, cooldown (at rest in the middle if left out), with this
// input, to position, velocity, heading, the front point (before the turn), gun side, cooldown, shot.
TEST_F(Player, Frames) {
    struct Case { std::vector<int32_t> start; InputFrame in; int frames; Ints end; Rows shots; };
    const Case cases[] = {
        {{}, Held("", 1), 6, {4141, 3000, 29, 0, 0, 4641, 3000}, {}},  // the wheel's thrust up to the limit
        {{4000, 3000, 29, -29}, Held(""), 1, {4028, 2972, 28, -28, 0, 4528, 2972}, {}},  // friction takes one
        {{}, Held("ADS"), 1, {4000, 3009, 0, 9, 0, 4500, 3009}, {}},  // keys along the screen, cancelling
        {{}, Held("W"), 1, {4000, 2991, 0, -9, 0, 4500, 2991}, {}},
        {{}, Held("RD"), 1, {3991, 3000, -9, 0, 0, 4491, 3000}, {}},  // backward, over the keys
        {{}, Held("S", -2), 1, {3991, 3000, -9, 0, 0, 4491, 3000}, {}},
        {{7864, 5850, 29, 12}, Held(""), 1, {7812, 5829, -28, -11, 0, 8312, 5829}, {}},  // bounced, no speed lost
        {{4000, 3000, 0, 0, 10}, Held(""), 3, {4000, 3000, 0, 0, 11, 4500, 3010}, {}},  // heading 10 settles at 11
        {{}, Held("", 0, 0, 5), 1, {4000, 3000, 0, 0, 57, 4500, 3000}, {}},
        {{}, Held("", 0, -5000, -5000), 1, {4000, 3000, 0, 0, 2186}, {}},  // the aim point clamped
        {{}, Held("", 0, 9000, 9000), 1, {4000, 3000, 0, 0, 386}, {}},
        {{}, Held("L"), 1, {4000, 3000, -5, 0, 0, 4500, 3000, 1, 5}, {{4080, 3040, 60, 0, 0}}},  // left barrel
        {{4000, 3000, 0, 0, 0, 1}, Held("M"), 1, {4000, 3000, -5, 0, 0, 4500, 3000, 0, 5}, {{4080, 3120, 60, 0, 0}}},
        {{4000, 3000, 0, 0, 0, 0, 1}, Held("L"), 1, {4000, 3000, 0, 0, 0, 4500, 3000, 0, 0}, {}},  // cooling down
        {{}, Held("LR"), 1, {3991, 3000, -14, 0, 0, 4491, 3000, 1, 5}, {{4071, 3040, 60, 0, 0}}},  // after the move
        {{}, Held("L", 0, -50, 50), 1, {4000, 3000, 0, -5, 900, 4500, 3000, 1, 5}, {{4120, 3080, 0, 60, 0}}},
        {{4001, 3000, 0, 0, 0, 1}, Held("L", 0, -85, -31), 1, {4001, 3000, 4, 3, 2215, 4501, 3000, 0, 5},
         {{4108, 3050, -45, -40, 0}}},  // the muzzle sum 4107.5 exists only in float arithmetic
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SetUp();
        std::vector<int32_t> s = cases[i].start.empty() ? std::vector<int32_t>{4000, 3000} : cases[i].start;
        s.resize(7);
        game.playerPos = {s[0], s[1]}, game.playerVel = {s[2], s[3]}, game.playerAngle = s[4];
        game.gunSide = s[5], game.fireCooldown = s[6];
        Input(cases[i].in);
        for (int f = 0; f < cases[i].frames; ++f) UpdatePlayer();
        Ints end = V(game.playerPos.x, game.playerPos.y, game.playerVel.x, game.playerVel.y, game.playerAngle,
                     game.playerFront.x, game.playerFront.y, game.gunSide, game.fireCooldown);
        end.resize(cases[i].end.size());
        EXPECT_EQ(end, cases[i].end) << i;
        EXPECT_EQ(RowsOf(game.shotList), cases[i].shots) << i;
        const size_t n = cases[i].shots.size();  // the rear opposite the front; a shot counted and heard
        EXPECT_EQ(V(game.playerRear.x + game.playerFront.x - 2 * game.playerPos.x, game.shotsFired,
                    game.soundRequests[s[5]], game.soundRequests[1 - s[5]]), V(0, n, n, 0)) << i;
    }
    int32_t pos = 101, vel = 1;  // the bounce on its own: friction hides a speed of 1 within a frame
    BounceAxis(pos, vel, 100);
    EXPECT_EQ(V(pos, vel), V(100, -1));
}
