// The generated pictures, read back with the game's own bitmap reader: sizes, content
// where the game draws, transparency where it must not, and the look each picture needs
// in play (dark additive smoke, a mid-dark floor, fading shields).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "data_test_support.h"
#include "media/bmp_reader.h"

namespace {

Picture Load(const std::string& name) {
    const std::vector<uint8_t> bytes = ReadWholeFile(DataPath(name));
    const BitmapResult result = ReadBitmap(bytes);
    EXPECT_TRUE(result.ok) << name << ": " << result.error;
    return result.picture;
}

int32_t Red(uint32_t c) { return (c >> 16) & 0xFF; }
int32_t Green(uint32_t c) { return (c >> 8) & 0xFF; }
int32_t Blue(uint32_t c) { return c & 0xFF; }
int32_t Brightest(uint32_t c) { return std::max({Red(c), Green(c), Blue(c)}); }
double Luma(uint32_t c) { return 0.299 * Red(c) + 0.587 * Green(c) + 0.114 * Blue(c); }

int32_t CountLit(const Picture& p, int32_t x0, int32_t y0, int32_t w, int32_t h) {
    int32_t n = 0;
    for (int32_t y = y0; y < y0 + h; ++y)
        for (int32_t x = x0; x < x0 + w; ++x) n += p.At(x, y) != 0;
    return n;
}

struct Mean {
    double r = 0, g = 0, b = 0;
};

Mean MeanLit(const Picture& p, int32_t x0, int32_t y0, int32_t w, int32_t h) {
    Mean m;
    int32_t n = 0;
    for (int32_t y = y0; y < y0 + h; ++y)
        for (int32_t x = x0; x < x0 + w; ++x)
            if (const uint32_t c = p.At(x, y)) {
                m.r += Red(c);
                m.g += Green(c);
                m.b += Blue(c);
                ++n;
            }
    if (n) m = {m.r / n, m.g / n, m.b / n};
    return m;
}

double Distance(Mean a, Mean b) {
    return std::sqrt((a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) + (a.b - b.b) * (a.b - b.b));
}

}  // namespace

TEST(GeneratedPictures, HaveTheSizesTheGameAssumes) {
    const std::map<std::string, std::pair<int32_t, int32_t>> sizes = {
        {"Background.bmp", {800, 600}}, {"kugeln.bmp", {80, 80}},  {"shoot.bmp", {4, 4}},
        {"rauch.bmp", {32, 32}},        {"Fleck.bmp", {16, 16}},   {"kanone2.bmp", {32, 32}},
        {"Shild1.bmp", {32, 32}},       {"Shild2.bmp", {32, 32}},  {"Shild3.bmp", {32, 32}},
        {"Shild4.bmp", {32, 32}},       {"Shild5.bmp", {32, 32}},  {"Shild6.bmp", {32, 32}},
        {"Shild7.bmp", {32, 32}}};
    for (const auto& [name, size] : sizes) {
        const Picture p = Load(name);
        EXPECT_EQ(p.width, size.first) << name;
        EXPECT_EQ(p.height, size.second) << name;
        EXPECT_EQ(p.pixels.size(), static_cast<size_t>(size.first) * size.second) << name;
    }
}

TEST(GeneratedPictures, AreUncompressed24BitBitmaps) {
    for (const std::string& name : GameDataNames()) {
        if (name.ends_with(".wav")) continue;
        const std::vector<uint8_t> b = ReadWholeFile(DataPath(name));
        ASSERT_GE(b.size(), 54u) << name;
        EXPECT_EQ(b[0], 'B') << name;
        EXPECT_EQ(b[1], 'M') << name;
        EXPECT_EQ(b[28] | (b[29] << 8), 24) << name << ": bits per pixel";
        EXPECT_EQ(b[30] | b[31] | b[32] | b[33], 0) << name << ": compression";
    }
}

