// Sprites: loading into slots, opaque and keyed copies clipped at every edge, clip
// rectangles, grabs and overlap boxes, checked pixel by pixel in the back buffer.
#include <gtest/gtest.h>

#include <climits>

#include "tests/media/draw_fixture.h"

using namespace drawtest;

namespace {

constexpr uint32_t kGround = 0x204060;

// A 16 x 16 picture whose every pixel tells where it came from: never black.
uint32_t Cell(int x, int y) { return 0x800000u | static_cast<uint32_t>(x) << 8 | static_cast<uint32_t>(y) << 1 | 1u; }

std::vector<uint32_t> Tagged(int w, int h) {
    std::vector<uint32_t> p(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p[static_cast<size_t>(y) * w + x] = Cell(x, y);
    return p;
}

class SpriteTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        ASSERT_NE(LoadPicture(1, 16, 16, Tagged(16, 16)), 0);
        FillScreen(kGround);
    }
    // Every pixel of the screen is either the ground or the picture's pixel (px, py) for
    // a sprite drawn at (x, y); returns the box of the drawn pixels.
    Box ExpectDrawnAt(int32_t x, int32_t y, int32_t clipX = 0, int32_t clipY = 0) {
        Box box = ChangedBox(kGround);
        for (int32_t sy = box.top; sy < box.top + box.height; ++sy)
            for (int32_t sx = box.left; sx < box.left + box.width; ++sx) {
                EXPECT_EQ(ScreenAt(sx, sy), Cell(sx - x + clipX, sy - y + clipY)) << sx << "," << sy;
                if (ScreenAt(sx, sy) != Cell(sx - x + clipX, sy - y + clipY)) return box;
            }
        return box;
    }
};

}  // namespace

TEST_F(SpriteTest, InsideTheScreenTheWholePictureIsCopied) {
    SpriteDraw(1, 100, 200);
    Box b = ExpectDrawnAt(100, 200);
    EXPECT_EQ(b.left, 100);
    EXPECT_EQ(b.top, 200);
    EXPECT_EQ(b.width, 16);
    EXPECT_EQ(b.height, 16);
}

TEST_F(SpriteTest, LeftEdgeShowsOnlyTheColumnsInside) {
    SpriteDraw(1, -15, 10);
    Box b = ExpectDrawnAt(-15, 10);
    EXPECT_EQ(b.left, 0);
    EXPECT_EQ(b.width, 1);  // only the rightmost column
    EXPECT_EQ(b.height, 16);
    EXPECT_EQ(ScreenAt(0, 10), Cell(15, 0));

    FillScreen(kGround);
    SpriteDraw(1, -16, 10);
    EXPECT_EQ(CountNot(kGround), 0);
}

TEST_F(SpriteTest, TopEdgeShowsOnlyTheRowsInside) {
    SpriteDraw(1, 30, -12);
    Box b = ExpectDrawnAt(30, -12);
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.height, 4);
    EXPECT_EQ(ScreenAt(30, 0), Cell(0, 12));

    FillScreen(kGround);
    SpriteDraw(1, 30, -16);
    EXPECT_EQ(CountNot(kGround), 0);
}

TEST_F(SpriteTest, RightAndBottomEdgesCutAtTheScreenSize) {
    SpriteDraw(1, 790, 595);
    Box b = ExpectDrawnAt(790, 595);
    EXPECT_EQ(b.left, 790);
    EXPECT_EQ(b.width, 10);
    EXPECT_EQ(b.top, 595);
    EXPECT_EQ(b.height, 5);
    EXPECT_EQ(ScreenAt(799, 599), Cell(9, 4));

    FillScreen(kGround);
    SpriteDraw(1, 800, 10);
    SpriteDraw(1, 10, 600);
    SpriteDraw(1, INT_MAX, INT_MAX);
    SpriteDraw(1, INT_MIN, INT_MIN);
    EXPECT_EQ(CountNot(kGround), 0);
}

