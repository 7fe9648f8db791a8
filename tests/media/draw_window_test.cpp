// Window and screen: the game's window, events, the back buffer, presenting and pacing,
// and starting and ending the layer more than once in one process.
#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>

#include "media/input.h"
#include "tests/media/draw_fixture.h"

using namespace drawtest;

namespace {

class WindowTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Drain();
    }
    SDL_Window* Sdl() { return SDL_GetWindowFromID(static_cast<uint32_t>(window)); }
    void Drain() {
        for (int i = 0; i < 1000 && WindowPollEvent() != 0; ++i) {
        }
    }
    void PushWindowEvent(uint8_t what) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = what;
        e.window.windowID = static_cast<uint32_t>(window);
        ASSERT_EQ(SDL_PushEvent(&e), 1);
    }
    // What the window shows after the last present, read back from the renderer.
    std::vector<uint32_t> Presented(int w, int h) {
        std::vector<uint32_t> shown(static_cast<size_t>(w) * h);
        SDL_Renderer* r = SDL_GetRenderer(Sdl());
        EXPECT_NE(r, nullptr);
        if (r) {
            EXPECT_EQ(SDL_RenderReadPixels(r, nullptr, SDL_PIXELFORMAT_RGB888, shown.data(), w * 4), 0);
        }
        for (uint32_t& v : shown) v &= 0xFFFFFF;
        return shown;
    }
};

}  // namespace

TEST_F(WindowTest, TheGamesWindowIsTitledSizedCentredAndFixed) {
    SDL_Window* w = Sdl();
    ASSERT_NE(w, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(w), "Dreel");
    int cw = 0, ch = 0;
    SDL_GetWindowSize(w, &cw, &ch);
    EXPECT_EQ(cw, 800);
    EXPECT_EQ(ch, 600);
    uint32_t flags = SDL_GetWindowFlags(w);
    EXPECT_EQ(flags & SDL_WINDOW_RESIZABLE, 0u);
    EXPECT_EQ(flags & SDL_WINDOW_BORDERLESS, 0u);
    EXPECT_EQ(flags & SDL_WINDOW_FULLSCREEN, 0u);
    EXPECT_NE(flags & SDL_WINDOW_SHOWN, 0u);
    SDL_Rect desktop;
    ASSERT_EQ(SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(w), &desktop), 0);
    int x = 0, y = 0;
    SDL_GetWindowPosition(w, &x, &y);
    EXPECT_EQ(x, desktop.x + (desktop.w - 800) / 2);
    EXPECT_EQ(y, desktop.y + (desktop.h - 600) / 2);
    EXPECT_TRUE(WindowIsOpen());
    EXPECT_EQ(WindowHandle(), window);
}

TEST_F(WindowTest, StyleBitsChooseVisibilityAndFrameAndPositionWithoutCentring) {
    intptr_t hidden = WindowOpen(2, 30, 40, 200, 100, 0x10000000u | 0xC80000u, "hidden");
    ASSERT_NE(hidden, 0);
    SDL_Window* h = SDL_GetWindowFromID(static_cast<uint32_t>(hidden));
    EXPECT_NE(SDL_GetWindowFlags(h) & SDL_WINDOW_HIDDEN, 0u);
    int x = 0, y = 0;
    SDL_GetWindowPosition(h, &x, &y);
    EXPECT_EQ(x, 30);
    EXPECT_EQ(y, 40);
    intptr_t bare = WindowOpen(3, 0, 0, 50, 50, 0x80000000u, "pop-up");  // no caption bits
    ASSERT_NE(bare, 0);
    EXPECT_NE(SDL_GetWindowFlags(SDL_GetWindowFromID(static_cast<uint32_t>(bare))) & SDL_WINDOW_BORDERLESS, 0u);
    EXPECT_EQ(WindowHandle(), bare);  // the window opened last
}

TEST_F(WindowTest, ReopeningASlotReplacesItsWindow) {
    intptr_t second = WindowOpen(1, 0, 0, 320, 200, 0xC80001u, "again");
    ASSERT_NE(second, 0);
    EXPECT_NE(second, window);
    EXPECT_EQ(SDL_GetWindowFromID(static_cast<uint32_t>(window)), nullptr);
    EXPECT_EQ(WindowOpen(-1, 0, 0, 10, 10, 0, "x"), 0);
    EXPECT_EQ(WindowOpen(5, 0, 0, 0, 10, 0, "x"), 0);
    EXPECT_NE(WindowOpen(45, 0, 0, 10, 10, 0, "grows the table"), 0);
}