TEST(BallSheet, PlayerAndEnemyCellsHoldRoundBallsWithBlackCorners) {
    const Picture sheet = Load("kugeln.bmp");
    ASSERT_EQ(sheet.width, 80);
    for (int32_t cell = 0; cell < 4; ++cell) {
        const int32_t x0 = cell * 16;
        // A ball of the cell's full width covers most of the cell but not its corners.
        const int32_t lit = CountLit(sheet, x0, 0, 16, 16);
        EXPECT_GT(lit, 150) << "cell " << cell;
        EXPECT_LT(lit, 220) << "cell " << cell;
        for (auto [cx, cy] : {std::pair{0, 0}, {14, 0}, {0, 14}, {14, 14}})
            EXPECT_EQ(CountLit(sheet, x0 + cx, cy, 2, 2), 0) << "corner " << cx << "," << cy << " of cell " << cell;
        for (int32_t y = 6; y < 10; ++y)
            for (int32_t x = 6; x < 10; ++x) EXPECT_NE(sheet.At(x0 + x, y), 0u) << "hole in cell " << cell;
        // Reaches its cell's edges in the middle, so the 16-pixel hit box fits the ball.
        EXPECT_NE(sheet.At(x0 + 0, 8), 0u) << "cell " << cell;
        EXPECT_NE(sheet.At(x0 + 15, 8), 0u) << "cell " << cell;
        EXPECT_NE(sheet.At(x0 + 8, 0), 0u) << "cell " << cell;
        EXPECT_NE(sheet.At(x0 + 8, 15), 0u) << "cell " << cell;
    }
}

TEST(BallSheet, PlayerAndEnemyKindsDifferClearlyInColour) {
    const Picture sheet = Load("kugeln.bmp");
    Mean cells[4];
    for (int32_t cell = 0; cell < 4; ++cell) cells[cell] = MeanLit(sheet, cell * 16, 0, 16, 16);
    for (int32_t a = 0; a < 4; ++a)
        for (int32_t b = a + 1; b < 4; ++b)
            EXPECT_GT(Distance(cells[a], cells[b]), 60.0) << "cells " << a << " and " << b << " look alike";
}

TEST(BallSheet, EnemyBallsCarryAMarking) {
    // A plain shaded ball changes smoothly; a marking puts strong contrast near the middle.
    const Picture sheet = Load("kugeln.bmp");
    for (int32_t cell = 1; cell < 4; ++cell) {
        double lo = 255, hi = 0;
        for (int32_t y = 5; y < 11; ++y)
            for (int32_t x = 5; x < 11; ++x) {
                lo = std::min(lo, Luma(sheet.At(cell * 16 + x, y)));
                hi = std::max(hi, Luma(sheet.At(cell * 16 + x, y)));
            }
        EXPECT_GT(hi - lo, 60.0) << "cell " << cell;
    }
}

TEST(BallSheet, AimMarkerIsAThinCrossHairAtPixel64_64) {
    const Picture sheet = Load("kugeln.bmp");
    const int32_t lit = CountLit(sheet, 64, 64, 16, 16);
    EXPECT_GT(lit, 20);
    EXPECT_LT(lit, 150) << "a cross-hair, not a filled ball";
    // Lines run out from the middle in all four directions.
    auto litIn = [&](int32_t x0, int32_t y0, int32_t w, int32_t h) { return CountLit(sheet, 64 + x0, 64 + y0, w, h); };
    EXPECT_GT(litIn(6, 0, 4, 3), 0) << "up";
    EXPECT_GT(litIn(6, 13, 4, 3), 0) << "down";
    EXPECT_GT(litIn(0, 6, 3, 4), 0) << "left";
    EXPECT_GT(litIn(13, 6, 3, 4), 0) << "right";
    EXPECT_GT(litIn(6, 6, 4, 4), 0) << "middle";
    // The neighbouring cells stay clear, so a clip one cell off would show nothing.
    EXPECT_EQ(CountLit(sheet, 48, 64, 16, 16), 0);
    EXPECT_EQ(CountLit(sheet, 64, 48, 16, 16), 0);
    // Bright lines: the marker must stand out on the floor.
    int32_t brightest = 0;
    for (int32_t y = 64; y < 80; ++y)
        for (int32_t x = 64; x < 80; ++x) brightest = std::max(brightest, Brightest(sheet.At(x, y)));
    EXPECT_GE(brightest, 200);
}

