// The process-wide random generator: a lagged-Fibonacci generator with rotation
// (lags 17 and 10, rotations 19 and 27). Every draw consumes one step, so the game's
// order of calls fixes its whole sequence.
#pragma once

#include <cstdint>

struct RandomState {
    uint32_t buffer[17][2];  // entries of (word 0, word 1)
    int32_t p1;              // buffer positions, 0..16
    int32_t p2;
    uint32_t seed;           // the value last seeded with: recordings start from it
};

extern RandomState randomState;

// Seeds from the millisecond clock (start-up of the real game).
void RandomSeed();
// Seeds with a chosen value: tests, the replay tool.
void RandomSeedWith(uint32_t seed);
// 0..n inclusive; -2^31 for negative n (the step is still taken).
int32_t RandomInt(int32_t n);
