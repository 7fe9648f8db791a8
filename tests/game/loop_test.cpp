// The frame loop on a fake clock, and the start-up with fake facilities.
#include "game/startup.h"
#include "game_fixture.h"

// The clock moves by the sleeps only; events come in turn; the facilities' calls are logged.
static struct Fake {
    uint32_t clock, escapeFrame;
    std::vector<int32_t> events;
    uint32_t nextEvent = 0, sleeps = 0;
    std::string failing = "", calls = "";
} fake{0, 0, {}};

static int32_t Init(const std::string& name) {
    fake.calls += name + " ";
    return fake.failing != name;
}

static Platform FakePlatform() {
    Platform p = DefaultPlatform();
    p.tickMs = [] { return fake.clock; };
    p.sleepMs = [](uint32_t ms) { ++fake.sleeps, fake.clock += ms; };
    p.pollEvent = [] { return fake.nextEvent < fake.events.size() ? fake.events[fake.nextEvent++] : 0; };
    p.runFrame = [] {
        InputFrame in;
        in.keys[1] = loopStats.frames == fake.escapeFrame;
        GameTest::Input(in);
        CheckQuit();
    };
    p.seedRandom = [] { Init("seed"); };
    p.displayInit = [] { return Init("display"); };
    p.rotatedSpritesInit = [] { return Init("rotated"); };
    p.mouseInit = [] { return Init("mouse") ? MouseInit() : 0; };  // the real one keeps the pointer's state
    p.keyboardInit = [] { return Init("keyboard"); };
    p.soundInit = [] { return Init("sound"); };
    p.errorBox = [](const char* title, const char* text) { return Init(std::string(title) + "|" + text + "|"); };
    p.windowOpen = [](int32_t slot, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t flags, const char* title) {
        const bool asked = slot == 1 && x == 0 && y == 0 && w == 800 && h == 600 && flags == 0xC80001u;
        return static_cast<intptr_t>(asked && std::string(title) == "Dreel" && Init("window") ? 42 : 0);
    };
    p.screenOpen = [](intptr_t window, int32_t x, int32_t y, int32_t w, int32_t h, int32_t, int32_t, int32_t) {
        return window == 42 && x + y == 0 && w == 800 && h == 600 ? Init("screen") : 0;
    };
    p.loadData = [] { Init("load"); };
    p.programEnd = [] { Init("end"); };
    return p;
}

// Schedule, clock, passes (< 0: until the clock moved so far; 0: the whole loop), events, Escape's
// frame; then frames, schedule, latest start after due, sleeps, ended. Due 1 ms after the schedule;
// over 40 ms late drops the backlog; 50 a second, across 2^31 and 2^32 too; events wait for frames.
TEST(FrameLoop, FramesOnAFakeClock) {
    struct Case { uint32_t start, clock; int passes; std::vector<int32_t> events; uint32_t escape; Ints expected; };
    const Case cases[] = {
        {1000, 1000, 1, {}, 0, {0, 1000, 0, 1, 0}}, {1000, 1001, 1, {}, 0, {1, 1020, 0, 0, 0}},
        {1000, 1045, 2, {}, 0, {1, 1065, 44, 1, 0}}, {1000, 1040, 3, {}, 0, {2, 1040, 39, 1, 0}},
        {1000, 1030, 3, {}, 0, {2, 1040, 29, 1, 0}}, {5000, 5000, -1000, {}, 0, {50, 6000, 0, 1000, 0}},
        {0x7FFFFF00u, 0x7FFFFF00u, -1000, {}, 0, {50, 0x800002E8u, 0, 1000, 0}},
        {0xFFFFFF00u, 0xFFFFFF00u, -1000, {}, 0, {50, 0x2E8u, 0, 1000, 0}},
        {1000, 1000, 0, {5, 16}, 0, {0, 1000, 0, 0, 1}}, {1000, 1030, 0, {16}, 0, {2, 1040, 29, 0, 1}},
        {1000, 1000, 0, {}, 3, {3, 1060, 0, 41, 1}},
    };
    InputSetScripted(true);
    for (const Case& c : cases) {
        ResetGameState();
        loopStats = LoopStats{};
        fake = Fake{c.clock, c.escape, c.events};
        game.nowMs = game.nextFrameTime = c.start;
        while (c.passes < 0 && fake.clock - c.start < static_cast<uint32_t>(-c.passes)) RunLoopPass(FakePlatform());
        for (int pass = 0; pass < c.passes; ++pass) RunLoopPass(FakePlatform());
        if (c.passes == 0) RunFrameLoop(FakePlatform());
        EXPECT_EQ(V(loopStats.frames, game.nextFrameTime, loopStats.maxLateMs, fake.sleeps, game.quitRequested),
                  c.expected) << &c - cases;
    }
}

// A failing facility shows its box (a window or screen: a line on stderr), stops the rest, exits 1.
TEST(StartUp, EachFailureAndTheGoodStart) {
    const std::string steps[] = {"display", "rotated", "mouse", "keyboard", "sound", "window", "screen", ""};
    const std::string boxes[] = {"Sprite", "Sprite", "Mouse", "Keyboard", "Sound"};
    InputSetScripted(false);  // the real mouse, whose pointer is given back
    for (int i = 0; i < 8; ++i) {
        fake = Fake{777, 0, {16}, 0, 0, steps[i]};  // the close box at once: no frame
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunGame(FakePlatform()), i < 7 ? 1 : 0) << steps[i];
        const std::string err = testing::internal::GetCapturedStderr();
        std::string calls = "seed ";
        for (int j = 0; j <= i && j < 7; ++j) calls += steps[j] + " ";
        EXPECT_EQ(fake.calls, calls + (i < 5 ? "Varnok Dreel|" + boxes[i] + "| " : i < 7 ? "" : "load ") + "end ");
        EXPECT_EQ(err.empty(), i < 5 || i == 7) << steps[i] << ": " << err;
    }
    EXPECT_EQ(MouseExamine(), 0) << "the pointer was given back at the end";
    MouseEnd();
    EXPECT_EQ(V(game.playerPos.x, ListCount(game.enemyList), game.nextFrameTime), V(4000, 11, 777));
}