TEST(Shot, EveryPixelOfTheHitBoxIsLit) {
    const Picture shot = Load("shoot.bmp");
    ASSERT_EQ(shot.pixels.size(), 16u);
    for (uint32_t c : shot.pixels) {
        EXPECT_NE(c, 0u);
        EXPECT_GE(Brightest(c), 180) << "a bright bolt";
    }
}

TEST(Smoke, IsASoftDarkGreyCloud) {
    const Picture smoke = Load("rauch.bmp");
    ASSERT_EQ(smoke.width, 32);
    EXPECT_GT(CountLit(smoke, 0, 0, 32, 32), 300) << "a cloud, not a speck";
    EXPECT_NE(smoke.At(16, 16), 0u);
    EXPECT_EQ(CountLit(smoke, 0, 0, 3, 3) + CountLit(smoke, 29, 0, 3, 3) + CountLit(smoke, 0, 29, 3, 3) +
                  CountLit(smoke, 29, 29, 3, 3),
              0)
        << "round: the corners are clear";
    for (uint32_t c : smoke.pixels) {
        // Added to the screen many times over, so every puff must stay dark and grey.
        EXPECT_LE(Brightest(c), 48);
        EXPECT_LE(std::abs(Red(c) - Blue(c)), 8);
    }
    // Denser in the middle than at the rim.
    EXPECT_GT(Luma(smoke.At(16, 16)), Luma(smoke.At(16, 4)));
}

TEST(Stain, IsAnIrregularSplatThatSurvivesAnyTurn) {
    const Picture stain = Load("Fleck.bmp");
    ASSERT_EQ(stain.width, 16);
    const int32_t lit = CountLit(stain, 0, 0, 16, 16);
    EXPECT_GT(lit, 40);
    EXPECT_LT(lit, 190) << "a splat, not a filled square";
    EXPECT_NE(stain.At(8, 8), 0u);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x)
            if (stain.At(x, y)) {
                const double dx = x + 0.5 - 8.0, dy = y + 0.5 - 8.0;
                EXPECT_LE(dx * dx + dy * dy, 64.0) << "pixel " << x << "," << y << " would be cut off when turned";
            }
}

TEST(Cannon, TwinBarrelsPointRightFourPixelsEitherSideOfTheCentreLine) {
    const Picture gun = Load("kanone2.bmp");
    ASSERT_EQ(gun.width, 32);
    // The shots leave 4 pixels above and below the ball's centre (y = 16 in this picture).
    for (int32_t x = 24; x <= 29; ++x)
        for (int32_t y : {11, 12, 19, 20}) EXPECT_NE(gun.At(x, y), 0u) << "barrel at " << x << "," << y;
    // Beyond the ball's rim the floor shows between the two barrels.
    for (int32_t x = 26; x <= 31; ++x)
        for (int32_t y : {15, 16}) EXPECT_EQ(gun.At(x, y), 0u) << "gap between the barrels at " << x << "," << y;
    // Pointing right: the barrels reach the right edge and nothing of them lies on the left.
    EXPECT_GT(CountLit(gun, 28, 8, 4, 16), 8);
    EXPECT_EQ(CountLit(gun, 0, 10, 6, 12), 0);
    // Bright metal, not a shadow.
    EXPECT_GE(Brightest(gun.At(26, 11)) + Brightest(gun.At(26, 19)), 200);
}

