// The frame loop driven by a fake clock: when frames run, how the schedule moves,
// how window events and sleeps fill the idle passes, and how the loop ends.
#include <gtest/gtest.h>

#include <vector>

#include "game/frame_loop.h"
#include "game/startup.h"
#include "game/state.h"

namespace {

// The fake world the loop sees.
struct Fake {
    uint32_t clock = 0;
    uint32_t step = 0;  // advance of the clock at every reading
    int frames = 0;
    int sleeps = 0;
    int quitAfterFrame = -1;         // the frame in which "Escape" is held
    std::vector<int32_t> events;     // returned by successive polls, then 0
    size_t nextEvent = 0;
    std::vector<uint32_t> frameStarts;  // clock reading of each frame
};
Fake fake;

uint32_t FakeTick() {
    uint32_t now = fake.clock;
    fake.clock += fake.step;
    return now;
}
void FakeSleep(uint32_t ms) {
    ++fake.sleeps;
    fake.clock += ms;
}
int32_t FakePoll() {
    return fake.nextEvent < fake.events.size() ? fake.events[fake.nextEvent++] : 0;
}
void FakeFrame() {
    ++fake.frames;
    fake.frameStarts.push_back(game.nowMs);
    if (fake.frames == fake.quitAfterFrame) game.quitRequested = 1;
}

Platform FakePlatform() {
    Platform p = DefaultPlatform();
    p.tickMs = FakeTick;
    p.sleepMs = FakeSleep;
    p.pollEvent = FakePoll;
    p.runFrame = FakeFrame;
    return p;
}

class FrameLoop : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGameState();
        fake = Fake{};
    }
    // The state right after start-up step 12 with the clock at t.
    void StartAt(uint32_t t) {
        fake.clock = t;
        game.nowMs = t;
        game.nextFrameTime = t;
    }
};

TEST_F(FrameLoop, ClockEqualToScheduleRunsNoFrameAndSleeps) {
    StartAt(1000);
    Platform p = FakePlatform();
    EXPECT_FALSE(RunLoopPass(p));
    EXPECT_EQ(fake.frames, 0);
    EXPECT_EQ(fake.sleeps, 1);
    EXPECT_EQ(game.nextFrameTime, 1000u);
}

TEST_F(FrameLoop, FirstFrameRunsOnceTheClockHasMovedPastStart) {
    StartAt(1000);
    fake.clock = 1001;
    Platform p = FakePlatform();
    EXPECT_TRUE(RunLoopPass(p));
    EXPECT_EQ(fake.frames, 1);
    EXPECT_EQ(game.nextFrameTime, 1020u);
    EXPECT_EQ(fake.sleeps, 0);  // a frame pass never sleeps
}

TEST_F(FrameLoop, MoreThanFortyMsLateDropsTheBacklog) {
    StartAt(1000);
    fake.clock = 1045;
    Platform p = FakePlatform();
    EXPECT_TRUE(RunLoopPass(p));
    EXPECT_EQ(game.nextFrameTime, 1065u);  // that clock value + 20
    EXPECT_FALSE(RunLoopPass(p));          // and nothing more is due at once
    EXPECT_EQ(fake.frames, 1);
}

TEST_F(FrameLoop, ThirtyMsLateCatchesUpWithAFrameRightAfter) {
    StartAt(1000);
    fake.clock = 1030;
    Platform p = FakePlatform();
    EXPECT_TRUE(RunLoopPass(p));
    EXPECT_EQ(game.nextFrameTime, 1020u);  // still 10 ms in the past
    EXPECT_TRUE(RunLoopPass(p));           // so the next pass runs another frame
    EXPECT_EQ(game.nextFrameTime, 1040u);
    EXPECT_FALSE(RunLoopPass(p));
    EXPECT_EQ(fake.frames, 2);
}

TEST_F(FrameLoop, ExactlyFortyMsLateOnlyAdvancesTheSchedule) {
    StartAt(1000);
    fake.clock = 1040;
    Platform p = FakePlatform();
    EXPECT_TRUE(RunLoopPass(p));
    EXPECT_EQ(game.nextFrameTime, 1020u);
}

TEST_F(FrameLoop, SteadyClockGivesFiftyFramesASecondEvenlySpaced) {
    StartAt(5000);
    fake.step = 0;  // only the 1 ms sleeps move the clock
    Platform p = FakePlatform();
    while (fake.clock < 6000) RunLoopPass(p);
    EXPECT_EQ(fake.frames, 50);
    for (size_t i = 1; i < fake.frameStarts.size(); ++i)
        EXPECT_EQ(fake.frameStarts[i] - fake.frameStarts[i - 1], 20u);
}

// The clock crosses 2^31 (where signed readings turn negative) and 2^32 (where they
// wrap to 0): frames keep coming every 20 ms.
TEST_F(FrameLoop, KeepsRunningAcrossTheClocksSignAndWrapBoundaries) {
    for (uint32_t start : {0x7FFFFF00u, 0xFFFFFF00u}) {
        SetUp();
        StartAt(start);
        Platform p = FakePlatform();
        while (fake.clock - start < 1000) RunLoopPass(p);
        EXPECT_EQ(fake.frames, 50) << std::hex << start;
        for (size_t i = 1; i < fake.frameStarts.size(); ++i)
            EXPECT_EQ(fake.frameStarts[i] - fake.frameStarts[i - 1], 20u) << std::hex << start;
    }
}

TEST_F(FrameLoop, CloseEventEndsTheLoopWithoutAnotherFrame) {
    StartAt(1000);
    fake.events = {5, 16};  // a size event is ignored, the close box ends the loop
    Platform p = FakePlatform();
    RunFrameLoop(p);
    EXPECT_EQ(fake.frames, 0);
    EXPECT_EQ(game.quitRequested, 1);
    EXPECT_EQ(fake.sleeps, 0);  // passes that served an event did not sleep
    EXPECT_EQ(game.windowEvent, 16);
}

TEST_F(FrameLoop, WindowEventsWaitWhileFramesAreDue) {
    StartAt(1000);
    fake.clock = 1030;  // two frames due back to back
    fake.events = {16};
    Platform p = FakePlatform();
    RunFrameLoop(p);
    EXPECT_EQ(fake.frames, 2);
    EXPECT_EQ(game.quitRequested, 1);
}

TEST_F(FrameLoop, QuitInAFrameEndsTheLoopAfterThatFrame) {
    StartAt(1000);
    fake.step = 0;
    fake.quitAfterFrame = 3;
    fake.events = {};
    Platform p = FakePlatform();
    RunFrameLoop(p);
    EXPECT_EQ(fake.frames, 3);
}

}  // namespace