TEST_F(WindowTest, CloseBoxIsReportedOnceAndTheWindowStays) {
    EXPECT_EQ(WindowPollEvent(), 0);
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    EXPECT_EQ(WindowPollEvent(), kEventClose);
    EXPECT_EQ(WindowPollEvent(), 0);
    EXPECT_TRUE(WindowIsOpen());
    EXPECT_NE(Sdl(), nullptr);
    SDL_Event quit{};
    quit.type = SDL_QUIT;  // the system asking the program to end
    SDL_PushEvent(&quit);
    EXPECT_EQ(WindowPollEvent(), kEventClose);
}

TEST_F(WindowTest, OneEventPerPollAndSizeChangesAreFive) {
    PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    PushWindowEvent(SDL_WINDOWEVENT_RESTORED);
    SDL_Event user{};
    user.type = SDL_USEREVENT;
    SDL_PushEvent(&user);
    EXPECT_EQ(WindowPollEvent(), kEventSize);
    EXPECT_EQ(WindowPollEvent(), kEventSize);
    int32_t other = WindowPollEvent();
    EXPECT_NE(other, 0);
    EXPECT_NE(other, kEventClose);
    EXPECT_NE(other, kEventSize);
    EXPECT_EQ(WindowPollEvent(), 0);
}

TEST_F(WindowTest, PolledKeyPressesReachTheKeyboard) {
    ASSERT_NE(KeyboardInit(), 0);
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    SDL_PushEvent(&key);
    key.type = SDL_KEYUP;
    SDL_PushEvent(&key);
    EXPECT_NE(WindowPollEvent(), 0);  // the tap is taken off the queue here...
    EXPECT_NE(WindowPollEvent(), 0);
    KeyboardExamine();
    EXPECT_EQ(KeyDown(1), 128);  // ...and still seen by the next examination
    KeyboardEnd();
}

TEST_F(WindowTest, BackBufferStartsBlackAndPersistsAcrossFlips) {
    Picture* back = ScreenBackBuffer();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->width, 800);
    EXPECT_EQ(back->height, 600);
    EXPECT_EQ(CountNot(0), 0);
    EXPECT_EQ(CurrentTarget(), back);
    back->Row(10)[20] = 0xABCDEF;
    ScreenFlip();
    ScreenFlip();
    EXPECT_EQ(ScreenBackBuffer(), back);
    EXPECT_EQ(ScreenAt(20, 10), 0xABCDEFu);
    EXPECT_EQ(CountNot(0), 1);
    EXPECT_EQ(kPixelFormatCode, 7);
}

TEST_F(WindowTest, FlipPresentsTheBackBufferIntoTheWindow) {
    Picture* back = ScreenBackBuffer();
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) back->Row(y)[x] = static_cast<uint32_t>(x * 0x10001 ^ y * 0x100);
    ScreenFlip();
    std::vector<uint32_t> shown = Presented(800, 600);
    for (uint32_t& v : back->pixels) v &= 0xFFFFFF;
    EXPECT_EQ(shown, back->pixels);
}

TEST_F(WindowTest, ScreenOffsetMovesThePresentedPicture) {
    ScreenClose();
    ASSERT_NE(ScreenOpenInWindow(window, 10, 20, 100, 50, 0, 0, 0), 0);
    FillScreen(0xFFFFFF);
    ScreenFlip();
    std::vector<uint32_t> shown = Presented(800, 600);
    auto at = [&](int x, int y) { return shown[static_cast<size_t>(y) * 800 + x]; };
    EXPECT_EQ(at(10, 20), 0xFFFFFFu);
    EXPECT_EQ(at(109, 69), 0xFFFFFFu);
    EXPECT_EQ(at(9, 20), 0u);
    EXPECT_EQ(at(110, 20), 0u);
    EXPECT_EQ(at(10, 70), 0u);
}

