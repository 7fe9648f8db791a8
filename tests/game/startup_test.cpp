// Start-up: the order of the facility checks, what a failure shows and leaves
// untouched, the exit code, and the state of play after a good start.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/startup.h"
#include "game/state.h"

namespace {

struct Record {
    std::vector<std::string> calls;
    std::vector<std::string> boxes;  // "title|text"
    std::string failing;             // the facility that fails
    uint32_t clock = 777;
};
Record rec;

int32_t Init(const char* name) {
    rec.calls.push_back(name);
    return rec.failing == name ? 0 : 1;
}
int32_t FakeDisplay() { return Init("display"); }
int32_t FakeRotated() { return Init("rotated"); }
int32_t FakeMouse() { return Init("mouse"); }
int32_t FakeKeyboard() { return Init("keyboard"); }
int32_t FakeSound() { return Init("sound"); }
int32_t FakeBox(const char* title, const char* text) {
    rec.boxes.push_back(std::string(title) + "|" + text);
    return 1;
}
intptr_t FakeWindow(int32_t slot, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t flags,
                    const char* title) {
    rec.calls.push_back("window " + std::to_string(slot) + " " + std::to_string(x) + "," +
                        std::to_string(y) + " " + std::to_string(w) + "x" + std::to_string(h) +
                        " " + std::to_string(flags) + " " + title);
    return rec.failing == "window" ? 0 : 42;
}
int32_t FakeScreen(intptr_t window, int32_t, int32_t, int32_t w, int32_t h, int32_t, int32_t, int32_t) {
    rec.calls.push_back("screen " + std::to_string(window) + " " + std::to_string(w) + "x" +
                        std::to_string(h));
    return rec.failing == "screen" ? 0 : 1;
}
uint32_t FakeTick() { return rec.clock; }
void FakeSeed() { rec.calls.push_back("seed"); }
void FakeLoad() { rec.calls.push_back("load"); }
void FakeEnd() { rec.calls.push_back("end"); }
int32_t FakePoll() { return 16; }  // the close box at once: the loop ends without a frame
void FakeFrame() { rec.calls.push_back("frame"); }

Platform FakePlatform() {
    Platform p = DefaultPlatform();
    p.tickMs = FakeTick;
    p.seedRandom = FakeSeed;
    p.displayInit = FakeDisplay;
    p.rotatedSpritesInit = FakeRotated;
    p.mouseInit = FakeMouse;
    p.keyboardInit = FakeKeyboard;
    p.soundInit = FakeSound;
    p.errorBox = FakeBox;
    p.windowOpen = FakeWindow;
    p.screenOpen = FakeScreen;
    p.loadData = FakeLoad;
    p.pollEvent = FakePoll;
    p.runFrame = FakeFrame;
    p.programEnd = FakeEnd;
    return p;
}

const std::vector<std::string> kGoodStart = {
    "seed", "display", "rotated", "mouse", "keyboard", "sound",
    "window 1 0,0 800x600 13107201 Dreel", "screen 42 800x600", "load", "end"};

class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override { rec = Record{}; }
};

TEST_F(StartUpTest, GoodStartRunsEveryStepInOrderAndEndsWithZero) {
    EXPECT_EQ(RunGame(FakePlatform()), 0);
    EXPECT_EQ(rec.calls, kGoodStart);
    EXPECT_TRUE(rec.boxes.empty());
}

TEST_F(StartUpTest, StateOfPlayAfterStartUp) {
    ASSERT_TRUE(StartUp(FakePlatform()));
    EXPECT_EQ(game.playerPos.x, 4000);
    EXPECT_EQ(game.playerPos.y, 3000);
    EXPECT_EQ(game.nowMs, 777u);
    EXPECT_EQ(game.nextFrameTime, 777u);
    EXPECT_EQ(ListCount(game.enemyList), 11);
    EXPECT_EQ(ListCount(game.shotList), 0);
    EXPECT_EQ(game.quitRequested, 0);
    EXPECT_EQ(game.playerDamage, 0);
}

// Each facility failing in turn: one box with its text, the later facilities never
// tried, no window, the end step, exit code 1.
TEST_F(StartUpTest, FailingFacilityShowsItsBoxAndStopsTheRest) {
    struct Case {
        const char* facility;
        const char* text;
    };
    const Case cases[] = {{"display", "Sprite"}, {"rotated", "Sprite"}, {"mouse", "Mouse"},
                          {"keyboard", "Keyboard"}, {"sound", "Sound"}};
    const std::vector<std::string> order = {"display", "rotated", "mouse", "keyboard", "sound"};
    for (const Case& c : cases) {
        rec = Record{};
        rec.failing = c.facility;
        EXPECT_EQ(RunGame(FakePlatform()), 1) << c.facility;
        ASSERT_EQ(rec.boxes.size(), 1u) << c.facility;
        EXPECT_EQ(rec.boxes[0], std::string("Varnok Dreel|") + c.text);
        std::vector<std::string> expected = {"seed"};
        for (const auto& f : order) {
            expected.push_back(f);
            if (f == c.facility) break;
        }
        expected.push_back("end");
        EXPECT_EQ(rec.calls, expected) << c.facility;
    }
}

TEST_F(StartUpTest, WindowOrScreenFailureEndsWithoutBoxButWithAReason) {
    for (const char* failing : {"window", "screen"}) {
        rec = Record{};
        rec.failing = failing;
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunGame(FakePlatform()), 1) << failing;
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(rec.boxes.empty()) << failing;
        EXPECT_NE(err.find(failing), std::string::npos) << err;
        EXPECT_EQ(rec.calls.back(), "end");
        for (const auto& call : rec.calls) EXPECT_NE(call, "load");
    }
}

}  // namespace