TEST_F(SpriteTest, CornersClipOnBothAxes) {
    SpriteDraw(1, -3, -5);
    Box b = ExpectDrawnAt(-3, -5);
    EXPECT_EQ(b.width, 13);
    EXPECT_EQ(b.height, 11);
    FillScreen(kGround);
    SpriteDraw(1, 799, -15);
    b = ExpectDrawnAt(799, -15);
    EXPECT_EQ(b.width, 1);
    EXPECT_EQ(b.height, 1);
    EXPECT_EQ(ScreenAt(799, 0), Cell(0, 15));
}

TEST_F(SpriteTest, KeyedDrawLeavesTheScreenWhereThePictureIsBlack) {
    std::vector<uint32_t> p = Tagged(4, 4);
    p[0] = 0;           // black: transparent
    p[5] = 0x000001;    // nearly black is a colour on a 32-bit screen
    ASSERT_NE(LoadPicture(2, 4, 4, p), 0);
    SpriteDrawKeyed(2, 10, 10);
    EXPECT_EQ(ScreenAt(10, 10), kGround);
    EXPECT_EQ(ScreenAt(11, 11), 0x000001u);
    EXPECT_EQ(ScreenAt(11, 10), Cell(1, 0));
    SpriteDraw(2, 20, 10);  // the opaque copy draws the black too
    EXPECT_EQ(ScreenAt(20, 10), 0u);
    EXPECT_EQ(CountNot(kGround), 31);
}

TEST_F(SpriteTest, ClipSelectsACellOfASheet) {
    ASSERT_NE(LoadPicture(3, 64, 32, Tagged(64, 32)), 0);
    SpriteClip(3, 32, 16, 16, 16);
    SpriteDraw(3, 50, 60);
    Box b = ExpectDrawnAt(50, 60, 32, 16);
    EXPECT_EQ(b.width, 16);
    EXPECT_EQ(b.height, 16);
    EXPECT_EQ(ScreenAt(50, 60), Cell(32, 16));
    // The clipped cell also clips against the screen from its own corner.
    FillScreen(kGround);
    SpriteDraw(3, -10, -4);
    b = ExpectDrawnAt(-10, -4, 32, 16);
    EXPECT_EQ(b.width, 6);
    EXPECT_EQ(b.height, 12);
    EXPECT_EQ(ScreenAt(0, 0), Cell(42, 20));
    // The overlap box is the cell's.
    EXPECT_EQ(SpritesCollide(3, 0, 0, 1, 16, 0), 0);
    EXPECT_EQ(SpritesCollide(3, 0, 0, 1, 15, 15), 1);
}

TEST_F(SpriteTest, ClipPastTheRightEdgeIsShortenedAndMinusOneRestores) {
    ASSERT_NE(LoadPicture(3, 64, 32, Tagged(64, 32)), 0);
    SpriteClip(3, 60, 20, 16, 16);
    SpriteInfo info = SpriteGetInfo(3);
    EXPECT_EQ(info.width, 4);
    EXPECT_EQ(info.height, 12);
    SpriteClip(3, -1, 5, 5, 5);
    info = SpriteGetInfo(3);
    EXPECT_EQ(info.clipX, 0);
    EXPECT_EQ(info.clipY, 0);
    EXPECT_EQ(info.width, 64);
    EXPECT_EQ(info.height, 32);
}

TEST_F(SpriteTest, ClipReachingOutsideThePictureIsClampedToIt) {
    ASSERT_NE(LoadPicture(3, 64, 32, Tagged(64, 32)), 0);
    SpriteClip(3, -5, -3, 16, 16);  // would copy from before the picture's first pixel
    SpriteInfo info = SpriteGetInfo(3);
    EXPECT_EQ(info.clipX, 0);
    EXPECT_EQ(info.clipY, 0);
    EXPECT_EQ(info.width, 11);
    EXPECT_EQ(info.height, 13);
    SpriteDraw(3, 100, 100);
    Box b = ExpectDrawnAt(100, 100);
    EXPECT_EQ(b.width, 11);
    EXPECT_EQ(b.height, 13);

    SpriteClip(3, 70, 40, 16, 16);  // wholly outside: nothing left to draw
    info = SpriteGetInfo(3);
    EXPECT_EQ(info.width, 0);
    EXPECT_EQ(info.height, 0);
    FillScreen(kGround);
    SpriteDraw(3, 100, 100);
    SpriteDrawKeyed(3, 0, 0);
    EXPECT_EQ(CountNot(kGround), 0);

    SpriteClip(3, 10, 10, -4, INT_MAX);  // negative width, overflowing height
    info = SpriteGetInfo(3);
    EXPECT_EQ(info.width, 0);
    EXPECT_EQ(info.height, 22);
}

