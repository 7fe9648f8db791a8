// Rotated translucent sprites: turns at the quarter angles on an asymmetric picture,
// zoom, alpha, each blend pair the game uses, batches, and the rasterizer's coverage.
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

std::vector<uint32_t> Asymmetric() {
    std::vector<uint32_t> p(64);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) p[static_cast<size_t>(y) * 8 + x] = Texel(x, y);
    return p;
}

class RotatedTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Make(kSlot, 8, 8, Asymmetric());
        FillScreen(kGround);
    }
    void Make(int32_t slot, int32_t w, int32_t h, const std::vector<uint32_t>& rgb) {
        ASSERT_NE(LoadPicture(slot, w, h, rgb, kSpriteFlagTexture), 0);
        ASSERT_NE(RotatedSpriteCreate(slot, slot), 0);
    }
    // One batch with the given factors (0: the defaults) drawing one sprite.
    void DrawOne(int32_t slot, int32_t x, int32_t y, int32_t alpha, int32_t src = 0, int32_t dst = 0) {
        ASSERT_EQ(RotatedBegin(), 1);
        if (src) RotatedBlendMode(src, dst);
        RotatedSpriteDraw(slot, x, y, alpha);
        RotatedEnd();
    }
    // Checks that the 8 x 8 square at (x, y) shows texel map(i, j) at (x + i, y + j) and
    // that nothing else changed.
    template <class Map>
    void ExpectSquare(int32_t x, int32_t y, int32_t size, Map map) {
        Box b = ChangedBox(kGround);
        EXPECT_EQ(b.left, x);
        EXPECT_EQ(b.top, y);
        EXPECT_EQ(b.width, size);
        EXPECT_EQ(b.height, size);
        for (int j = 0; j < size; ++j)
            for (int i = 0; i < size; ++i) EXPECT_EQ(ScreenAt(x + i, y + j), map(i, j)) << i << "," << j;
    }
    std::vector<uint32_t> Snapshot() { return ScreenBackBuffer()->pixels; }
};

}  // namespace

TEST_F(RotatedTest, AngleZeroIsAQuarterTurnClockwise) {
    RotatedSpriteRotate(kSlot, 0, 0);
    DrawOne(kSlot, 200, 150, 255);
    // The file's top-left pixel lands in the top-right corner.
    ExpectSquare(200, 150, 8, [](int i, int j) { return Texel(j, 7 - i); });
}

TEST_F(RotatedTest, Angle90IsAHalfTurn) {
    RotatedSpriteRotate(kSlot, 90, 0);
    DrawOne(kSlot, 200, 150, 255);
    ExpectSquare(200, 150, 8, [](int i, int j) { return Texel(7 - i, 7 - j); });
}

TEST_F(RotatedTest, Angle180IsThreeQuarterTurns) {
    RotatedSpriteRotate(kSlot, 180, 0);
    DrawOne(kSlot, 200, 150, 255);
    ExpectSquare(200, 150, 8, [](int i, int j) { return Texel(7 - j, i); });
}

TEST_F(RotatedTest, Angle270ShowsTheFilesOrientation) {
    RotatedSpriteRotate(kSlot, 270, 0);
    DrawOne(kSlot, 200, 150, 255);
    ExpectSquare(200, 150, 8, [](int i, int j) { return Texel(i, j); });
}

TEST_F(RotatedTest, WithoutARotationThePictureIsDrawnAsLoaded) {
    DrawOne(kSlot, 0, 0, 255);
    ExpectSquare(0, 0, 8, [](int i, int j) { return Texel(i, j); });
}

TEST_F(RotatedTest, ThirtyTwoSquareCoversExactlyItsSquare) {
    std::vector<uint32_t> white(32 * 32, 0xFFFFFF);
    white[0] = 0xFF0000;  // the top-left pixel
    Make(3, 32, 32, white);
    RotatedSpriteRotate(3, 0, 0);
    DrawOne(3, 100, 100, 255);
    Box b = ChangedBox(kGround);
    EXPECT_EQ(b.left, 100);
    EXPECT_EQ(b.top, 100);
    EXPECT_EQ(b.width, 32);
    EXPECT_EQ(b.height, 32);
    EXPECT_EQ(ScreenAt(131, 100), 0xFF0000u);
    EXPECT_EQ(CountNot(kGround), 32 * 32);
}

