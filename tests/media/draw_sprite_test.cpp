// Sprites: slots, opaque and keyed copies clipped at every edge, clip rectangles, grabs
// and overlap boxes, checked pixel by pixel in the back buffer.
#include <gtest/gtest.h>

#include <climits>

#include "tests/media/draw_fixture.h"

using namespace drawtest;

namespace {

constexpr uint32_t kGround = 0x204060;

// Every pixel of a tagged picture tells where it came from, and none is black.
uint32_t Cell(int x, int y) { return 0x800000u | static_cast<uint32_t>(x) << 8 | static_cast<uint32_t>(y) << 1 | 1u; }
std::vector<uint32_t> Tagged(int w, int h) {
    std::vector<uint32_t> p;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.push_back(Cell(x, y));
    return p;
}

class SpriteTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        ASSERT_NE(LoadPicture(1, 16, 16, Tagged(16, 16)), 0);
        ASSERT_NE(LoadPicture(3, 64, 32, Tagged(64, 32)), 0);
        FillScreen(kGround);
    }
    // The box of what changed, after checking that every changed pixel is the picture's
    // pixel for a sprite with clip corner (cx, cy) drawn at (x, y).
    Box DrawnAt(int32_t x, int32_t y, int32_t cx = 0, int32_t cy = 0) {
        Box b = ChangedBox(kGround);
        for (int32_t sy = b.top; sy < b.top + b.height; ++sy)
            for (int32_t sx = b.left; sx < b.left + b.width; ++sx)
                if (ScreenAt(sx, sy) != Cell(sx - x + cx, sy - y + cy)) {
                    ADD_FAILURE() << "wrong pixel at " << sx << "," << sy;
                    return b;
                }
        return b;
    }
};

}  // namespace

TEST_F(SpriteTest, CopiesAreClippedAtEveryEdge) {
    struct Case {
        int32_t x, y;
        Box shown;
    } cases[] = {
        {100, 200, {100, 200, 16, 16}}, {-15, 10, {0, 10, 1, 16}},  {30, -12, {30, 0, 16, 4}},
        {790, 595, {790, 595, 10, 5}},  {-3, -5, {0, 0, 13, 11}},   {799, -15, {799, 0, 1, 1}},
        {-16, 10, {}},                  {30, -16, {}},              {800, 10, {}},
        {10, 600, {}},                  {INT_MAX, INT_MAX, {}},     {INT_MIN, INT_MIN, {}},
    };
    for (const Case& c : cases) {
        for (bool keyed : {false, true}) {
            FillScreen(kGround);
            keyed ? SpriteDrawKeyed(1, c.x, c.y) : SpriteDraw(1, c.x, c.y);
            EXPECT_EQ(DrawnAt(c.x, c.y), c.shown) << c.x << "," << c.y;
        }
    }
}

TEST_F(SpriteTest, KeyedCopiesLeaveTheScreenWhereThePictureIsBlack) {
    std::vector<uint32_t> p = Tagged(4, 4);
    p[0] = 0;         // black: transparent
    p[5] = 0x000001;  // nearly black is a colour on a 32-bit screen
    ASSERT_NE(LoadPicture(2, 4, 4, p), 0);
    SpriteDrawKeyed(2, 10, 10);
    EXPECT_EQ(ScreenAt(10, 10), kGround);
    EXPECT_EQ(ScreenAt(11, 11), 0x000001u);
    SpriteDraw(2, 20, 10);  // the opaque copy draws the black too
    EXPECT_EQ(ScreenAt(20, 10), 0u);
    EXPECT_EQ(CountNot(kGround), 15 + 16);
}

