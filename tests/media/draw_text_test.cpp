// Text drawing: the box, its colours and place, the running position within a block and
// from block to block, and the rules of the screen's drawing target.
#include <gtest/gtest.h>

#include <string>

#include "tests/media/draw_fixture.h"

using namespace drawtest;

namespace {

constexpr uint32_t kGround = 0x3060C0;  // no grey: every pixel of a text box differs from it

class TextTest : public ScreenTest {
protected:
    // One block with the given texts on a fresh ground; the box they leave.
    Box Write(std::initializer_list<const char*> texts) {
        FillScreen(kGround);
        EXPECT_NE(DrawBegin(ScreenDrawTarget()), nullptr);
        for (const char* t : texts) TextDraw(t);
        DrawEnd();
        return ChangedBox(kGround);
    }
};

}  // namespace

TEST_F(TextTest, TheGamesLineIsBlackOnAWhiteBoxInTheTopLeftCorner) {
    Box b = Write({"0 0/0"});
    EXPECT_EQ(b.left, 0);
    EXPECT_EQ(b.top, 0);
    EXPECT_GE(b.height, 10);
    EXPECT_LE(b.height, 24);
    EXPECT_EQ(CountNot(kGround), b.width * b.height);  // opaque, no holes
    int dark = 0;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) {
            uint32_t v = ScreenAt(x, y);
            ASSERT_TRUE(v >> 16 == ((v >> 8) & 255) && v >> 16 == (v & 255)) << x << "," << y << ": not grey";
            dark += v < 0x404040;
        }
    EXPECT_GT(dark, 10);  // the characters are there, in black
    EXPECT_EQ(ScreenAt(0, 0), 0xFFFFFFu);
    EXPECT_EQ(ScreenAt(b.width - 1, b.height - 1), 0xFFFFFFu);
}

TEST_F(TextTest, TheBoxIsAsWideAsTheTextAndAsHighAsTheLine) {
    Box one = Write({"0"}), five = Write({"00000"}), other = Write({"Wg|"}), accented = Write({"\xE9"});
    EXPECT_GT(one.width, 3);
    EXPECT_EQ(five.width, 5 * one.width);  // one fixed advance per character
    EXPECT_EQ(other.width, 3 * one.width);
    EXPECT_EQ(accented.width, one.width);  // 8-bit characters are drawn too
    EXPECT_EQ(five.height, one.height);
    EXPECT_EQ(other.height, one.height);
    EXPECT_EQ(TextMeasure("00000").width, five.width);
    EXPECT_EQ(TextMeasure("00000").height, five.height);
}

TEST_F(TextTest, TextsOfABlockRunOnAndEveryBlockStartsAtTheCorner) {
    Write({"1234"});
    Pixels whole = ScreenBackBuffer()->pixels;
    Write({"12", "34"});
    EXPECT_EQ(ScreenBackBuffer()->pixels, whole);
    Write({"B"});
    Pixels alone = ScreenBackBuffer()->pixels;
    Box a = Write({"AAAA"});
    DrawBegin(ScreenDrawTarget());
    TextDraw("B");  // over the first A, not after the last
    DrawEnd();
    EXPECT_EQ(ChangedBox(kGround), a);
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width / 4; ++x) ASSERT_EQ(ScreenAt(x, y), alone[static_cast<size_t>(y) * 800 + x]);
}

TEST_F(TextTest, NothingIsDrawnOutsideABlockOrForNoText) {
    EXPECT_EQ(Write({"", nullptr}).width, 0);
    TextDraw("outside a block");
    ASSERT_NE(DrawBegin(ScreenDrawTarget()), nullptr);
    EXPECT_EQ(DrawBegin(nullptr), nullptr);  // ends the open block
    TextDraw("lost");
    DrawTarget stranger;
    EXPECT_EQ(DrawBegin(&stranger), nullptr);  // only the screen's own record opens a block
    TextDraw("lost");
    EXPECT_EQ(CountNot(kGround), 0);
}

TEST_F(TextTest, TheScreenTargetIsHandedOutOnceUntilTheBlockOrFrameEnds) {
    DrawTarget* t = ScreenDrawTarget();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->kind, 7);
    EXPECT_EQ(ScreenDrawTarget(), nullptr);
    ASSERT_NE(DrawBegin(t), nullptr);
    EXPECT_EQ(ScreenDrawTarget(), nullptr);
    DrawEnd();
    ASSERT_NE(DrawBegin(ScreenDrawTarget()), nullptr);
    TextDraw("x");
    int drawn = CountNot(kGround);
    ScreenFlip();  // closes the block left open
    TextDraw("yyyyyyyy");
    EXPECT_EQ(CountNot(kGround), drawn);
    EXPECT_NE(ScreenDrawTarget(), nullptr);
    ScreenClose();
    EXPECT_EQ(ScreenDrawTarget(), nullptr);  // no screen, no target
}

TEST_F(TextTest, TextRunningPastTheRightEdgeIsCut) {
    std::string longLine(300, 'M');
    Box b = Write({longLine.c_str(), "more"});
    EXPECT_EQ(b.width, 800);
    EXPECT_EQ(ScreenAt(799, 0), 0xFFFFFFu);
    EXPECT_EQ(ScreenAt(0, b.height), kGround);
}

TEST_F(TextTest, RepeatedLinesComeOutTheSame) {
    // More different lines than are kept ready-made, drawn twice over.
    std::vector<Pixels> first;
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < 12; ++i) {
            std::string line = std::to_string(i) + " " + std::to_string(i * 7) + "/" + std::to_string(i * 13);
            Write({line.c_str()});
            if (round == 0) {
                first.push_back(ScreenBackBuffer()->pixels);
            } else {
                ASSERT_EQ(ScreenBackBuffer()->pixels, first[static_cast<size_t>(i)]) << line;
            }
        }
    EXPECT_NE(first[1], first[2]);
}

TEST_F(TextTest, TheFontComesBackAfterTheDisplayEnds) {
    Box before = Write({"0 0/0"});
    TearDown();
    SetUp();
    EXPECT_EQ(Write({"0 0/0"}), before);
}
