// The input script parser: what counts as a frame line, how fields are read, and how a
// malformed line is reported.
#include <gtest/gtest.h>

#include "tools/replay/script.h"

namespace {

ScriptFrame Frame(int32_t dx, int32_t dy, int32_t wheel, uint32_t buttons, std::vector<int32_t> keys = {}) {
    ScriptFrame f;
    f.dx = dx;
    f.dy = dy;
    f.wheel = wheel;
    f.buttons = buttons;
    f.keys = std::move(keys);
    return f;
}

TEST(ScriptParse, FullLinesGiveOneFrameEach) {
    ScriptResult r = ParseScript("5 -3 1 5 17,30\n-1000 800 -2 0 -\n");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.frames.size(), 2u);
    EXPECT_EQ(r.frames[0], Frame(5, -3, 1, 5, {17, 30}));
    EXPECT_EQ(r.frames[1], Frame(-1000, 800, -2, 0));
}

TEST(ScriptParse, CommentsAndBlankLinesAreNotFrames) {
    ScriptResult r = ParseScript("# a heading comment\n\n   \t\n1 2 # turn a little\n#\n3 4\n   # indented comment\n");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.frames.size(), 2u);
    EXPECT_EQ(r.frames[0], Frame(1, 2, 0, 0));
    EXPECT_EQ(r.frames[1], Frame(3, 4, 0, 0));
}

TEST(ScriptParse, CommentMayFollowAFieldWithoutSpace) {
    ScriptResult r = ParseScript("0 0 0 1 57#space and fire\n");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.frames.size(), 1u);
    EXPECT_EQ(r.frames[0], Frame(0, 0, 0, 1, {57}));
}

TEST(ScriptParse, MissingTrailingFieldsReadAsZeroOrNone) {
    ScriptResult r = ParseScript("7\n7 8\n7 8 9\n7 8 9 2\n0\n");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.frames.size(), 5u);
    EXPECT_EQ(r.frames[0], Frame(7, 0, 0, 0));
    EXPECT_EQ(r.frames[1], Frame(7, 8, 0, 0));
    EXPECT_EQ(r.frames[2], Frame(7, 8, 9, 0));
    EXPECT_EQ(r.frames[3], Frame(7, 8, 9, 2));
    EXPECT_EQ(r.frames[4], Frame(0, 0, 0, 0));
}

TEST(ScriptParse, TabsCarriageReturnsAndNoFinalNewline) {
    ScriptResult r = ParseScript("1\t2\t0\t4\t-\r\n3  4\r\n5 6");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.frames.size(), 3u);
    EXPECT_EQ(r.frames[0], Frame(1, 2, 0, 4));
    EXPECT_EQ(r.frames[1], Frame(3, 4, 0, 0));
    EXPECT_EQ(r.frames[2], Frame(5, 6, 0, 0));
}

TEST(ScriptParse, EmptyScriptHasNoFrames) {
    for (const char* text : {"", "\n\n", "# only a comment\n"}) {
        ScriptResult r = ParseScript(text);
        EXPECT_TRUE(r.ok) << text;
        EXPECT_TRUE(r.frames.empty()) << text;
    }
}

TEST(ScriptParse, ExtremeValuesOfEachField) {
    ScriptResult r = ParseScript("-2147483648 2147483647 0 7 1,255\n");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.frames[0], Frame(INT32_MIN, INT32_MAX, 0, 7, {1, 255}));
}

// Each malformed line names its own line number, counting blank and comment lines.
TEST(ScriptParse, MalformedLinesAreReportedWithTheirLineNumber) {
    struct Case {
        const char* text;
        int32_t line;
    } cases[] = {
        {"x\n", 1},                          // not a number
        {"0 0\n\n# note\n1 2 3 4 5 6\n", 4}, // six fields
        {"0 0 0 8\n", 1},                    // button bits beyond the three buttons
        {"0 0 0 -1\n", 1},                   // negative mask
        {"0 0 0 0 256\n", 1},                // no key 256
        {"0 0 0 0 0\n", 1},                  // no key 0
        {"0 0 0 0 1,,2\n", 1},               // empty key between commas
        {"0 0 0 0 17,\n", 1},                // trailing comma
        {"0 0 0 0 a\n", 1},                  // not a key list
        {"1\n2\n3 2147483648\n", 3},         // dy beyond 32 bits
        {"1.5\n", 1},                        // not an integer
        {"0 0 +1\n", 1},                     // no plus sign
        {"0 0 0 0 --\n", 1},                 // '-' means no keys, '--' nothing
    };
    for (const Case& c : cases) {
        ScriptResult r = ParseScript(c.text);
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_EQ(r.errorLine, c.line) << c.text;
        EXPECT_FALSE(r.error.empty()) << c.text;
        EXPECT_TRUE(r.frames.empty()) << c.text;
    }
}

TEST(ScriptParse, ErrorSaysWhichFieldIsWrong) {
    EXPECT_NE(ParseScript("0 0 0 9\n").error.find("buttons"), std::string::npos);
    EXPECT_NE(ParseScript("0 zz\n").error.find("dy"), std::string::npos);
    EXPECT_NE(ParseScript("0 0 0 0 300\n").error.find("300"), std::string::npos);
}

TEST(ScriptInput, ButtonBitsAndKeysReachTheSnapshot) {
    InputFrame in = ToInputFrame(Frame(-4, 9, -1, 5, {1, 57, 255}));
    EXPECT_EQ(in.dx, -4);
    EXPECT_EQ(in.dy, 9);
    EXPECT_EQ(in.wheel, -1);
    EXPECT_EQ(in.buttons[0], 1);  // bit 1: left
    EXPECT_EQ(in.buttons[1], 0);  // bit 2: right
    EXPECT_EQ(in.buttons[2], 1);  // bit 4: middle
    int held = 0;
    for (int k = 0; k < 256; ++k) held += in.keys[k] != 0;
    EXPECT_EQ(held, 3);
    EXPECT_NE(in.keys[1], 0);
    EXPECT_NE(in.keys[57], 0);
    EXPECT_NE(in.keys[255], 0);

    InputFrame right = ToInputFrame(Frame(0, 0, 0, 2));
    EXPECT_EQ(right.buttons[0], 0);
    EXPECT_EQ(right.buttons[1], 1);
    EXPECT_EQ(right.buttons[2], 0);
}

}  // namespace
