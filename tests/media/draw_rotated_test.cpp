// Rotated translucent sprites: turns at the quarter angles on an asymmetric picture,
// zoom, alpha, the blend factors, batches, and the rasterizer's coverage.
#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "tests/media/draw_fixture.h"

using namespace drawtest;

namespace {

constexpr uint32_t kGround = 0x204060;
constexpr int32_t kSlot = 7;

// An 8 x 8 picture with a different, non-black colour in every pixel.
uint32_t Texel(int x, int y) { return 0x400000u | static_cast<uint32_t>(x) << 12 | static_cast<uint32_t>(y) << 4 | 8u; }

class RotatedTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        std::vector<uint32_t> p;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) p.push_back(Texel(x, y));
        Make(kSlot, 8, 8, p);
        FillScreen(kGround);
    }
    void Make(int32_t slot, int32_t w, int32_t h, const std::vector<uint32_t>& rgb) {
        ASSERT_NE(LoadPicture(slot, w, h, rgb, kSpriteFlagTexture), 0);
        ASSERT_NE(RotatedSpriteCreate(slot, slot), 0);
    }
    void MakeFlat(int32_t slot, uint32_t colour) { Make(slot, 2, 2, std::vector<uint32_t>(4, colour)); }
    // One batch with the given factors (0: the defaults) drawing one sprite.
    void DrawOne(int32_t slot, int32_t x, int32_t y, int32_t alpha, int32_t src = 0, int32_t dst = 0) {
        ASSERT_EQ(RotatedBegin(), 1);
        if (src) RotatedBlendMode(src, dst);
        RotatedSpriteDraw(slot, x, y, alpha);
        RotatedEnd();
    }
    // Only the square of `size` at (x, y) changed, showing map(i, j) at (x + i, y + j).
    template <class Map>
    void ExpectSquare(int32_t x, int32_t y, int32_t size, Map map) {
        EXPECT_EQ(ChangedBox(kGround), (Box{x, y, size, size}));
        for (int j = 0; j < size; ++j)
            for (int i = 0; i < size; ++i) ASSERT_EQ(ScreenAt(x + i, y + j), map(i, j)) << i << "," << j;
    }
};

}  // namespace

TEST_F(RotatedTest, QuarterAnglesTurnThePictureClockwise) {
    DrawOne(kSlot, 200, 150, 255);  // as created: unturned
    ExpectSquare(200, 150, 8, [](int i, int j) { return Texel(i, j); });
    // Angle 0 shows the file's top-left pixel in the top-right corner; each 90 degrees
    // turns a quarter further, 270 showing the file's orientation again.
    using Map = uint32_t (*)(int, int);
    const std::pair<int, Map> turns[] = {
        {0, [](int i, int j) { return Texel(j, 7 - i); }},
        {90, [](int i, int j) { return Texel(7 - i, 7 - j); }},
        {180, [](int i, int j) { return Texel(7 - j, i); }},
        {270, [](int i, int j) { return Texel(i, j); }},
    };
    for (auto [angle, map] : turns) {
        SCOPED_TRACE(angle);
        FillScreen(kGround);
        RotatedSpriteRotate(kSlot, angle, 0);
        DrawOne(kSlot, 200, 150, 255);
        ExpectSquare(200, 150, 8, map);
    }
}

TEST_F(RotatedTest, ThirtyTwoSquareCoversExactlyItsSquare) {
    std::vector<uint32_t> white(32 * 32, 0xFFFFFF);
    white[0] = 0xFF0000;  // the top-left pixel
    Make(3, 32, 32, white);
    RotatedSpriteRotate(3, 0, 0);
    DrawOne(3, 100, 100, 255);
    EXPECT_EQ(ChangedBox(kGround), (Box{100, 100, 32, 32}));
    EXPECT_EQ(CountNot(kGround), 32 * 32);
    EXPECT_EQ(ScreenAt(131, 100), 0xFF0000u);
}