TEST_F(RotatedTest, ZoomStretchesAndUndoesTheRotation) {
    RotatedSpriteRotate(kSlot, 90, 0);
    RotatedSpriteZoom(kSlot, 16, 8);
    DrawOne(kSlot, 40, 30, 255);
    Box b = ChangedBox(kGround);
    EXPECT_EQ(b.width, 16);
    EXPECT_EQ(b.height, 8);
    for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 16; ++i) EXPECT_EQ(ScreenAt(40 + i, 30 + j), Texel(i / 2, j)) << i << "," << j;
}

TEST_F(RotatedTest, RotationAfterZoomUsesTheNewSize) {
    RotatedSpriteZoom(kSlot, 16, 16);
    RotatedSpriteRotate(kSlot, 270, 0);
    DrawOne(kSlot, 300, 300, 255);
    ExpectSquare(300, 300, 16, [](int i, int j) { return Texel(i / 2, j / 2); });
}

TEST_F(RotatedTest, ZoomToNothingDrawsNothing) {
    RotatedSpriteZoom(kSlot, 0, 0);
    RotatedSpriteRotate(kSlot, 40, 0);
    DrawOne(kSlot, 300, 300, 255);
    EXPECT_EQ(CountNot(kGround), 0);
}

TEST_F(RotatedTest, RelativeTurnsAccumulateAndAnAbsoluteTurnForgetsThem) {
    auto drawn = [&](std::initializer_list<std::pair<int, int>> turns) {
        FillScreen(kGround);
        RotatedSpriteRotate(kSlot, 0, 0);  // back to a stored angle of 0
        for (auto [angle, mode] : turns) RotatedSpriteRotate(kSlot, angle, mode);
        DrawOne(kSlot, 100, 100, 255);
        return Snapshot();
    };
    auto sixty = drawn({{60, 0}});
    auto ten = drawn({{10, 0}});
    EXPECT_NE(sixty, ten);
    EXPECT_EQ(drawn({{30, 1}, {30, 1}}), sixty);
    EXPECT_EQ(drawn({{45, 0}, {10, 1}}), ten);
    EXPECT_EQ(drawn({{350, 1}, {20, 1}}), drawn({{370, 0}}));
    EXPECT_EQ(drawn({{350, 1}, {20, 1}, {5, 1}}), drawn({{15, 0}}));  // 370 mod 360 + 5
}

TEST_F(RotatedTest, DefaultFactorsBlendByAlpha) {
    std::vector<uint32_t> one(4, 0xC8FF00);  // red 200, green 255, blue 0
    Make(3, 2, 2, one);
    FillScreen(0x6400FF);                     // red 100, green 0, blue 255
    DrawOne(3, 10, 10, 128);
    EXPECT_EQ(ScreenAt(10, 10), 0x96807Fu);   // 150, 128, 127
    DrawOne(3, 20, 10, 64);
    EXPECT_EQ(ScreenAt(20, 10), 0x7D40BFu);   // 125, 64, 191
    DrawOne(3, 30, 10, 255);
    EXPECT_EQ(ScreenAt(30, 10), 0xC8FF00u);
    RotatedBegin();
    RotatedSpriteDrawOpaque(3, 40, 10);
    RotatedEnd();
    EXPECT_EQ(ScreenAt(41, 11), 0xC8FF00u);
}

TEST_F(RotatedTest, AlphaZeroAnd256DrawNothingVisible) {
    Make(3, 2, 2, std::vector<uint32_t>(4, 0xFFFFFF));
    FillScreen(0);
    DrawOne(3, 10, 10, 0);
    DrawOne(3, 30, 10, 256);
    DrawOne(3, 50, 10, 512);
    EXPECT_EQ(CountNot(0), 0);
    DrawOne(3, 70, 10, 257);  // only the low 8 bits count: 1 of 255
    EXPECT_EQ(ScreenAt(71, 11), 0x010101u);
    EXPECT_EQ(CountNot(0), 4);
}

