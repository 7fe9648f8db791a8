// The ball sheet: five 16 x 16 cells to a row. Cell 0 is the player's ball, cells 1 to 3
// the three enemy kinds (chaser, eight-way seeker, axis seeker), and the cell at pixel
// (64, 64) the aim marker. Unused cells stay black.
#include "tools/datagen/art.h"
#include "tools/datagen/paint.h"

namespace {

using dmath::Clamp;
using dmath::SmoothStep;

constexpr double kBallRadius = 7.6;
constexpr double kCentre = kBallCell / 2.0;

// What a ball's surface shows at disc coordinates (u, v), |(u, v)| <= 1, v pointing down:
// the colour of the paint and a self-lit part that shading does not darken.
struct Surface {
    Color paint;
    Color glow;
};

using SurfaceFn = Surface (*)(double u, double v);

// Light from the upper left, a little in front; the viewer looks straight down the z axis.
constexpr double kLx = -0.52, kLy = -0.62, kLz = 0.59;

Sample ShadeBall(double x, double y, SurfaceFn surface) {
    const double u = (x - kCentre) / kBallRadius;
    const double v = (y - kCentre) / kBallRadius;
    const double d2 = u * u + v * v;
    if (d2 > 1.0) return {};
    const double nz = dmath::Sqrt(1.0 - d2);
    const double lambert = Clamp(u * kLx + v * kLy + nz * kLz, 0.0, 1.0);
    // Half vector between the light and the viewer, for the highlight.
    const double hx = kLx, hy = kLy, hz = kLz + 1.0;
    const double hn = dmath::Sqrt(hx * hx + hy * hy + hz * hz);
    const double specular = dmath::PowInt(Clamp((u * hx + v * hy + nz * hz) / hn, 0.0, 1.0), 48);
    // A faint cool bounce light along the lower right rim lifts the ball off the floor.
    const double rim = dmath::PowInt(1.0 - nz, 3) * Clamp(0.4 * (u + v) + 0.3, 0.0, 1.0);
    // The outermost ring darkens into a crisp outline.
    const double edge = SmoothStep(0.80, 1.0, dmath::Sqrt(d2));

    const Surface s = surface(u, v);
    Color c = s.paint * (0.32 + 0.95 * lambert) + Color{70, 80, 110} * rim;
    c = c * (1.0 - 0.45 * edge) + s.glow;
    c = c + Color{255, 255, 255} * (0.85 * specular);
    return {c, 1.0};
}

Surface PlayerSurface(double u, double v) {
    // Glossy deep blue with a glowing cyan core ring, the reactor under the cannon.
    const double r = dmath::Sqrt(u * u + v * v);
    Surface s{{48, 104, 220}, {}};
    const double ring = SmoothStep(0.48, 0.40, r) * SmoothStep(0.20, 0.28, r);
    const double core = SmoothStep(0.20, 0.08, r);
    s.paint = Lerp(s.paint, Color{20, 40, 90}, SmoothStep(0.58, 0.50, r) * (1.0 - ring));
    s.glow = Color{70, 220, 255} * ring + Color{200, 250, 255} * core;
    return s;
}

Surface ChaserSurface(double u, double v) {
    // Red with one staring eye: it comes straight for you.
    const double ex = u, ey = v - 0.02;
    const double er = dmath::Sqrt(ex * ex + ey * ey);
    Surface s{{228, 46, 36}, {}};
    const double white = SmoothStep(0.50, 0.42, er);
    s.paint = Lerp(s.paint, Color{250, 240, 226}, white);
    const double px = ex - 0.06, py = ey - 0.02;
    const double pupil = SmoothStep(0.25, 0.18, dmath::Sqrt(px * px + py * py));
    s.paint = Lerp(s.paint, Color{40, 10, 14}, pupil);
    // A heavy lid over the top of the eye gives it a scowl.
    const double lid = SmoothStep(-0.16, -0.24, ey - 0.30 * ex * ex) * SmoothStep(0.62, 0.50, er);
    s.paint = Lerp(s.paint, Color{120, 14, 16}, lid);
    return s;
}

Surface EightWaySurface(double u, double v) {
    // Green with a pale eight-pointed star: it weighs eight ways to move.
    const double r2 = u * u + v * v;
    Surface s{{70, 200, 64}, {}};
    // cos(4 theta) from the fourth power of (u + iv), without taking an angle.
    const double c4 = r2 > 1e-12 ? (u * u * u * u - 6.0 * u * u * v * v + v * v * v * v) / (r2 * r2) : 1.0;
    // cos(8 theta) = 2 cos^2(4 theta) - 1, so c4 squared peaks at all eight points.
    const double arms = c4 * c4;
    const double reach = 0.24 + 0.6 * dmath::PowInt(arms, 2);
    const double star = SmoothStep(reach + 0.05, reach - 0.05, dmath::Sqrt(r2));
    s.paint = Lerp(s.paint, Color{250, 255, 170}, star);
    const double hub = SmoothStep(0.16, 0.10, dmath::Sqrt(r2));
    s.paint = Lerp(s.paint, Color{40, 120, 36}, hub);
    return s;
}

Surface AxisSurface(double u, double v) {
    // Yellow with a dark plus: it steers one axis at a time.
    const double r = dmath::Sqrt(u * u + v * v);
    Surface s{{244, 226, 44}, {}};
    const double bar = 0.12;
    const double plus = (SmoothStep(bar + 0.05, bar - 0.03, u < 0 ? -u : u) +
                         SmoothStep(bar + 0.05, bar - 0.03, v < 0 ? -v : v));
    const double mark = Clamp(plus, 0.0, 1.0) * SmoothStep(0.86, 0.76, r);
    s.paint = Lerp(s.paint, Color{110, 60, 10}, mark);
    const double stud = SmoothStep(0.14, 0.08, r);
    s.paint = Lerp(s.paint, Color{255, 246, 190}, stud);
    return s;
}

void PaintBall(Canvas* sheet, int32_t cell, SurfaceFn surface) {
    const int32_t x0 = (cell % 5) * kBallCell;
    const int32_t y0 = (cell / 5) * kBallCell;
    PaintSupersampled(sheet, x0, y0, kBallCell, kBallCell, 5, 0.3,
                      [surface](double x, double y) { return ShadeBall(x, y, surface); });
    for (int32_t y = y0; y < y0 + kBallCell; ++y)
        for (int32_t x = x0; x < x0 + kBallCell; ++x)
            if (sheet->At(x, y).r + sheet->At(x, y).g + sheet->At(x, y).b > 0.0)
                sheet->At(x, y) = KeepVisible(sheet->At(x, y), 14.0);
}

// A crisp cross-hair of one-pixel lines: a ring, four ticks crossing it and a centre dot,
// edged in a dark rim so it reads on light and dark ground alike. No smoothing: it is
// meant to look sharp. One-pixel lines cannot straddle the cell's middle, so the
// cross-hair centres on pixel (7, 7), half a pixel off, which no one can see.
void PaintAimMarker(Canvas* sheet) {
    constexpr int32_t kMid = 7;
    bool lit[kBallCell][kBallCell] = {};
    for (int32_t y = 0; y < kBallCell; ++y) {
        for (int32_t x = 0; x < kBallCell; ++x) {
            const int32_t dx = x - kMid, dy = y - kMid;
            const double r = dmath::Sqrt(static_cast<double>(dx * dx + dy * dy));
            const bool ring = r >= 4.5 && r < 5.5;
            const bool tick = (dx == 0 || dy == 0) && r >= 2.5 && r < 7.5;
            lit[y][x] = ring || tick || (dx == 0 && dy == 0);
        }
    }
    for (int32_t y = 0; y < kBallCell; ++y) {
        for (int32_t x = 0; x < kBallCell; ++x) {
            Color& dst = sheet->At(kAimMarkerX + x, kAimMarkerY + y);
            if (lit[y][x]) {
                dst = Color{170, 255, 130};
                continue;
            }
            bool nearLit = false;
            for (int32_t oy = -1; oy <= 1; ++oy)
                for (int32_t ox = -1; ox <= 1; ++ox) {
                    const int32_t nx = x + ox, ny = y + oy;
                    if ((ox == 0) != (oy == 0) && nx >= 0 && ny >= 0 && nx < kBallCell && ny < kBallCell)
                        nearLit = nearLit || lit[ny][nx];
                }
            if (nearLit) dst = Color{14, 58, 18};
        }
    }
}

}  // namespace

Sample PlayerBallAt(double x, double y) { return ShadeBall(x, y, PlayerSurface); }

Image MakeBallSheet() {
    Canvas sheet(kBallSheetSide, kBallSheetSide);
    PaintBall(&sheet, 0, PlayerSurface);
    PaintBall(&sheet, 1, ChaserSurface);
    PaintBall(&sheet, 2, EightWaySurface);
    PaintBall(&sheet, 3, AxisSurface);
    PaintAimMarker(&sheet);
    return ToImage(sheet);
}
