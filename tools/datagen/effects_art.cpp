// The small effect pictures: the shot, the smoke puff and the stain.
#include "tools/datagen/art.h"
#include "tools/datagen/paint.h"

using dmath::SmoothStep;

// Every pixel of the shot is lit, since its whole rectangle is the hit box: a white-hot
// core with a yellow and orange rim.
Image MakeShot() {
    static constexpr uint32_t kBolt[4][4] = {
        {0xE07A1C, 0xFFC23A, 0xFFC23A, 0xE07A1C},
        {0xFFC23A, 0xFFFDE8, 0xFFF6B0, 0xFFC23A},
        {0xFFC23A, 0xFFF6B0, 0xFFFDE8, 0xFFC23A},
        {0xE07A1C, 0xFFC23A, 0xFFC23A, 0xE07A1C},
    };
    Image shot{4, 4, {}};
    for (const auto& row : kBolt)
        for (uint32_t c : row) shot.pixels.push_back(c);
    return shot;
}

// A soft, lumpy cloud. The game adds it to the screen, up to dozens of puffs on top of
// one another, so it stays dark: a single puff peaks below a tenth of white, and only
// where many pile up does the burst glow, warm at its heart like the fire under it.
Image MakeSmoke() {
    Canvas smoke(kGearSide, kGearSide);
    constexpr uint32_t kSeed = 0x5A0C3u;
    const double c = kGearSide / 2.0;
    for (int32_t y = 0; y < kGearSide; ++y) {
        for (int32_t x = 0; x < kGearSide; ++x) {
            const double dx = (x + 0.5 - c) / 15.0, dy = (y + 0.5 - c) / 15.0;
            const double r = dmath::Sqrt(dx * dx + dy * dy);
            const double lumps = dmath::Fbm(x / 7.0, y / 7.0, 3, kSeed);
            const double body = SmoothStep(1.0, 0.1, r + 0.45 * (lumps - 0.5));
            const double grain = 0.75 + 0.25 * dmath::Fbm(x / 3.0, y / 3.0, 2, kSeed + 11);
            const double g = 20.0 * body * body * grain;
            if (g < 1.5) continue;  // leave the rim transparent rather than a haze of ones
            smoke.At(x, y) = Color{g * 1.12, g, g * 0.84};
        }
    }
    return ToImage(smoke);
}

// An irregular splat: a lobed blob with a few flung drops, all kept inside the
// 16-pixel circle so that no turn of the picture cuts it off.
Image MakeStain() {
    constexpr int32_t kSide = 16;
    Canvas stain(kSide, kSide);
    dmath::Rng rng{0xF1ECC0DEull};
    struct Drop {
        double x, y, r;
    };
    Drop drops[6];
    for (Drop& d : drops) {
        const double a = rng.Uniform() * 2.0 * dmath::kPi;
        const double dist = 5.0 + 1.8 * rng.Uniform();
        d = {8.0 + dist * dmath::Cos(a), 8.0 + dist * dmath::Sin(a), 0.7 + 0.7 * rng.Uniform()};
    }
    constexpr uint32_t kSeed = 0xF1ECu;
    auto shade = [&](double x, double y) -> Sample {
        const double dx = x - 8.0, dy = y - 8.0;
        const double r = dmath::Sqrt(dx * dx + dy * dy);
        const double wobble = 1.6 * (dmath::Fbm(x / 3.5, y / 3.5, 2, kSeed) - 0.5);
        double inside = r < 4.4 + wobble * 2.0 ? 1.0 : 0.0;
        for (const Drop& d : drops) {
            const double ex = x - d.x, ey = y - d.y;
            if (ex * ex + ey * ey < d.r * d.r) inside = 1.0;
        }
        if (r > 7.4) inside = 0.0;
        const double tone = 0.7 + 0.3 * dmath::Fbm(x / 2.0, y / 2.0, 2, kSeed + 5);
        return {Color{150, 30, 24} * tone, inside};
    };
    PaintSupersampled(&stain, 0, 0, kSide, kSide, 4, 0.45, shade);
    for (Color& c : stain.pixels)
        if (c.r > 0.0) c = KeepVisible(c, 60.0);
    return ToImage(stain);
}