TEST_F(SpriteTest, CollisionComparesBoxesAndTouchingEdgesDoNotCount) {
    EXPECT_EQ(SpritesCollide(1, 0, 0, 1, 16, 0), 0);
    EXPECT_EQ(SpritesCollide(1, 0, 0, 1, 0, 16), 0);
    EXPECT_EQ(SpritesCollide(1, 0, 0, 1, 15, 15), 1);
    EXPECT_EQ(SpritesCollide(1, 0, 0, 1, -15, -15), 1);
    EXPECT_EQ(SpritesCollide(1, 0, 0, 1, -16, 0), 0);
    ASSERT_NE(LoadPicture(4, 40, 2, Tagged(40, 2)), 0);
    EXPECT_EQ(SpritesCollide(1, 0, 0, 4, -39, 15), 1);  // the boxes differ in size
    EXPECT_EQ(SpritesCollide(4, -39, 15, 1, 0, 0), 1);
    EXPECT_EQ(SpritesCollide(1, 0, 0, 4, -40, 15), 0);
    EXPECT_EQ(SpritesCollide(1, 0, 0, 9, 0, 0), 0);  // empty slot
    EXPECT_EQ(SpritesCollide(1, INT_MAX, INT_MAX, 1, INT_MIN, INT_MIN), 0);
    EXPECT_EQ(SpritesCollide(1, INT_MAX - 5, 0, 1, INT_MAX - 1, 0), 1);
}

TEST_F(SpriteTest, GrabCopiesTheScreenRectangle) {
    SpriteDraw(1, 10, 20);
    ASSERT_NE(SpriteGrab(5, 12, 23, 4, 3), 0);
    SpriteInfo info = SpriteGetInfo(5);
    ASSERT_NE(info.picture, nullptr);
    EXPECT_EQ(info.width, 4);
    EXPECT_EQ(info.height, 3);
    EXPECT_EQ(info.loadFlags, 0);
    EXPECT_EQ(info.picture->At(0, 0), Cell(2, 3));
    EXPECT_EQ(info.picture->At(3, 2), Cell(5, 5));
    FillScreen(kGround);
    SpriteDraw(5, 0, 0);
    EXPECT_EQ(ScreenAt(3, 2), Cell(5, 5));
    EXPECT_EQ(CountNot(kGround), 12);
}

TEST_F(SpriteTest, GrabOutsideTheScreenCopiesOnlyThePartInside) {
    SpriteDraw(1, 0, 0);
    ASSERT_NE(SpriteGrab(5, -2, -1, 5, 4), 0);
    const Picture& p = *SpriteGetInfo(5).picture;
    ASSERT_EQ(p.width, 5);
    ASSERT_EQ(p.height, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            bool inside = x >= 2 && y >= 1;
            EXPECT_EQ(p.At(x, y), inside ? Cell(x - 2, y - 1) : 0u) << x << "," << y;
        }
    ASSERT_NE(SpriteGrab(6, 798, 598, 4, 4), 0);
    const Picture& q = *SpriteGetInfo(6).picture;
    EXPECT_EQ(q.At(1, 1), kGround);
    EXPECT_EQ(q.At(2, 1), 0u);
    EXPECT_EQ(q.At(1, 2), 0u);
    ASSERT_NE(SpriteGrab(7, 5000, -5000, 3, 3), 0);  // wholly outside: all black
    for (uint32_t v : SpriteGetInfo(7).picture->pixels) EXPECT_EQ(v, 0u);
}

