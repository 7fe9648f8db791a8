// The arena floor: worn steel deck plates with bevelled seams, rivets, brushed grain, a
// few vent grates, scratches and grime, a faded painted ring in the middle and a darker
// rim. Mid-dark on purpose: black stains and the additive smoke must both show on it.
// No pixel is black, because black would be transparent.
#include "tools/datagen/art.h"
#include "tools/datagen/paint.h"

namespace {

using dmath::Clamp;
using dmath::SmoothStep;

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;
constexpr int32_t kPlate = 50;  // 16 x 12 plates
constexpr uint32_t kSeed = 0xF100Du;

const Color kSteel{70, 77, 88};
const Color kSeam{26, 29, 35};
const Color kPaint{170, 140, 52};  // worn yellow deck paint

// Light and shade of a plate's edge: the raised plate catches light on its top and left.
double Bevel(int32_t px, int32_t py) {
    if (px == 2 || py == 2) return 0.30;
    if (px == kPlate - 2 || py == kPlate - 2) return -0.30;
    if (px == 3 || py == 3) return 0.12;
    if (px == kPlate - 3 || py == kPlate - 3) return -0.12;
    return 0.0;
}

// A domed rivet 6 pixels in from each plate corner; > 0 lit, < 0 shaded, 0 none.
double Rivet(int32_t px, int32_t py) {
    for (int32_t cy : {6, kPlate - 7}) {
        for (int32_t cx : {6, kPlate - 7}) {
            const double dx = px - cx, dy = py - cy;
            if (dx * dx + dy * dy <= 4.5) return Clamp(0.2 - 0.2 * (dx + dy), -0.35, 0.8);
            const double sx = dx - 1.0, sy = dy - 1.0;
            if (sx * sx + sy * sy <= 4.5) return -0.35;  // the shadow it casts
        }
    }
    return 0.0;
}

// A few plates are ventilation grates, picked by a hash so the pattern looks random.
bool IsVent(int32_t plate) { return dmath::Hash(plate, 1, kSeed) % 100 < 5; }

// Fine bright scratches scuffed into the plates by years of rolling steel.
void AddScratches(Canvas* floor) {
    dmath::Rng rng{0x5C2A7Cull};
    for (int k = 0; k < 90; ++k) {
        const double x0 = rng.Uniform() * kWidth, y0 = rng.Uniform() * kHeight;
        const double angle = rng.Uniform() * 2.0 * dmath::kPi;
        const double length = 8.0 + 30.0 * rng.Uniform();
        const double strength = 0.05 + 0.10 * rng.Uniform();
        const double dx = dmath::Cos(angle), dy = dmath::Sin(angle);
        int32_t lastX = -1, lastY = -1;
        for (double t = 0.0; t < length; t += 0.5) {
            const int32_t x = static_cast<int32_t>(x0 + t * dx), y = static_cast<int32_t>(y0 + t * dy);
            if (x < 0 || y < 0 || x >= kWidth || y >= kHeight || (x == lastX && y == lastY)) continue;
            lastX = x;
            lastY = y;
            const double fade = SmoothStep(0.0, 4.0, t) * SmoothStep(length, length - 6.0, t);
            Color& c = floor->At(x, y);
            c = Lerp(c, Color{200, 208, 220}, strength * fade);
        }
    }
}

// Faded paint: a ring around the centre and a border line, rubbed away in patches.
double PaintAmount(double x, double y) {
    const double dx = x - kWidth / 2.0, dy = y - kHeight / 2.0;
    const double r = dmath::Sqrt(dx * dx + dy * dy);
    const double ring = SmoothStep(4.5, 3.0, (r - 150.0 < 0 ? 150.0 - r : r - 150.0));
    const double inset = 22.0;
    const double ex = x < kWidth - x ? x : kWidth - x;
    const double ey = y < kHeight - y ? y : kHeight - y;
    const double edge = ex < ey ? ex : ey;
    const double border = SmoothStep(3.5, 2.0, (edge - inset < 0 ? inset - edge : edge - inset));
    const double wear = SmoothStep(0.35, 0.6, dmath::Fbm(x / 18.0, y / 18.0, 3, kSeed + 3));
    return Clamp(ring + border, 0.0, 1.0) * wear * 0.55;
}

Color FloorPixel(int32_t x, int32_t y) {
    const int32_t px = x % kPlate, py = y % kPlate;
    const int32_t plate = (y / kPlate) * 16 + x / kPlate;
    // Seams: the two pixel columns and rows between plates.
    if (px < 2 || py < 2) {
        const double n = 0.85 + 0.3 * dmath::ValueNoise(x / 5.0, y / 5.0, kSeed + 9);
        return kSeam * n;
    }
    const double plateTone = 0.9 + 0.2 * (dmath::Hash(plate, 0, kSeed) / 4294967295.0);
    // Brushed grain runs along each plate, alternating direction like laid deck plates.
    const bool across = (plate + plate / 16) % 2 == 0;
    const double gx = across ? x / 60.0 : x / 1.3, gy = across ? y / 1.3 : y / 60.0;
    const double brushed = 0.93 + 0.14 * dmath::ValueNoise(gx, gy, kSeed + 1);
    const double grime = 0.78 + 0.34 * dmath::Fbm(x / 90.0, y / 90.0, 4, kSeed + 2);
    const double grain = 0.96 + 0.08 * (dmath::Hash(x, y, kSeed + 4) / 4294967295.0);
    Color c = kSteel * (plateTone * brushed * grime * grain);
    c = Lerp(c, kPaint * (grime * grain), PaintAmount(x, y));
    if (IsVent(plate) && px >= 9 && px <= kPlate - 10 && py >= 9 && py <= kPlate - 10) {
        // Ventilation slots: dark gaps with a lit lower lip.
        const int32_t phase = (py - 9) % 5;
        if (phase < 2) c = kSeam * (1.15 + 0.2 * grain);
        if (phase == 2) c = Lerp(c, Color{175, 185, 200}, 0.12);
    }
    const double light = Bevel(px, py) + Rivet(px, py);
    c = light >= 0 ? Lerp(c, Color{175, 185, 200}, light * 0.5) : c * (1.0 + light);
    return c;
}

}  // namespace

Image MakeBackground() {
    Canvas floor(kWidth, kHeight);
    for (int32_t y = 0; y < kHeight; ++y) {
        for (int32_t x = 0; x < kWidth; ++x) {
            // A soft vignette pulls the eye to the middle of the arena.
            const double vx = (x + 0.5) / kWidth - 0.5, vy = (y + 0.5) / kHeight - 0.5;
            const double vignette = 1.0 - 0.9 * (vx * vx + vy * vy);
            Color c = FloorPixel(x, y) * vignette;
            floor.At(x, y) = c;
        }
    }
    AddScratches(&floor);
    for (Color& c : floor.pixels) c = KeepVisible(c, 12.0);
    return ToImage(floor);
}