TEST_F(RotatedTest, OneAndDestAlphaAddToTheScreen) {
    std::vector<uint32_t> p(4, 0x402010);
    Make(3, 2, 2, p);
    FillScreen(0xF01008);
    DrawOne(3, 0, 0, 200, kBlendOne, kBlendDestAlpha);
    EXPECT_EQ(ScreenAt(0, 0), 0xFF3018u);  // red saturates instead of wrapping
    DrawOne(3, 10, 0, 0, kBlendOne, kBlendDestAlpha);  // alpha plays no part
    EXPECT_EQ(ScreenAt(11, 1), 0xFF3018u);
    DrawOne(3, 10, 0, 0, kBlendOne, kBlendDestAlpha);
    EXPECT_EQ(ScreenAt(11, 1), 0xFF5028u);
}

TEST_F(RotatedTest, InvDestAlphaAndSrcAlphaSatStampBlackInThePicturesShape) {
    std::vector<uint32_t> p = {0xFFFFFF, 0, 0x010101, 0x808080};
    Make(3, 2, 2, p);
    for (int alpha : {200, 0, 255}) {
        FillScreen(kGround);
        DrawOne(3, 5, 5, alpha, kBlendInvDestAlpha, kBlendSrcAlphaSat);
        EXPECT_EQ(ScreenAt(5, 5), 0u) << alpha;
        EXPECT_EQ(ScreenAt(6, 5), kGround) << alpha;  // black texel: not drawn
        EXPECT_EQ(ScreenAt(5, 6), 0u) << alpha;
        EXPECT_EQ(ScreenAt(6, 6), 0u) << alpha;
        EXPECT_EQ(CountNot(kGround), 3) << alpha;
    }
}

TEST_F(RotatedTest, BlackTexelsAreNeverDrawnWhateverTheFactors) {
    std::vector<uint32_t> p = {0, 0x808080, 0, 0};
    Make(3, 2, 2, p);
    const std::pair<int, int> pairs[] = {{5, 6}, {2, 7}, {8, 11}, {2, 1}, {1, 1}, {3, 4}, {9, 10}};
    for (auto [src, dst] : pairs) {
        FillScreen(kGround);
        DrawOne(3, 0, 0, 255, src, dst);
        EXPECT_EQ(ScreenAt(0, 0), kGround) << src << "," << dst;
        EXPECT_EQ(ScreenAt(0, 1), kGround) << src << "," << dst;
        EXPECT_EQ(ScreenAt(1, 1), kGround) << src << "," << dst;
    }
}

TEST_F(RotatedTest, OtherFactorsHaveTheirUsualMeaning) {
    std::vector<uint32_t> p(4, 0x80FF40);  // 128, 255, 64
    Make(3, 2, 2, p);
    auto blended = [&](int src, int dst, int alpha) {
        FillScreen(0x40C0FF);  // 64, 192, 255
        DrawOne(3, 0, 0, alpha, src, dst);
        return ScreenAt(0, 0);
    };
    EXPECT_EQ(blended(kBlendZero, kBlendOne, 255), 0x40C0FFu);
    EXPECT_EQ(blended(kBlendOne, kBlendZero, 0), 0x80FF40u);
    // Source times its own colour: 128*128/255 = 64.25, 255, 64*64/255 = 16.06.
    EXPECT_EQ(blended(kBlendSrcColor, kBlendZero, 255), 0x40FF10u);
    // Destination times (1 - source colour): 64*127/255 = 31.9, 0, 255*191/255 = 191.
    EXPECT_EQ(blended(kBlendZero, kBlendInvSrcColor, 255), 0x2000BFu);
    // Source times the screen: 128*64/255 = 32.1, 255*192/255 = 192, 64*255/255 = 64.
    EXPECT_EQ(blended(kBlendDestColor, kBlendZero, 255), 0x20C040u);
    // Source times (1 - screen) plus the screen: 128*191/255 + 64 = 159.9, 63 + 192, 0 + 255.
    EXPECT_EQ(blended(kBlendInvDestColor, kBlendOne, 255), 0xA0FFFFu);
    // Both-alpha factors set the destination too: alpha 51 is 0.2.
    // Red 128*0.2 + 64*0.8 = 76.8, green 51 + 153.6 = 204.6, blue 12.8 + 204 = 216.8.
    EXPECT_EQ(blended(12, kBlendZero, 51), 0x4DCDD9u);
    EXPECT_EQ(blended(13, kBlendZero, 204), 0x4DCDD9u);
}