TEST_F(SpriteTest, GrabOfNoSizeFailsAndEmptiesTheSlot) {
    EXPECT_EQ(SpriteGrab(1, 0, 0, 0, 10), 0);
    EXPECT_EQ(SpriteGetInfo(1).picture, nullptr);
    ASSERT_NE(LoadPicture(1, 16, 16, Tagged(16, 16)), 0);
    EXPECT_EQ(SpriteGrab(1, 0, 0, 10, -1), 0);
    EXPECT_EQ(SpriteGetInfo(1).picture, nullptr);
    EXPECT_EQ(SpriteGrab(-1, 0, 0, 10, 10), 0);
}

TEST_F(SpriteTest, TheGamesFullScreenGrabBecomesTheBackground) {
    SpriteDraw(1, 400, 300);
    ASSERT_NE(SpriteGrab(0, 0, 0, 800, 600), 0);
    ASSERT_NE(SpriteGrab(0, 0, 0, 800, 600), 0);  // again into the same slot
    FillScreen(0x123456);
    SpriteDraw(0, 0, 0);
    EXPECT_EQ(ScreenAt(0, 0), kGround);
    EXPECT_EQ(ScreenAt(405, 307), Cell(5, 7));
    EXPECT_EQ(CountNot(kGround), 256);
}

TEST_F(SpriteTest, MissingFileKeepsTheSlotAndABadFileEmptiesIt) {
    EXPECT_EQ(SpriteLoad(1, TempPath("no_such_file.bmp").c_str()), 0);
    EXPECT_NE(SpriteGetInfo(1).picture, nullptr);
    std::string junk = WriteFile("junk.bmp", {'n', 'o', 't', ' ', 'a', ' ', 'b', 'm', 'p'});
    EXPECT_EQ(SpriteLoad(1, junk.c_str()), 0);
    EXPECT_EQ(SpriteGetInfo(1).picture, nullptr);
    SpriteDraw(1, 0, 0);  // an empty slot does nothing
    SpriteDrawKeyed(1, 0, 0);
    SpriteClip(1, 0, 0, 4, 4);
    EXPECT_EQ(CountNot(kGround), 0);
    EXPECT_EQ(SpriteLoad(1, nullptr), 0);
}

TEST_F(SpriteTest, SlotsGrowAndOutOfRangeSlotsAreRefused) {
    EXPECT_NE(LoadPicture(60, 2, 2, Tagged(2, 2), 1), 0);
    EXPECT_EQ(SpriteGetInfo(60).loadFlags, 1);
    EXPECT_EQ(SpriteGetInfo(60).fullWidth, 2);
    EXPECT_NE(LoadPicture(300, 2, 2, Tagged(2, 2)), 0);
    EXPECT_EQ(LoadPicture(-1, 2, 2, Tagged(2, 2)), 0);
    EXPECT_EQ(LoadPicture(1 << 20, 2, 2, Tagged(2, 2)), 0);
    SpriteDraw(300, 1, 1);
    EXPECT_EQ(ScreenAt(2, 2), Cell(1, 1));
    SpriteDraw(INT_MAX, 0, 0);
    SpriteDraw(-5, 0, 0);
    EXPECT_EQ(CountNot(kGround), 4);
}

TEST_F(SpriteTest, RawMemoryPicturesAreNotDrawn) {
    ASSERT_NE(LoadPicture(2, 4, 4, Tagged(4, 4), kSpriteFlagRaw), 0);
    SpriteDraw(2, 0, 0);
    SpriteDrawKeyed(2, 0, 0);
    EXPECT_EQ(CountNot(kGround), 0);
}

TEST_F(SpriteTest, ScreenCloseFreesEverySprite) {
    ScreenClose();
    EXPECT_EQ(SpriteGetInfo(1).picture, nullptr);
    EXPECT_EQ(ScreenBackBuffer(), nullptr);
    SpriteDraw(1, 0, 0);  // no target: nothing happens
    EXPECT_EQ(SpriteGrab(2, 0, 0, 4, 4), 0);
}