TEST_F(SpriteTest, ClipSelectsACellAndItsBox) {
    SpriteClip(3, 32, 16, 16, 16);
    SpriteDraw(3, 50, 60);
    EXPECT_EQ(DrawnAt(50, 60, 32, 16), (Box{50, 60, 16, 16}));
    FillScreen(kGround);
    SpriteDraw(3, -10, -4);  // the cell clips against the screen from its own corner
    EXPECT_EQ(DrawnAt(-10, -4, 32, 16), (Box{0, 0, 6, 12}));
    EXPECT_EQ(ScreenAt(0, 0), Cell(42, 20));
    EXPECT_EQ(SpritesCollide(3, 0, 0, 1, 16, 0), 0);
    EXPECT_EQ(SpritesCollide(3, 0, 0, 1, 15, 15), 1);
}

TEST_F(SpriteTest, ClipIsShortenedAndClampedToThePicture) {
    struct Case {
        int32_t x, y, w, h;
        SpriteInfo expected;  // clip corner and size
    } cases[] = {
        {60, 20, 16, 16, {nullptr, 4, 12, 60, 20}},    // past the right and bottom edges
        {-1, 5, 5, 5, {nullptr, 64, 32, 0, 0}},        // -1: the whole picture
        {-5, -3, 16, 16, {nullptr, 11, 13, 0, 0}},     // would read before the first pixel
        {70, 40, 16, 16, {nullptr, 0, 0, 64, 32}},     // wholly outside: nothing left
        {10, 10, -4, INT_MAX, {nullptr, 0, 22, 10, 10}},
    };
    for (const Case& c : cases) {
        SpriteClip(3, c.x, c.y, c.w, c.h);
        SpriteInfo info = SpriteGetInfo(3);
        EXPECT_EQ(info.clipX, c.expected.clipX) << c.x;
        EXPECT_EQ(info.clipY, c.expected.clipY) << c.x;
        EXPECT_EQ(info.width, c.expected.width) << c.x;
        EXPECT_EQ(info.height, c.expected.height) << c.x;
    }
    SpriteClip(3, -5, -3, 16, 16);
    FillScreen(kGround);
    SpriteDraw(3, 100, 100);
    EXPECT_EQ(DrawnAt(100, 100), (Box{100, 100, 11, 13}));
}

TEST_F(SpriteTest, CollisionComparesBoxesAndTouchingEdgesDoNotCount) {
    ASSERT_NE(LoadPicture(4, 40, 2, Tagged(40, 2)), 0);
    EXPECT_EQ(SpritesCollide(1, 0, 0, 1, 16, 0), 0);
    EXPECT_EQ(SpritesCollide(1, 0, 0, 1, 0, 16), 0);
    EXPECT_EQ(SpritesCollide(1, 0, 0, 1, 15, 15), 1);
    EXPECT_EQ(SpritesCollide(1, 0, 0, 1, -15, -15), 1);
    EXPECT_EQ(SpritesCollide(1, 0, 0, 4, -39, 15), 1);  // boxes of different sizes
    EXPECT_EQ(SpritesCollide(4, -39, 15, 1, 0, 0), 1);
    EXPECT_EQ(SpritesCollide(1, 0, 0, 4, -40, 15), 0);
    EXPECT_EQ(SpritesCollide(1, 0, 0, 9, 0, 0), 0);  // an empty slot
    EXPECT_EQ(SpritesCollide(1, INT_MAX, INT_MAX, 1, INT_MIN, INT_MIN), 0);
    EXPECT_EQ(SpritesCollide(1, INT_MAX - 5, 0, 1, INT_MAX - 1, 0), 1);  // no overflow
}

