// Reads the replay tool's trace back: one JSON object per line, with the keys in the
// documented order. Strict on purpose: a line that is not valid JSON, lacks a key or
// holds keys in another order is an error, so every replay test also checks the format.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Positions within the "player" array.
enum PlayerField {
    kPosX, kPosY, kVelX, kVelY, kAngle, kDamage, kFrontX, kFrontY, kRearX, kRearY, kGunSide, kCooldown
};

using Rec5 = std::array<int64_t, 5>;  // x, y, vx, vy, kind / spent / life
using Rec2 = std::array<int64_t, 2>;  // stains: x, y; flashes: direction, life

struct TraceFrame {
    int64_t frame = -1;
    std::array<int64_t, 12> player{};
    int64_t kills = 0, shotsFired = 0, explosion = 0;
    std::vector<Rec5> enemies, shots, smoke, puffs;
    std::vector<Rec2> stains, flashes;
    std::vector<int64_t> sounds;

    int64_t P(PlayerField f) const { return player[f]; }
    bool Alive() const { return player[kDamage] < 100; }
};

struct TraceReadResult {
    bool ok = false;
    std::vector<TraceFrame> frames;
    std::string error;  // "line N: ..." for the first bad line
};

TraceReadResult ReadTrace(std::string_view text);