TEST_F(RotatedTest, ZoomUndoesTheTurnAndLaterTurnsUseTheNewSize) {
    RotatedSpriteRotate(kSlot, 90, 0);
    RotatedSpriteZoom(kSlot, 16, 8);
    DrawOne(kSlot, 40, 30, 255);
    EXPECT_EQ(ChangedBox(kGround), (Box{40, 30, 16, 8}));
    for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 16; ++i) ASSERT_EQ(ScreenAt(40 + i, 30 + j), Texel(i / 2, j)) << i << "," << j;
    FillScreen(kGround);
    RotatedSpriteZoom(kSlot, 16, 16);
    RotatedSpriteRotate(kSlot, 270, 0);
    DrawOne(kSlot, 300, 300, 255);
    ExpectSquare(300, 300, 16, [](int i, int j) { return Texel(i / 2, j / 2); });
    FillScreen(kGround);
    RotatedSpriteZoom(kSlot, 0, 0);
    RotatedSpriteRotate(kSlot, 40, 0);
    DrawOne(kSlot, 300, 300, 255);
    EXPECT_EQ(CountNot(kGround), 0);
}

TEST_F(RotatedTest, RelativeTurnsAccumulateAndAnAbsoluteTurnForgetsThem) {
    auto drawn = [&](std::initializer_list<std::pair<int, int>> turns) {
        FillScreen(kGround);
        RotatedSpriteRotate(kSlot, 0, 0);  // a stored angle of 0
        for (auto [angle, mode] : turns) RotatedSpriteRotate(kSlot, angle, mode);
        DrawOne(kSlot, 100, 100, 255);
        return ScreenBackBuffer()->pixels;
    };
    auto sixty = drawn({{60, 0}}), ten = drawn({{10, 0}});
    EXPECT_NE(sixty, ten);
    EXPECT_EQ(drawn({{30, 1}, {30, 1}}), sixty);
    EXPECT_EQ(drawn({{45, 0}, {10, 1}}), ten);
    EXPECT_EQ(drawn({{350, 1}, {20, 1}}), drawn({{370, 0}}));
    EXPECT_EQ(drawn({{350, 1}, {20, 1}, {5, 1}}), drawn({{15, 0}}));  // 370 modulo 360, plus 5
}

TEST_F(RotatedTest, BlendFactorsComputeEachChannel) {
    struct Case {
        int src, dst, alpha;
        uint32_t texel, screen, expected;
        const char* why;
    } cases[] = {
        {0, 0, 128, 0xC8FF00, 0x6400FF, 0x96807F, "defaults: 200*128/255 + 100*127/255 = 150.2; 128; 127"},
        {0, 0, 64, 0xC8FF00, 0x6400FF, 0x7D40BF, "defaults: 50.2 + 74.9 = 125.1; 64; 191"},
        {0, 0, 255, 0xC8FF00, 0x6400FF, 0xC8FF00, "defaults, opaque"},
        {0, 0, 0, 0xC8FF00, 0x6400FF, 0x6400FF, "defaults, alpha 0"},
        {0, 0, 256, 0xC8FF00, 0x6400FF, 0x6400FF, "alpha 256 is alpha 0"},
        {0, 0, 257, 0xFFFFFF, 0x000000, 0x010101, "only the low 8 bits of alpha count"},
        {2, 7, 200, 0x402010, 0xF01008, 0xFF3018, "one + destination alpha adds, saturating"},
        {2, 7, 0, 0x402010, 0xF01008, 0xFF3018, "alpha plays no part"},
        {8, 11, 200, 0x808080, 0x204060, 0x000000, "stain stamp: black"},
        {8, 11, 0, 0x010101, 0x204060, 0x000000, "whatever the alpha"},
        {1, 2, 255, 0x80FF40, 0x40C0FF, 0x40C0FF, "zero, one"},
        {3, 1, 255, 0x80FF40, 0x40C0FF, 0x40FF10, "source colour: 64.3, 255, 16.1"},
        {1, 4, 255, 0x80FF40, 0x40C0FF, 0x2000BF, "inverse source colour: 31.9, 0, 191"},
        {9, 1, 255, 0x80FF40, 0x40C0FF, 0x20C040, "destination colour: 32.1, 192, 64"},
        {10, 2, 255, 0x80FF40, 0x40C0FF, 0xA0FFFF, "inverse destination colour: 159.9, 255, 255"},
        {12, 1, 51, 0x80FF40, 0x40C0FF, 0x4DCDD9, "both source alpha 0.2: 76.8, 204.6, 216.8"},
        {13, 1, 204, 0x80FF40, 0x40C0FF, 0x4DCDD9, "both inverse source alpha 0.8"},
    };
    for (const Case& c : cases) {
        MakeFlat(3, c.texel);
        FillScreen(c.screen);
        DrawOne(3, 10, 10, c.alpha, c.src, c.dst);
        EXPECT_EQ(ScreenAt(11, 11), c.expected) << c.why;
        EXPECT_EQ(CountNot(c.screen), c.expected == c.screen ? 0 : 4) << c.why;
    }
}

