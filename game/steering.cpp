#include "game/steering.h"

#include "game/tables.h"
#include "runtime/random.h"

namespace {

int32_t ClampOffset(int32_t v, int32_t limit) {
    if (v > limit) return limit;
    if (v < -limit) return -limit;
    return v;
}

void SteerChaser(Enemy& e) {
    if (e.x > game.playerPos.x) e.vx -= kSteerStep;
    else if (e.x < game.playerPos.x) e.vx += kSteerStep;
    if (e.y > game.playerPos.y) e.vy -= kSteerStep;
    else if (e.y < game.playerPos.y) e.vy += kSteerStep;
}

// Looks at the eight neighbours of its position, one step plus a margin away along
// each axis (the centre is no candidate), and takes the best; the first wins a tie.
void SteerEightWay(Enemy& e) {
    const int32_t xs[3] = {e.x + (e.vx - kSteerStep) - kLookAheadMargin, e.x,
                           e.x + (e.vx + kSteerStep) + kLookAheadMargin};
    const int32_t ys[3] = {e.y + (e.vy - kSteerStep) - kLookAheadMargin, e.y,
                           e.y + (e.vy + kSteerStep) + kLookAheadMargin};
    // Candidates 0..7 in order: column (0 low, 1 mid, 2 high) and row of each.
    static constexpr int32_t kColumn[8] = {0, 1, 2, 0, 2, 0, 1, 2};
    static constexpr int32_t kRow[8] = {0, 0, 0, 1, 1, 2, 2, 2};
    int32_t best = 0;
    int32_t bestScore = 0;
    for (int32_t i = 0; i < 8; ++i) {
        int32_t score = approachScore({xs[kColumn[i]], ys[kRow[i]]});
        if (i == 0 || score < bestScore) {
            best = i;
            bestScore = score;
        }
    }
    e.vx += (kColumn[best] - 1) * kSteerStep;
    e.vy += (kRow[best] - 1) * kSteerStep;
}

// Returns true when the axis decided; vel then holds the better of the two steps.
bool SteerAxis(int32_t& vel, Vec2 low, Vec2 high) {
    int32_t sLow = approachScore(low);
    int32_t sHigh = approachScore(high);
    if (sLow < sHigh) {
        vel -= kSteerStep;
        return true;
    }
    if (sLow > sHigh) {
        vel += kSteerStep;
        return true;
    }
    return false;
}

void SteerAxisSeeker(Enemy& e) {
    bool decided = false;
    decided |= SteerAxis(e.vx, {e.x + (e.vx - kSteerStep) - kLookAheadMargin, e.y},
                         {e.x + (e.vx + kSteerStep) + kLookAheadMargin, e.y});
    decided |= SteerAxis(e.vy, {e.x, e.y + (e.vy - kSteerStep) - kLookAheadMargin},
                         {e.x, e.y + (e.vy + kSteerStep) + kLookAheadMargin});
    if (decided) return;
    // Both axes tied: a random nudge so that it never stalls.
    switch (RandomInt(3)) {
        case 0: e.vx += kSteerStep; break;
        case 1: e.vx -= kSteerStep; break;
        case 2: e.vy += kSteerStep; break;
        default: e.vy -= kSteerStep; break;
    }
}

}  // namespace

int32_t dist(Vec2 a, Vec2 p) {
    // Every offset between points of the field lies inside the table; the clamp only
    // keeps a stray state from reading outside it.
    return distanceTable(ClampOffset((a.x - p.x) / 10, 1000), ClampOffset((a.y - p.y) / 10, 800));
}

int32_t approachScore(Vec2 p) {
    return 3 * dist(game.playerPos, p) + dist(game.playerRear, p) - 2 * dist(game.playerFront, p);
}

void SteerEnemy() {
    Enemy* e = ListCurrent(game.enemyList);
    if (!e) return;
    switch (e->kind) {
        case Chaser: SteerChaser(*e); break;
        case EightWaySeeker: SteerEightWay(*e); break;
        case AxisSeeker: SteerAxisSeeker(*e); break;
        default: break;
    }
}
