// Sticks as keys and aim (see stick.h for the aim's reckoning).
// Depends on SDL2's scancodes and media/scan_codes.cpp.
#include "media/stick.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "media/scan_codes.h"

namespace {

constexpr double kSectorSine = 0.38268343236509;  // sin 22.5 degrees: eight directions
// Between the reach and the nearer clamp: the reach is long for a fine direction, short
// enough that heading + reach stays inside the clamp even when our heading is the
// opposite of the game's (50 + 50 + 690 < 800 for the game's figures).
constexpr int32_t kAimMargin = 10;

struct StickContext {
    int32_t headingLength = 0;        // the game's heading offset's length
    int32_t limitX = 0, limitY = 0;   // the game's clamp of the aim point
    int32_t headingX = 0, headingY = 0;  // our copy of the heading offset; 0, 0: unknown
};

StickContext g_stick;

int32_t AimReach() {
    return std::min(g_stick.limitX, g_stick.limitY) - 2 * g_stick.headingLength - kAimMargin;
}

}  // namespace

void StickHoldKeys(double x, double y, uint8_t* keys, uint8_t down) {
    const auto hold = [&](SDL_Scancode key) { keys[ScanCodeFromSdl(key)] = down; };
    const double r = std::hypot(x, y);
    if (std::abs(x) > kSectorSine * r) hold(x < 0 ? SDL_SCANCODE_A : SDL_SCANCODE_D);
    if (std::abs(y) > kSectorSine * r) hold(y < 0 ? SDL_SCANCODE_W : SDL_SCANCODE_S);
}

void StickAim(double x, double y, StickMouse* m) {
    if (m->aiming || AimReach() <= 0 || (x == 0 && y == 0)) return;
    const double a = std::atan2(y, x);
    m->dx = static_cast<int32_t>(std::lround(AimReach() * std::cos(a))) - g_stick.headingX;
    m->dy = static_cast<int32_t>(std::lround(AimReach() * std::sin(a))) - g_stick.headingY;
    m->aiming = true;
}

// The game's turn applied to our copy of its heading.
void StickFollowHeading(int64_t dx, int64_t dy) {
    const int64_t x = std::clamp(int64_t{g_stick.headingX} + dx, int64_t{-g_stick.limitX}, int64_t{g_stick.limitX});
    const int64_t y = std::clamp(int64_t{g_stick.headingY} + dy, int64_t{-g_stick.limitY}, int64_t{g_stick.limitY});
    if (x == 0 && y == 0) return;
    const double a = std::atan2(static_cast<double>(y), static_cast<double>(x));
    g_stick.headingX = static_cast<int32_t>(std::lround(g_stick.headingLength * std::cos(a)));
    g_stick.headingY = static_cast<int32_t>(std::lround(g_stick.headingLength * std::sin(a)));
}

void StickSetAim(int32_t headingLength, int32_t limitX, int32_t limitY) {
    g_stick.headingLength = headingLength;
    g_stick.limitX = limitX;
    g_stick.limitY = limitY;
}

void StickForgetHeading() { g_stick.headingX = g_stick.headingY = 0; }