TEST_F(RotatedTest, BlackTexelsAreNeverDrawnWhateverTheFactors) {
    Make(3, 2, 2, {0, 0x808080, 0, 0});
    for (auto [src, dst] : {std::pair{5, 6}, {2, 7}, {8, 11}, {2, 1}, {1, 1}, {3, 4}, {9, 10}}) {
        FillScreen(kGround);
        for (int i = 0; i < 2; ++i) DrawOne(3, 100 * i, 0, 255, src, dst);  // first and repeated draws
        EXPECT_EQ(CountNot(kGround), 2) << src << "," << dst;  // the grey texel, twice
        EXPECT_EQ(ScreenAt(0, 0), kGround);
        EXPECT_EQ(ScreenAt(100, 1), kGround);
    }
}

TEST_F(RotatedTest, BatchesRestoreTheDefaultsAndIgnoreUnknownFactors) {
    MakeFlat(3, 0x402010);
    ASSERT_EQ(RotatedBegin(), 1);
    RotatedBlendMode(kBlendOne, kBlendDestAlpha);
    RotatedBlendMode(0, 99);   // unknown numbers change nothing
    RotatedBlendMode(-3, 12);  // a "both" factor is no destination factor
    RotatedSpriteDraw(3, 0, 0, 0);
    RotatedEnd();
    EXPECT_EQ(ScreenAt(0, 0), 0x606070u);  // still adding
    DrawOne(3, 10, 0, 0);                  // a new batch: the defaults, alpha 0 draws nothing
    RotatedSpriteDraw(3, 20, 0, 255);      // outside a batch: nothing
    EXPECT_EQ(CountNot(kGround), 4);
    ScreenClose();
    EXPECT_EQ(RotatedBegin(), 0);  // no screen to draw into
}

TEST_F(RotatedTest, DrawingFollowsTheOrderOfTheCalls) {
    ASSERT_NE(LoadPicture(2, 8, 8, std::vector<uint32_t>(64, 0xFF0000)), 0);
    SpriteDraw(2, 0, 0);
    DrawOne(kSlot, 4, 0, 255);
    SpriteDraw(2, 8, 0);
    EXPECT_EQ(ScreenAt(3, 0), 0xFF0000u);
    EXPECT_EQ(ScreenAt(4, 0), Texel(0, 0));
    EXPECT_EQ(ScreenAt(7, 0), Texel(3, 0));
    EXPECT_EQ(ScreenAt(8, 0), 0xFF0000u);
}