TEST_F(RotatedTest, UnknownFactorNumbersLeaveTheFactorAsItWas) {
    std::vector<uint32_t> p(4, 0x402010);
    Make(3, 2, 2, p);
    FillScreen(0x101010);
    ASSERT_EQ(RotatedBegin(), 1);
    RotatedBlendMode(kBlendOne, kBlendDestAlpha);
    RotatedBlendMode(0, 99);
    RotatedBlendMode(-3, 12);  // a "both" factor is no destination factor
    RotatedSpriteDraw(3, 0, 0, 0);
    RotatedEnd();
    EXPECT_EQ(ScreenAt(0, 0), 0x503020u);  // still adding
}

TEST_F(RotatedTest, EveryBeginRestoresTheDefaultFactors) {
    std::vector<uint32_t> p(4, 0x402010);
    Make(3, 2, 2, p);
    ASSERT_EQ(RotatedBegin(), 1);
    RotatedBlendMode(kBlendInvDestAlpha, kBlendSrcAlphaSat);
    RotatedEnd();
    DrawOne(3, 0, 0, 0);  // defaults: alpha 0 leaves the screen
    EXPECT_EQ(CountNot(kGround), 0);
}

TEST_F(RotatedTest, DrawsOutsideABatchDoNothing) {
    RotatedSpriteDraw(kSlot, 0, 0, 255);
    ASSERT_EQ(RotatedBegin(), 1);
    RotatedEnd();
    RotatedSpriteDrawOpaque(kSlot, 0, 0);
    EXPECT_EQ(CountNot(kGround), 0);
    ScreenClose();
    EXPECT_EQ(RotatedBegin(), 0);  // no screen to draw into
}

TEST_F(RotatedTest, DrawingFollowsTheOrderOfTheCalls) {
    std::vector<uint32_t> red(64, 0xFF0000);
    ASSERT_NE(LoadPicture(2, 8, 8, red), 0);
    SpriteDraw(2, 0, 0);
    DrawOne(kSlot, 4, 0, 255);
    SpriteDraw(2, 8, 0);
    EXPECT_EQ(ScreenAt(3, 0), 0xFF0000u);
    EXPECT_EQ(ScreenAt(4, 0), Texel(0, 0));
    EXPECT_EQ(ScreenAt(7, 0), Texel(3, 0));
    EXPECT_EQ(ScreenAt(8, 0), 0xFF0000u);
}

TEST_F(RotatedTest, NeighbouringQuadsAndTheDiagonalAreDrawnOnce) {
    // Additive drawing over black shows any pixel covered twice as brighter.
    std::vector<uint32_t> grey(31 * 31, 0x101010);
    Make(3, 31, 31, grey);
    for (int angle : {0, 17, 45, 90, 133, 200, 271, 359}) {
        FillScreen(0);
        RotatedSpriteZoom(3, 24, 24);
        RotatedSpriteRotate(3, angle, 0);
        ASSERT_EQ(RotatedBegin(), 1);
        RotatedBlendMode(kBlendOne, kBlendDestAlpha);
        RotatedSpriteDraw(3, 100, 100, 255);
        RotatedEnd();
        int drawn = 0;
        for (uint32_t v : ScreenBackBuffer()->pixels) {
            EXPECT_TRUE(v == 0 || v == 0x101010u) << angle << ": " << std::hex << v;
            drawn += v != 0;
        }
        EXPECT_NEAR(drawn, 24 * 24, 2 * 24) << angle;  // about the area of the square
    }
    FillScreen(0);
    RotatedSpriteZoom(3, 8, 8);
    ASSERT_EQ(RotatedBegin(), 1);
    RotatedBlendMode(kBlendOne, kBlendDestAlpha);
    RotatedSpriteDraw(3, 0, 0, 255);
    RotatedSpriteDraw(3, 8, 0, 255);
    RotatedSpriteDraw(3, 0, 8, 255);
    RotatedEnd();
    for (uint32_t v : ScreenBackBuffer()->pixels) ASSERT_TRUE(v == 0 || v == 0x101010u);
    EXPECT_EQ(CountNot(0), 3 * 64);
}

