// The motion scheme the player and the enemies share: a per-axis speed limit, a bounce
// off the field's edges, friction. Integer arithmetic; divisions truncate toward zero.
#pragma once

#include <cstdint>

// The order matters for nothing but is kept as the game has always done it: both lower
// bounds, then both upper bounds.
inline void LimitSpeed(int32_t& vx, int32_t& vy, int32_t limit) {
    if (vx < -limit) vx = -limit;
    if (vy < -limit) vy = -limit;
    if (vx > limit) vx = limit;
    if (vy > limit) vy = limit;
}

// Back inside 0..max; only a velocity heading out is reversed, so no speed is lost.
inline void BounceAxis(int32_t& pos, int32_t& vel, int32_t max) {
    if (pos < 0) {
        pos = 0;
        if (vel < 0) vel = -vel;
    } else if (pos > max) {
        pos = max;
        if (vel > 0) vel = -vel;
    }
}

// At the speeds the game allows this takes at least 1 off every non-zero component.
inline int32_t ApplyFriction(int32_t v) {
    return v * 990 / 1000;
}