TEST_F(RotatedTest, EveryPixelIsDrawnOnceAtAnyAngleAndSize) {
    // Additive drawing over black shows a pixel covered twice as brighter: the shared
    // diagonal, neighbouring squares, and shapes large and small.
    Make(3, 31, 31, std::vector<uint32_t>(31 * 31, 0x101010));
    for (int size : {24, 300})
        for (int angle : {0, 17, 45, 90, 133, 200, 271, 359}) {
            FillScreen(0);
            RotatedSpriteZoom(3, size, size);
            RotatedSpriteRotate(3, angle, 0);
            DrawOne(3, 250, 150, 255, kBlendOne, kBlendDestAlpha);
            DrawOne(3, 250, size == 24 ? 50 : -300, 255, kBlendOne, kBlendDestAlpha);  // apart
            for (uint32_t v : ScreenBackBuffer()->pixels) ASSERT_TRUE(v == 0 || v == 0x101010u) << angle << " " << v;
            if (size == 24) {
                EXPECT_NEAR(CountNot(0), 2 * 24 * 24, 4 * 24) << angle;
            }
        }
    FillScreen(0);
    RotatedSpriteZoom(3, 8, 8);
    for (auto [x, y] : {std::pair{0, 0}, {8, 0}, {0, 8}}) DrawOne(3, x, y, 255, kBlendOne, kBlendDestAlpha);
    for (uint32_t v : ScreenBackBuffer()->pixels) ASSERT_TRUE(v == 0 || v == 0x101010u);
    EXPECT_EQ(CountNot(0), 3 * 64);
}

TEST_F(RotatedTest, AShapeLooksTheSameWhereverItIsDrawn) {
    // Its first draw, later ones, and ones cut by the screen's edges show the same pixels.
    RotatedSpriteRotate(kSlot, 33, 0);
    for (auto [x, y] : {std::pair{-3, -2}, {100, 100}, {437, 281}, {795, 595}}) DrawOne(kSlot, x, y, 255);
    EXPECT_GT(CountNot(kGround), 100);
    for (int j = -4; j < 14; ++j)
        for (int i = -4; i < 14; ++i) {
            uint32_t v = ScreenAt(100 + i, 100 + j);
            ASSERT_EQ(v, ScreenAt(437 + i, 281 + j)) << i << "," << j;
            ASSERT_TRUE(i < 3 || j < 2 || v == ScreenAt(i - 3, j - 2)) << i << "," << j;
            ASSERT_TRUE(i >= 5 || j >= 5 || v == ScreenAt(795 + i, 595 + j)) << i << "," << j;
        }
}

TEST_F(RotatedTest, PuffsShowOnlyTheirOwnColours) {
    std::vector<uint32_t> smoke(31 * 31);
    for (size_t i = 0; i < smoke.size(); ++i) smoke[i] = i % 7 ? 0x010203u * static_cast<uint32_t>(1 + i % 50) : 0;
    Make(3, 31, 31, smoke);
    std::set<uint32_t> colours(smoke.begin(), smoke.end());
    FillScreen(0);
    ASSERT_EQ(RotatedBegin(), 1);
    RotatedBlendMode(kBlendOne, kBlendDestAlpha);
    for (int life = 31; life > 0; life -= 3) {  // as the smoke pass draws them, apart
        RotatedSpriteZoom(3, life, life);
        RotatedSpriteRotate(3, life * 10, 0);
        RotatedSpriteDrawOpaque(3, 25 * life, 300 - life + 16);
    }
    RotatedEnd();
    for (uint32_t v : ScreenBackBuffer()->pixels) ASSERT_TRUE(colours.count(v)) << v;
    EXPECT_GT(CountNot(0), 1000);
}