TEST_F(RotatedTest, PuffsShowOnlyTheirOwnColours) {
    std::vector<uint32_t> smoke(31 * 31);
    for (size_t i = 0; i < smoke.size(); ++i) smoke[i] = (i % 7 == 0) ? 0 : 0x010203u * static_cast<uint32_t>(1 + i % 50);
    Make(3, 31, 31, smoke);
    std::set<uint32_t> colours(smoke.begin(), smoke.end());
    FillScreen(0);
    ASSERT_EQ(RotatedBegin(), 1);
    RotatedBlendMode(kBlendOne, kBlendDestAlpha);
    for (int life = 31; life > 0; life -= 3) {
        RotatedSpriteZoom(3, life, life);
        RotatedSpriteRotate(3, life * 10, 0);
        RotatedSpriteDrawOpaque(3, 25 * life, 300 - life + 16);
    }
    RotatedEnd();
    for (uint32_t v : ScreenBackBuffer()->pixels) ASSERT_TRUE(colours.count(v)) << std::hex << v;
    EXPECT_GT(CountNot(0), 1000);
}

TEST_F(RotatedTest, ClippedAtEveryEdgeOfTheScreen) {
    RotatedSpriteRotate(kSlot, 270, 0);
    DrawOne(kSlot, -4, -5, 255);
    Box b = ChangedBox(kGround);
    EXPECT_EQ(b.left, 0);
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.width, 4);
    EXPECT_EQ(b.height, 3);
    EXPECT_EQ(ScreenAt(0, 0), Texel(4, 5));
    FillScreen(kGround);
    DrawOne(kSlot, 796, 597, 255);
    b = ChangedBox(kGround);
    EXPECT_EQ(b.left, 796);
    EXPECT_EQ(b.top, 597);
    EXPECT_EQ(b.width, 4);
    EXPECT_EQ(b.height, 3);
    EXPECT_EQ(ScreenAt(799, 599), Texel(3, 2));
    FillScreen(kGround);
    for (auto [x, y] : {std::pair{800, 0}, {0, 600}, {-8, 0}, {0, -8}, {INT_MAX, INT_MAX}, {INT_MIN, 5}})
        DrawOne(kSlot, x, y, 255);
    RotatedSpriteZoom(kSlot, 32767, 32767);  // huge, but wholly left of the screen
    DrawOne(kSlot, -40000, 0, 255);
    EXPECT_EQ(CountNot(kGround), 0);
    RotatedSpriteZoom(kSlot, 2000, 2000);
    DrawOne(kSlot, -600, -700, 255);
    EXPECT_EQ(CountNot(kGround), 800 * 600);
}

TEST_F(RotatedTest, LargeShapesAreDrawnByTheSameRules) {
    RotatedSpriteZoom(kSlot, 200, 160);
    DrawOne(kSlot, 50, 60, 255);
    Box b = ChangedBox(kGround);
    EXPECT_EQ(b.left, 50);
    EXPECT_EQ(b.top, 60);
    EXPECT_EQ(b.width, 200);
    EXPECT_EQ(b.height, 160);
    for (int j = 0; j < 160; ++j)
        for (int i = 0; i < 200; ++i) ASSERT_EQ(ScreenAt(50 + i, 60 + j), Texel(i / 25, j / 20)) << i << "," << j;

    std::vector<uint32_t> grey(4, 0x101010);
    Make(3, 2, 2, grey);
    FillScreen(0);
    RotatedSpriteZoom(3, 300, 300);
    RotatedSpriteRotate(3, 45, 0);
    DrawOne(3, 250, 150, 255, kBlendOne, kBlendDestAlpha);
    for (uint32_t v : ScreenBackBuffer()->pixels) ASSERT_TRUE(v == 0 || v == 0x101010u) << std::hex << v;
    EXPECT_NEAR(CountNot(0), 300 * 300, 4 * 300);
    FillScreen(0x808080);
    DrawOne(3, -100, -100, 128);  // default factors, clipped at the top-left
    EXPECT_EQ(ScreenAt(0, 0), 0x484848u);  // 16 x 128 / 255 + 128 x 127 / 255 = 8.0 + 63.7
}

TEST_F(RotatedTest, AShapeLooksTheSameWhereverItIsDrawn) {
    RotatedSpriteRotate(kSlot, 33, 0);
    DrawOne(kSlot, 100, 100, 255);
    DrawOne(kSlot, 437, 281, 255);
    for (int j = -4; j < 14; ++j)
        for (int i = -4; i < 14; ++i) ASSERT_EQ(ScreenAt(100 + i, 100 + j), ScreenAt(437 + i, 281 + j)) << i << "," << j;
    EXPECT_GT(CountNot(kGround), 100);
}