TEST(Cannon, IsMirrorSymmetricAcrossItsCentreLineAndLeavesTheBallsMiddleClear) {
    const Picture gun = Load("kanone2.bmp");
    ASSERT_EQ(gun.height, 32);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 32; ++x)
            EXPECT_EQ(gun.At(x, y) != 0, gun.At(x, 31 - y) != 0) << "at " << x << "," << y;
    for (int32_t y = 14; y < 18; ++y)
        for (int32_t x = 12; x < 16; ++x) EXPECT_EQ(gun.At(x, y), 0u) << "the ball shows through at " << x << "," << y;
}

TEST(Shields, AreArcsOnTheRightAroundTheBall) {
    for (int level = 1; level <= 7; ++level) {
        const Picture shield = Load("Shild" + std::to_string(level) + ".bmp");
        ASSERT_EQ(shield.width, 32) << level;
        EXPECT_GT(CountLit(shield, 24, 0, 8, 32), 0) << "level " << level << " shows nothing on the right";
        EXPECT_EQ(CountLit(shield, 0, 0, 16, 32), 0) << "level " << level << " reaches the left half";
        for (int32_t y = 0; y < 32; ++y)
            for (int32_t x = 0; x < 32; ++x) {
                const double dx = x + 0.5 - 16.0, dy = y + 0.5 - 16.0;
                if (dx * dx + dy * dy < 7.5 * 7.5) {
                    EXPECT_EQ(shield.At(x, y), 0u) << "level " << level << " covers the ball";
                }
            }
        // Centred on the heading: as much above the middle as below.
        EXPECT_NEAR(CountLit(shield, 16, 0, 16, 16), CountLit(shield, 16, 16, 16, 16), 4) << level;
    }
}

TEST(Shields, FadeFromBrightAndFullToFaintAndThin) {
    double previousLight = 1e18;
    int32_t previousLit = 1 << 20;
    int32_t firstPeak = 0, lastPeak = 0;
    for (int level = 1; level <= 7; ++level) {
        const Picture shield = Load("Shild" + std::to_string(level) + ".bmp");
        double light = 0;
        int32_t peak = 0;
        for (uint32_t c : shield.pixels) {
            light += Luma(c);
            peak = std::max(peak, Brightest(c));
        }
        const int32_t lit = CountLit(shield, 0, 0, 32, 32);
        EXPECT_LT(light, previousLight) << "level " << level << " is not dimmer than the one before";
        EXPECT_LT(lit, previousLit) << "level " << level << " is not thinner than the one before";
        previousLight = light;
        previousLit = lit;
        if (level == 1) firstPeak = peak;
        if (level == 7) lastPeak = peak;
    }
    EXPECT_GE(firstPeak, 230) << "the fresh flash is white-hot";
    EXPECT_LE(lastPeak, 160) << "the last one is faint";
}

TEST(Background, IsATexturedMidDarkFloorWithoutBlack) {
    const Picture floor = Load("Background.bmp");
    ASSERT_EQ(floor.pixels.size(), 800u * 600u);
    double sum = 0, sumSq = 0;
    int32_t black = 0;
    for (uint32_t c : floor.pixels) {
        black += c == 0;
        const double l = Luma(c);
        sum += l;
        sumSq += l * l;
    }
    EXPECT_EQ(black, 0) << "black would be transparent and look like a stain";
    const double n = static_cast<double>(floor.pixels.size());
    const double mean = sum / n;
    const double spread = std::sqrt(sumSq / n - mean * mean);
    EXPECT_GT(mean, 35.0) << "too dark for the black stains to show";
    EXPECT_LT(mean, 110.0) << "too light for the added smoke to show";
    EXPECT_GT(spread, 5.0) << "a flat colour, not a texture";
    // Darker toward the rim than in the middle.
    EXPECT_LT(MeanLit(floor, 0, 0, 60, 60).g, MeanLit(floor, 370, 270, 60, 60).g);
}