TEST_F(WindowTest, AutoStretchFillsTheWindowLessTheMargins) {
    ScreenClose();
    ASSERT_NE(ScreenOpenInWindow(window, 0, 0, 100, 50, 1, 200, 100), 0);
    FillScreen(0xFFFFFF);
    ScreenFlip();
    std::vector<uint32_t> shown = Presented(800, 600);
    auto at = [&](int x, int y) { return shown[static_cast<size_t>(y) * 800 + x]; };
    EXPECT_EQ(at(599, 499), 0xFFFFFFu);
    EXPECT_EQ(at(600, 0), 0u);
    EXPECT_EQ(at(0, 500), 0u);
}

TEST_F(WindowTest, PresentsArePacedAtLeastOneIntervalApart) {
    ScreenSetPacing(true);
    auto start = std::chrono::steady_clock::now();
    ASSERT_NE(SetFrameRate(60), 0);
    // The first wait after setting the rate lasts a whole interval of 1/61 s, and each
    // later one ends an interval after the previous wait ended.
    ScreenFlip();
    ScreenFlip();
    ScreenFlip();
    auto third = std::chrono::steady_clock::now();
    EXPECT_GE(std::chrono::duration<double>(third - start).count(), 3.0 / 61.0);
}

TEST_F(WindowTest, FrameRateMustNotBeNegative) {
    EXPECT_EQ(SetFrameRate(-1), 0);
    EXPECT_EQ(SetFrameRate(-100), 0);
    EXPECT_NE(SetFrameRate(120), 0);
}

TEST_F(WindowTest, ScreenNeedsAWindowOfOurs) {
    ScreenClose();
    EXPECT_EQ(ScreenOpenInWindow(0, 0, 0, 800, 600, 0, 0, 0), 0);
    EXPECT_EQ(ScreenOpenInWindow(window + 1000, 0, 0, 800, 600, 0, 0, 0), 0);
    EXPECT_EQ(ScreenOpenInWindow(-5, 0, 0, 800, 600, 0, 0, 0), 0);
    EXPECT_EQ(ScreenOpenInWindow(window, 0, 0, 0, 600, 0, 0, 0), 0);
    EXPECT_EQ(ScreenOpenInWindow(window, 0, 0, 100000, 600, 0, 0, 0), 0);
    EXPECT_EQ(ScreenBackBuffer(), nullptr);
    ScreenFlip();  // nothing to present: nothing happens
}

TEST_F(WindowTest, ClosingTheWindowsFirstLeavesFlipHarmless) {
    // The program's end closes the windows before the display.
    WindowsCloseAll();
    EXPECT_FALSE(WindowIsOpen());
    EXPECT_EQ(WindowHandle(), 0);
    ScreenFlip();
    Drain();  // what closing the windows itself queued
    EXPECT_EQ(WindowPollEvent(), 0);
}

TEST(WindowLifecycle, TheLayerStartsAndEndsRepeatedly) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    EXPECT_FALSE(DisplayIsInitialised());
    EXPECT_EQ(ScreenOpenInWindow(1, 0, 0, 800, 600, 0, 0, 0), 0);  // no display yet
    for (int round = 0; round < 3; ++round) {
        WindowLibraryInit();
        ASSERT_NE(DisplayInit(), 0);
        ASSERT_NE(DisplayInit(), 0);  // a second call reuses the display
        ASSERT_NE(RotatedSpritesInit(), 0);
        intptr_t w = WindowOpen(1, 0, 0, 800, 600, 0xC80001u, "Dreel");
        ASSERT_NE(w, 0);
        ASSERT_NE(ScreenOpenInWindow(w, 0, 0, 800, 600, 0, 0, 0), 0);
        ScreenSetPacing(false);
        ScreenBackBuffer()->Row(0)[0] = 0x123456;
        DrawBegin(ScreenDrawTarget());
        TextDraw("0 0/0");
        DrawEnd();
        ScreenFlip();
        WindowsCloseAll();
        RotatedSpritesEnd();
        DisplayEnd();
        EXPECT_FALSE(DisplayIsInitialised());
        EXPECT_EQ(ScreenBackBuffer(), nullptr);
    }
    ScreenSetPacing(true);
}