TEST_F(RotatedTest, SameShapeOfAnotherPictureShowsThatPicture) {
    std::vector<uint32_t> blue(64, 0x0000FF);
    Make(8, 8, 8, blue);
    RotatedSpriteRotate(kSlot, 270, 0);
    RotatedSpriteRotate(8, 270, 0);
    DrawOne(kSlot, 0, 0, 255);
    DrawOne(8, 20, 0, 255);
    EXPECT_EQ(ScreenAt(2, 3), Texel(2, 3));
    EXPECT_EQ(ScreenAt(22, 3), 0x0000FFu);
}

TEST_F(RotatedTest, CreationNeedsATexturePicture) {
    ASSERT_NE(LoadPicture(2, 8, 8, Asymmetric()), 0);  // flags 0
    EXPECT_EQ(RotatedSpriteCreate(2, 2), 0);
    EXPECT_EQ(RotatedSpriteCreate(kSlot, 40), 0);  // an empty sprite slot empties the rotated one
    DrawOne(kSlot, 0, 0, 255);
    EXPECT_EQ(CountNot(kGround), 0);
    EXPECT_EQ(RotatedSpriteCreate(-1, 2), 0);
    EXPECT_EQ(RotatedSpriteCreate(120, 3), 0);  // sprite 3 is empty
    Make(120, 8, 8, Asymmetric());              // the table grows
    DrawOne(120, 0, 0, 255);
    EXPECT_EQ(ScreenAt(0, 0), Texel(0, 0));
}

TEST_F(RotatedTest, CreationTakesTheClippedSizeButMapsTheWholePicture) {
    // Blocks of 2 x 4 pixels, so the squeezed samples never fall between two colours.
    std::vector<uint32_t> blocks(64);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) blocks[static_cast<size_t>(y) * 8 + x] = Texel(x / 2, y / 4);
    Make(3, 8, 8, blocks);
    SpriteClip(3, 0, 0, 4, 2);
    ASSERT_NE(RotatedSpriteCreate(3, 3), 0);
    DrawOne(3, 0, 0, 255);
    Box b = ChangedBox(kGround);
    EXPECT_EQ(b.width, 4);
    EXPECT_EQ(b.height, 2);
    for (int j = 0; j < 2; ++j)  // the whole 8 x 8 picture, squeezed into 4 x 2
        for (int i = 0; i < 4; ++i) EXPECT_EQ(ScreenAt(i, j), Texel(i, j)) << i << "," << j;
}

TEST_F(RotatedTest, AReloadedSpriteLeavesTheRotatedSpriteItsOldPicture) {
    std::vector<uint32_t> blue(64, 0x0000FF);
    ASSERT_NE(LoadPicture(kSlot, 8, 8, blue, kSpriteFlagTexture), 0);
    DrawOne(kSlot, 0, 0, 255);
    EXPECT_EQ(ScreenAt(2, 3), Texel(2, 3));
    SpritesFreeAll();
    DrawOne(kSlot, 20, 0, 255);
    EXPECT_EQ(ScreenAt(22, 3), Texel(2, 3));
    ASSERT_NE(LoadPicture(kSlot, 8, 8, blue, kSpriteFlagTexture), 0);
    ASSERT_NE(RotatedSpriteCreate(kSlot, kSlot), 0);
    DrawOne(kSlot, 40, 0, 255);
    EXPECT_EQ(ScreenAt(42, 3), 0x0000FFu);
}

TEST_F(RotatedTest, EndEmptiesEverySlot) {
    RotatedSpritesEnd();
    EXPECT_EQ(RotatedBegin(), 0);
    RotatedSpriteDraw(kSlot, 0, 0, 255);
    RotatedEnd();
    EXPECT_EQ(CountNot(kGround), 0);
    ASSERT_NE(RotatedSpritesInit(), 0);
    EXPECT_EQ(RotatedBegin(), 1);
    RotatedSpriteDraw(kSlot, 0, 0, 255);
    RotatedEnd();
    EXPECT_EQ(CountNot(kGround), 0);
}

TEST(RotatedWithoutDisplay, InitNeedsTheDisplay) {
    EXPECT_EQ(RotatedSpritesInit(), 0);
    EXPECT_EQ(RotatedSpriteCreate(3, 3), 0);
    EXPECT_EQ(RotatedBegin(), 0);
}
