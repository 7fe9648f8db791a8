// The pictures drawn around the player's ball: the twin-barrelled cannon and the seven
// shield flashes. Both are 32 x 32 and centred on the ball (the game places them 8 pixels
// up and left of the ball's corner) and point right, the heading at which the game shows
// them as they stand in the file.
#include <algorithm>
#include <utility>
#include <vector>

#include "tools/datagen/art.h"
#include "tools/datagen/paint.h"

namespace {

using dmath::Clamp;
using dmath::SmoothStep;

constexpr double kMid = kGearSide / 2.0;
// The shots leave 4 pixels either side of the ball's centre, so the barrels lie there.
constexpr double kBarrelY[2] = {kMid - 4.0, kMid + 4.0};
constexpr double kLy = -0.62, kLz = 0.78;  // light from above and in front

// A metal cylinder lying along x: shade by where across it the point is.
Color Cylinder(double across, Color base) {
    const double t = Clamp(across, -1.0, 1.0);
    const double nz = dmath::Sqrt(1.0 - t * t);
    const double lambert = Clamp(t * kLy + nz * kLz, 0.0, 1.0);
    const double specular = dmath::PowInt(Clamp(t * -0.32 + nz * 0.95, 0.0, 1.0), 24);
    return base * (0.30 + 0.85 * lambert) + Color{255, 255, 255} * (0.7 * specular);
}

bool InRoundedBox(double x, double y, double x0, double y0, double x1, double y1, double round) {
    const double cx = std::clamp(x, x0 + round, x1 - round);
    const double cy = std::clamp(y, y0 + round, y1 - round);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= round * round && x >= x0 && x <= x1 && y >= y0 && y <= y1;
}

Sample CollarRing(double x, double y) {
    const double dx = x - kMid, dy = y - kMid;
    const double r = dmath::Sqrt(dx * dx + dy * dy);
    if (r < 7.9 || r > 9.5) return {};
    // A torus seen from above: the side facing the light is bright.
    const double across = (r - 8.7) / 0.8;
    const double facing = r > 0 ? -(dx * -0.64 + dy * -0.77) / r : 0.0;
    Color c = Cylinder(across, Color{92, 102, 120}) * (0.8 - 0.3 * facing);
    return {c, 1.0};
}

Sample Breech(double x, double y) {
    if (!InRoundedBox(x, y, 17.0, 8.6, 22.6, 23.4, 1.6)) return {};
    Color c{86, 96, 112};
    const double top = SmoothStep(10.4, 8.6, y), bottom = SmoothStep(21.6, 23.4, y);
    const double back = SmoothStep(18.4, 17.0, x);
    c = c * (1.0 + 0.55 * top - 0.45 * bottom + 0.25 * back);
    // Two bolt heads holding the barrels.
    for (double by : kBarrelY) {
        const double ex = x - 18.9, ey = y - by;
        if (ex * ex + ey * ey < 0.9) c = Color{200, 206, 214};
    }
    // A small amber status light between the barrels.
    const double lx = x - 20.0, ly = y - kMid;
    if (lx * lx + ly * ly < 1.1) c = Color{255, 190, 60} + Color{40, 40, 0} * SmoothStep(1.1, 0.0, lx * lx + ly * ly);
    return {c, 1.0};
}

Sample Barrels(double x, double y) {
    for (double by : kBarrelY) {
        const double across = y - by;
        if (x >= 21.0 && x <= 30.8 && across >= -1.9 && across <= 1.9) {
            Color c = Cylinder(across / 1.9, Color{150, 160, 178});
            // A dark cooling ring just ahead of the breech.
            if (x > 23.0 && x < 27.0 && dmath::Floor(x) == 24.0) c = c * 0.7;
            return {c, 1.0};
        }
        // The muzzle brake, a little thicker, with a dark bore at the very tip.
        if (x >= 27.6 && x <= 31.0 && across >= -2.3 && across <= 2.3) {
            Color c = Cylinder(across / 2.3, Color{176, 184, 198});
            if (x > 30.2 && across > -0.9 && across < 0.9) c = Color{40, 34, 30};
            return {c, 1.0};
        }
    }
    return {};
}

// Darkens the transparent pixels that border the barrels and breech into an outline,
// so the cannon stands out over the ball and over a light floor.
void Outline(Canvas* canvas, const std::vector<bool>& solid) {
    const int32_t n = kGearSide;
    for (int32_t y = 0; y < n; ++y) {
        for (int32_t x = 0; x < n; ++x) {
            Color& c = canvas->At(x, y);
            if (c.r + c.g + c.b > 0.0) continue;
            bool border = false;
            for (auto [ox, oy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                const int32_t nx = x + ox, ny = y + oy;
                if (nx >= 0 && ny >= 0 && nx < n && ny < n && solid[static_cast<size_t>(ny * n + nx)]) border = true;
            }
            if (border) c = Color{18, 20, 28};
        }
    }
}

// Deep blue where the energy is faint, through cyan to white where it is strongest.
Color ShieldColor(double e) {
    if (e < 0.4) return Lerp(Color{14, 44, 150}, Color{40, 150, 255}, e / 0.4);
    if (e < 0.75) return Lerp(Color{40, 150, 255}, Color{150, 232, 255}, (e - 0.4) / 0.35);
    return Lerp(Color{150, 232, 255}, Color{255, 255, 255}, (e - 0.75) / 0.25);
}

}  // namespace

// The sprite's layers in one function: barrels and breech over the collar, and where the
// collar leaves a gap, a dark rim just outside the gun, as Outline paints it.
Sample CannonAt(double x, double y) {
    const auto gun = [](double gx, double gy) {
        const Sample s = Barrels(gx, gy);
        return s.cover > 0.0 ? s : Breech(gx, gy);
    };
    if (const Sample s = gun(x, y); s.cover > 0.0) return s;
    if (const Sample s = CollarRing(x, y); s.cover > 0.0) return s;
    for (auto [ox, oy] : {std::pair{0.8, 0.0}, {-0.8, 0.0}, {0.0, 0.8}, {0.0, -0.8}})
        if (gun(x + ox, y + oy).cover > 0.0) return {Color{18, 20, 28}, 1.0};
    return {};
}

Image MakeCannon() {
    Canvas cannon(kGearSide, kGearSide);
    PaintSupersampled(&cannon, 0, 0, kGearSide, kGearSide, 4, 0.4, CollarRing);
    Canvas gun(kGearSide, kGearSide);
    PaintSupersampled(&gun, 0, 0, kGearSide, kGearSide, 4, 0.4, Breech);
    PaintSupersampled(&gun, 0, 0, kGearSide, kGearSide, 4, 0.4, Barrels);
    std::vector<bool> solid(gun.pixels.size());
    for (size_t i = 0; i < gun.pixels.size(); ++i) {
        const Color& c = gun.pixels[i];
        solid[i] = c.r + c.g + c.b > 0.0;
        if (solid[i]) cannon.pixels[i] = c;
    }
    Outline(&cannon, solid);
    for (Color& c : cannon.pixels)
        if (c.r + c.g + c.b > 0.0) c = KeepVisible(c, 14.0);
    return ToImage(cannon);
}

// An energy arc hugging the right side of the ball. Level 1 is the fresh flash: thick,
// wide and white-hot; each later level is thinner, shorter and dimmer, down to a faint
// sliver at level 7.
Image MakeShield(int level) {
    const double t = (std::clamp(level, 1, kShieldCount) - 1) / static_cast<double>(kShieldCount - 1);
    const double inner = dmath::Mix(9.0, 10.6, t);
    const double thick = dmath::Mix(5.2, 1.6, t);
    const double halfSpanSin = dmath::Mix(0.985, 0.62, t);  // sine of half the arc's angle
    const double bright = dmath::Mix(1.0, 0.32, t);
    const uint32_t seed = 0x5E1Du + static_cast<uint32_t>(level) * 101u;

    Canvas shield(kGearSide, kGearSide);
    auto shade = [&](double x, double y) -> Sample {
        const double dx = x - kMid, dy = y - kMid;
        const double r = dmath::Sqrt(dx * dx + dy * dy);
        if (dx <= 0.0 || r < inner || r > inner + thick) return {};
        const double across = (r - inner) / thick;  // 0 at the ball, 1 outside
        const double sinA = (dy < 0 ? -dy : dy) / r;
        const double ends = SmoothStep(halfSpanSin, halfSpanSin * 0.55, sinA);
        // Brightest on the inner face, where the blow lands, fading outward.
        const double profile = SmoothStep(0.0, 0.18, across) * SmoothStep(1.0, 0.35, across);
        const double crackle = 0.65 + 0.35 * dmath::Fbm(x / 2.2, y / 2.2, 2, seed);
        const double e = Clamp(1.3 * bright * ends * profile * crackle, 0.0, 1.0);
        if (e < 0.06) return {};
        return {ShieldColor(e) * (0.3 + 0.7 * e), 1.0};
    };
    PaintSupersampled(&shield, 0, 0, kGearSide, kGearSide, 4, 0.35, shade);
    for (Color& c : shield.pixels)
        if (c.r + c.g + c.b > 0.0) c = KeepVisible(c, 24.0);
    return ToImage(shield);
}
