#include "tools/datagen/contact_sheet.h"

#include <algorithm>

#include "tools/datagen/art.h"
#include "tools/datagen/dmath.h"

namespace {

constexpr int32_t kGap = 16;
constexpr uint32_t kSheetColor = 0x2A2A30;
constexpr uint32_t kFrameColor = 0x6A6A78;

const Image& Find(const std::vector<NamedPicture>& pictures, const std::string& name) {
    for (const NamedPicture& p : pictures)
        if (p.name == name) return p.image;
    static const Image empty;
    return empty;
}

void Put(Image* dst, int32_t x, int32_t y, uint32_t c) {
    if (x >= 0 && y >= 0 && x < dst->width && y < dst->height) dst->pixels[static_cast<size_t>(y) * dst->width + x] = c;
}

uint32_t Get(const Image& img, int32_t x, int32_t y) { return img.pixels[static_cast<size_t>(y) * img.width + x]; }

// Copies src enlarged scale times with a one-pixel frame around it; black shows as black.
void Tile(Image* dst, const Image& src, int32_t x0, int32_t y0, int32_t scale) {
    for (int32_t y = -1; y <= src.height * scale; ++y)
        for (int32_t x = -1; x <= src.width * scale; ++x) {
            const bool frame = x < 0 || y < 0 || x == src.width * scale || y == src.height * scale;
            Put(dst, x0 + x, y0 + y, frame ? kFrameColor : Get(src, x / scale, y / scale));
        }
}

// Halves a picture by averaging each 2 x 2 block.
Image Half(const Image& src) {
    Image out{src.width / 2, src.height / 2, {}};
    for (int32_t y = 0; y < out.height; ++y)
        for (int32_t x = 0; x < out.width; ++x) {
            uint32_t r = 0, g = 0, b = 0;
            for (int32_t k = 0; k < 4; ++k) {
                const uint32_t c = Get(src, 2 * x + k % 2, 2 * y + k / 2);
                r += (c >> 16) & 0xFF;
                g += (c >> 8) & 0xFF;
                b += c & 0xFF;
            }
            out.pixels.push_back(((r / 4) << 16) | ((g / 4) << 8) | (b / 4));
        }
    return out;
}

enum class Blend { Keyed, Black, Add, Alpha };

// Draws the (sx, sy, w, h) part of src at (x, y) of dst, stretched to dw x dh, the way
// the game combines that kind of picture with the screen. Black texels are never drawn.
void Draw(Image* dst, const Image& src, int32_t sx, int32_t sy, int32_t w, int32_t h, int32_t x, int32_t y,
          int32_t dw, int32_t dh, Blend blend, int32_t alpha = 255) {
    for (int32_t j = 0; j < dh; ++j)
        for (int32_t i = 0; i < dw; ++i) {
            const int32_t tx = x + i, ty = y + j;
            if (tx < 0 || ty < 0 || tx >= dst->width || ty >= dst->height) continue;
            const uint32_t s = Get(src, sx + i * w / dw, sy + j * h / dh);
            if (s == 0) continue;
            uint32_t& d = dst->pixels[static_cast<size_t>(ty) * dst->width + tx];
            uint32_t out = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                const int32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
                int32_t v = sc;
                if (blend == Blend::Black) v = 0;
                if (blend == Blend::Add) v = std::min(255, sc + dc);
                if (blend == Blend::Alpha) v = (sc * alpha + dc * (255 - alpha)) / 255;
                out |= static_cast<uint32_t>(v) << shift;
            }
            d = out;
        }
}

// The puffs of one destroyed enemy a few frames after the hit, by the game's own rules
// for clouds and puffs (positions in tenths of a pixel).
void DrawSmokeBurst(Image* scene, const Image& smoke, int32_t cx, int32_t cy, int32_t frames, uint64_t seed) {
    struct Body {
        int32_t x, y, vx, vy, life;
    };
    dmath::Rng rng{seed};
    auto random = [&rng](int32_t n) { return rng.Below(n + 1); };
    std::vector<Body> clouds, puffs;
    for (int k = 0; k < 4; ++k) clouds.push_back({cx * 10, cy * 10, random(20) - 10, random(20) - 10, 32});
    for (int32_t f = 0; f < frames; ++f) {
        for (Body& c : clouds) {
            if (c.life == 0) continue;
            c.life -= 1;
            c.x += c.vx;
            c.y += c.vy;
            Body p{c.x + random(40) + 20, c.y + random(40) + 20, 0, 0, 0};
            p.vx = -(c.vx * (random(2) + 8)) / 10;
            p.vy = -(c.vy * (random(2) + 8)) / 10;
            p.life = (c.life * (random(2) + 8)) / 10;
            puffs.push_back(p);
        }
        for (Body& p : puffs) {
            if (p.life == 0) continue;
            p.life -= 1;
            p.x += p.vx;
            p.y += p.vy;
        }
    }
    for (const Body& p : puffs)
        if (p.life > 0)
            Draw(scene, smoke, 0, 0, smoke.width, smoke.height, p.x / 10 - p.life + 16, p.y / 10 - p.life + 16,
                 p.life, p.life, Blend::Add);
}