TEST_F(RotatedTest, ShapesAreClippedAtEveryEdgeOfTheScreen) {
    RotatedSpriteRotate(kSlot, 270, 0);
    DrawOne(kSlot, -4, -5, 255);
    EXPECT_EQ(ChangedBox(kGround), (Box{0, 0, 4, 3}));
    EXPECT_EQ(ScreenAt(0, 0), Texel(4, 5));
    FillScreen(kGround);
    DrawOne(kSlot, 796, 597, 255);
    EXPECT_EQ(ChangedBox(kGround), (Box{796, 597, 4, 3}));
    EXPECT_EQ(ScreenAt(799, 599), Texel(3, 2));
    FillScreen(kGround);
    for (auto [x, y] : {std::pair{800, 0}, {0, 600}, {-8, 0}, {0, -8}, {INT_MAX, INT_MAX}, {INT_MIN, 5}})
        DrawOne(kSlot, x, y, 255);
    RotatedSpriteZoom(kSlot, 32767, 32767);  // huge, but wholly left of the screen
    DrawOne(kSlot, -40000, 0, 255);
    EXPECT_EQ(CountNot(kGround), 0);
    RotatedSpriteZoom(kSlot, 200, 160);  // large shapes follow the same rules
    DrawOne(kSlot, -150, 500, 255);
    EXPECT_EQ(ChangedBox(kGround), (Box{0, 500, 50, 100}));
    for (int j = 0; j < 100; ++j)
        for (int i = 0; i < 50; ++i) ASSERT_EQ(ScreenAt(i, 500 + j), Texel((i + 150) / 25, j / 20)) << i << "," << j;
}

TEST_F(RotatedTest, CreationTakesTheClippedSizeButMapsTheWholePicture) {
    // Blocks of 2 x 4 pixels, so the squeezed samples never fall between two colours.
    std::vector<uint32_t> blocks;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) blocks.push_back(Texel(x / 2, y / 4));
    ASSERT_NE(LoadPicture(3, 8, 8, blocks, kSpriteFlagTexture), 0);
    SpriteClip(3, 0, 0, 4, 2);
    ASSERT_NE(RotatedSpriteCreate(3, 3), 0);
    DrawOne(3, 0, 0, 255);
    EXPECT_EQ(ChangedBox(kGround), (Box{0, 0, 4, 2}));
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 4; ++i) EXPECT_EQ(ScreenAt(i, j), Texel(i, j)) << i << "," << j;
}

TEST_F(RotatedTest, CreationNeedsATexturePictureAndKeepsIt) {
    ASSERT_NE(LoadPicture(2, 8, 8, std::vector<uint32_t>(64, 0xFF)), 0);  // flags 0
    EXPECT_EQ(RotatedSpriteCreate(2, 2), 0);
    EXPECT_EQ(RotatedSpriteCreate(-1, 2), 0);
    MakeFlat(120, 0x00FF00);  // the table grows
    RotatedSpriteZoom(120, 8, 8);
    // Reloading or freeing the sprite leaves the rotated sprite its picture until it is
    // created again.
    ASSERT_NE(LoadPicture(kSlot, 8, 8, std::vector<uint32_t>(64, 0xFF), kSpriteFlagTexture), 0);
    SpritesFreeAll();
    DrawOne(kSlot, 0, 0, 255);
    DrawOne(120, 20, 0, 255);
    EXPECT_EQ(ScreenAt(2, 3), Texel(2, 3));
    EXPECT_EQ(ScreenAt(22, 3), 0x00FF00u);
    EXPECT_EQ(RotatedSpriteCreate(kSlot, kSlot), 0);  // the sprite is gone: emptied
    FillScreen(kGround);
    DrawOne(kSlot, 0, 0, 255);
    EXPECT_EQ(CountNot(kGround), 0);
}

TEST_F(RotatedTest, EndEmptiesEverySlot) {
    RotatedSpritesEnd();
    EXPECT_EQ(RotatedBegin(), 0);
    ASSERT_NE(RotatedSpritesInit(), 0);
    ASSERT_EQ(RotatedBegin(), 1);
    RotatedSpriteDraw(kSlot, 0, 0, 255);
    RotatedEnd();
    EXPECT_EQ(CountNot(kGround), 0);
}

TEST(RotatedWithoutDisplay, InitNeedsTheDisplay) {
    EXPECT_EQ(RotatedSpritesInit(), 0);
    EXPECT_EQ(RotatedSpriteCreate(3, 3), 0);
    EXPECT_EQ(RotatedBegin(), 0);
}