TEST_F(SpriteTest, GrabCopiesThePartOfTheRectangleInsideTheScreen) {
    SpriteDraw(1, 0, 0);
    ASSERT_NE(SpriteGrab(5, 2, 3, 4, 3), 0);
    SpriteInfo info = SpriteGetInfo(5);
    ASSERT_NE(info.picture, nullptr);
    EXPECT_EQ(info.width, 4);
    EXPECT_EQ(info.height, 3);
    EXPECT_EQ(info.picture->At(3, 2), Cell(5, 5));
    ASSERT_NE(SpriteGrab(5, -2, -1, 5, 4), 0);  // reaching over the top-left corner
    const Picture& p = *SpriteGetInfo(5).picture;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(p.At(x, y), x >= 2 && y >= 1 ? Cell(x - 2, y - 1) : 0u) << x << "," << y;
    ASSERT_NE(SpriteGrab(6, 798, 598, 4, 4), 0);  // over the bottom-right corner
    const Picture& q = *SpriteGetInfo(6).picture;
    EXPECT_EQ(q.At(1, 1), kGround);
    EXPECT_EQ(q.At(2, 1), 0u);
    EXPECT_EQ(q.At(1, 2), 0u);
    ASSERT_NE(SpriteGrab(7, 5000, -5000, 3, 3), 0);
    EXPECT_EQ(SpriteGetInfo(7).picture->pixels, Pixels(9, 0u));
    EXPECT_EQ(SpriteGrab(1, 0, 0, 0, 10), 0);  // no size: fails and empties the slot
    EXPECT_EQ(SpriteGetInfo(1).picture, nullptr);
}

TEST_F(SpriteTest, TheGamesFullScreenGrabBecomesTheBackground) {
    SpriteDraw(1, 400, 300);
    ASSERT_NE(SpriteGrab(0, 0, 0, 800, 600), 0);
    SpriteDraw(1, 0, 0);
    ASSERT_NE(SpriteGrab(0, 0, 0, 800, 600), 0);  // again into the same slot
    FillScreen(0x123456);
    SpriteDraw(0, 0, 0);
    EXPECT_EQ(ScreenAt(405, 307), Cell(5, 7));
    EXPECT_EQ(ScreenAt(15, 15), Cell(15, 15));
    EXPECT_EQ(CountNot(kGround), 512);
}

TEST_F(SpriteTest, LoadingKeepsOrEmptiesTheSlot) {
    EXPECT_EQ(SpriteLoad(1, TempPath("no_such_file.bmp").c_str()), 0);  // missing: kept
    EXPECT_NE(SpriteGetInfo(1).picture, nullptr);
    std::string junk = WriteFile("junk.bmp", {'n', 'o', 't', ' ', 'a', ' ', 'b', 'm', 'p'});
    EXPECT_EQ(SpriteLoad(1, junk.c_str()), 0);  // not a bitmap: emptied
    std::remove(junk.c_str());
    EXPECT_EQ(SpriteGetInfo(1).picture, nullptr);
    SpriteDraw(1, 0, 0);
    SpriteDrawKeyed(1, 0, 0);
    SpriteClip(1, 0, 0, 4, 4);
    EXPECT_EQ(SpriteLoad(1, nullptr), 0);
    ASSERT_NE(LoadPicture(2, 4, 4, Tagged(4, 4), kSpriteFlagRaw), 0);  // raw memory: not drawn
    SpriteDraw(2, 0, 0);
    EXPECT_EQ(CountNot(kGround), 0);
}

TEST_F(SpriteTest, SlotsGrowAndOutOfRangeSlotsAreRefused) {
    EXPECT_NE(LoadPicture(300, 2, 2, Tagged(2, 2), 1), 0);
    EXPECT_EQ(SpriteGetInfo(300).loadFlags, 1);
    EXPECT_EQ(LoadPicture(-1, 2, 2, Tagged(2, 2)), 0);
    EXPECT_EQ(LoadPicture(1 << 20, 2, 2, Tagged(2, 2)), 0);
    SpriteDraw(300, 1, 1);
    SpriteDraw(INT_MAX, 0, 0);
    SpriteDraw(-5, 0, 0);
    EXPECT_EQ(ScreenAt(2, 2), Cell(1, 1));
    EXPECT_EQ(CountNot(kGround), 4);
}

TEST_F(SpriteTest, ScreenCloseFreesEverySprite) {
    ScreenClose();
    EXPECT_EQ(SpriteGetInfo(1).picture, nullptr);
    EXPECT_EQ(ScreenBackBuffer(), nullptr);
    SpriteDraw(1, 0, 0);
    EXPECT_EQ(SpriteGrab(2, 0, 0, 4, 4), 0);  // nothing to grab from
}