// A corner of the arena with everything on it, at the game's own scale.
Image Scene(const std::vector<NamedPicture>& pictures) {
    const Image& floor = Find(pictures, "Background.bmp");
    const Image& balls = Find(pictures, "kugeln.bmp");
    Image scene{200, 160, {}};
    for (int32_t y = 0; y < scene.height; ++y)
        for (int32_t x = 0; x < scene.width; ++x) scene.pixels.push_back(Get(floor, 300 + x, 220 + y));

    const Image& stain = Find(pictures, "Fleck.bmp");
    for (auto [x, y] : {std::pair{20, 24}, {150, 30}, {60, 120}, {168, 130}})
        Draw(&scene, stain, 0, 0, 16, 16, x, y, 16, 16, Blend::Black);
    const int32_t enemies[][3] = {{1, 40, 60}, {2, 140, 80}, {3, 110, 20}, {1, 30, 130}, {3, 150, 120}};
    for (const auto& e : enemies) Draw(&scene, balls, e[0] * 16, 0, 16, 16, e[1], e[2], 16, 16, Blend::Keyed);
    const Image& shot = Find(pictures, "shoot.bmp");
    Draw(&scene, shot, 0, 0, 4, 4, 118, 72, 4, 4, Blend::Keyed);
    Draw(&scene, shot, 0, 0, 4, 4, 142, 80, 4, 4, Blend::Keyed);
    DrawSmokeBurst(&scene, Find(pictures, "rauch.bmp"), 150, 22, 6, 7);
    DrawSmokeBurst(&scene, Find(pictures, "rauch.bmp"), 40, 92, 16, 8);
    // The player at heading 0: ball, aim marker 50 pixels ahead, cannon and a fresh flash.
    const int32_t px = 84, py = 72;
    Draw(&scene, balls, 0, 0, 16, 16, px, py, 16, 16, Blend::Keyed);
    Draw(&scene, balls, kAimMarkerX, kAimMarkerY, 16, 16, px + 50, py, 16, 16, Blend::Keyed);
    Draw(&scene, Find(pictures, "kanone2.bmp"), 0, 0, 32, 32, px - 8, py - 8, 32, 32, Blend::Keyed);
    Draw(&scene, Find(pictures, "Shild1.bmp"), 0, 0, 32, 32, px - 8, py - 8, 32, 32, Blend::Alpha, 132);
    return scene;
}

}  // namespace

Image MakeContactSheet(const std::vector<NamedPicture>& pictures) {
    const Image background = Half(Find(pictures, "Background.bmp"));
    const Image scene = Scene(pictures);
    constexpr int32_t kWidth = kGap + 400 + kGap + 320 + kGap + 400 + kGap;
    constexpr int32_t kHeight = kGap + 320 + kGap + 128 + kGap + 128 + kGap;
    Image sheet{kWidth, kHeight, std::vector<uint32_t>(static_cast<size_t>(kWidth) * kHeight, kSheetColor)};

    // First row: the floor halved, the ball sheet and the scene, both enlarged.
    Tile(&sheet, background, kGap, kGap, 1);
    Tile(&sheet, Find(pictures, "kugeln.bmp"), kGap + 400 + kGap, kGap, 4);
    Tile(&sheet, scene, kGap + 400 + kGap + 320 + kGap, kGap, 2);

    // Second row: shot, smoke, stain and cannon; third row: the seven shields.
    int32_t x = kGap;
    const int32_t row2 = kGap + 320 + kGap;
    for (auto [name, scale] : {std::pair{"shoot.bmp", 8}, {"rauch.bmp", 4}, {"Fleck.bmp", 4}, {"kanone2.bmp", 4}}) {
        const Image& img = Find(pictures, name);
        Tile(&sheet, img, x, row2, scale);
        x += img.width * scale + kGap;
    }
    const int32_t row3 = row2 + 128 + kGap;
    for (int level = 1; level <= kShieldCount; ++level)
        Tile(&sheet, Find(pictures, "Shild" + std::to_string(level) + ".bmp"), kGap + (level - 1) * (128 + kGap), row3, 4);
    return sheet;
}
