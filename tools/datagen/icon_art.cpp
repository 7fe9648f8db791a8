// The application icon: the player's ball with its cannon raised to the upper right, on
// one steel deck plate of the arena floor. Painted at each size from the same smooth
// shapes as the sprites, so the large icons are sharp rather than enlarged pixels.
#include <algorithm>
#include <cmath>

#include "tools/datagen/art.h"

namespace {

using dmath::SmoothStep;

constexpr uint32_t kSeed = 0x1C0Du;
constexpr double kUnits = 34.0;                // sprite pixels across the icon
constexpr double kBallU = 0.42, kBallV = 0.58;  // the ball's centre, 0..1 across and down
constexpr double kAim = 0.70710678118654752;    // cosine and sine of the cannon's 45 degrees

const Color kSteel{70, 77, 88};
const Color kSeam{26, 29, 35};
const Color kLight{175, 185, 200};

// The plate at (u, v), 0..1: a dark seam all round, a bevel lit on its top and left,
// a domed rivet in each corner, brushed grain, a worn arc of the deck's yellow ring, and
// the ball's soft shadow.
Color Plate(double u, double v) {
    const double edge = std::min({u, v, 1.0 - u, 1.0 - v});
    if (edge < 0.025) return kSeam;
    const double grain = 0.93 + 0.14 * dmath::ValueNoise(u * 6.0, v * 120.0, kSeed);
    const double grime = 0.85 + 0.3 * dmath::Fbm(u * 4.0, v * 4.0, 3, kSeed + 1);
    Color c = kSteel * (grain * grime);
    const double ring = dmath::Sqrt((u - 0.9) * (u - 0.9) + (v - 0.1) * (v - 0.1));
    const double wear = SmoothStep(0.3, 0.6, dmath::Fbm(u * 9.0, v * 9.0, 3, kSeed + 2));
    c = Lerp(c, Color{170, 140, 52} * grime, 0.55 * wear * SmoothStep(0.035, 0.02, std::abs(ring - 0.62)));
    double light = 0.0;
    if (edge < 0.07) light = (edge == u || edge == v) ? 0.3 : -0.3;
    for (double ru : {0.12, 0.88})
        for (double rv : {0.12, 0.88}) {
            const double du = (u - ru) / 0.045, dv = (v - rv) / 0.045;
            if (du * du + dv * dv <= 1.0) light = std::clamp(0.2 - 0.5 * (du + dv), -0.35, 0.8);
        }
    c = light >= 0.0 ? Lerp(c, kLight, 0.5 * light) : c * (1.0 + light);
    const double su = (u - kBallU) * kUnits - 1.5, sv = (v - kBallV) * kUnits - 1.5;
    return c * (1.0 - 0.55 * SmoothStep(9.0, 5.0, dmath::Sqrt(su * su + sv * sv)));
}

}  // namespace

Image MakeIcon(int32_t side) {
    Canvas icon(side, side);
    const double unit = kUnits / side;  // sprite pixels per icon pixel
    PaintSupersampled(&icon, 0, 0, side, side, 2, 0.0,
                      [side](double x, double y) { return Sample{Plate(x / side, y / side), 1.0}; });
    // Both shapes in sprite pixels from the ball's centre; the cannon turned to point up.
    const auto fromBall = [&](double x, double y) {
        return std::pair{(x - kBallU * side) * unit, (y - kBallV * side) * unit};
    };
    PaintSupersampled(&icon, 0, 0, side, side, 4, 0.01, [&](double x, double y) {
        const auto [dx, dy] = fromBall(x, y);
        return PlayerBallAt(kBallCell / 2.0 + dx, kBallCell / 2.0 + dy);
    });
    PaintSupersampled(&icon, 0, 0, side, side, 4, 0.01, [&](double x, double y) {
        const auto [dx, dy] = fromBall(x, y);
        return CannonAt(kGearSide / 2.0 + kAim * (dx - dy), kGearSide / 2.0 + kAim * (dx + dy));
    });
    return ToImage(icon);
}
