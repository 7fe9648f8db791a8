// Window and screen: the game's window, events, the back buffer, presenting and pacing,
// and starting and ending the layer more than once in one process.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>

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
    SDL_Window* Sdl(intptr_t handle) { return SDL_GetWindowFromID(static_cast<uint32_t>(handle)); }
    void Drain() {
        for (int i = 0; i < 1000 && WindowPollEvent() != 0; ++i) {
        }
    }
    void Push(uint32_t type, uint8_t windowEvent = 0) {
        SDL_Event e{};
        e.type = type;
        e.window.event = windowEvent;
        e.window.windowID = static_cast<uint32_t>(window);
        ASSERT_EQ(SDL_PushEvent(&e), 1);
    }
    // What the window shows after the last present, read back from its framebuffer.
    uint32_t Shown(int x, int y) {
        SDL_Surface* s = SDL_GetWindowSurface(Sdl(window));
        EXPECT_NE(s, nullptr);
        if (!s || x < 0 || y < 0 || x >= s->w || y >= s->h) return 0xFFFFFFFFu;
        uint32_t raw = 0;
        std::memcpy(&raw, static_cast<const uint8_t*>(s->pixels) + y * s->pitch + x * 4, 4);
        uint8_t r = 0, g = 0, b = 0;
        SDL_GetRGB(raw, s->format, &r, &g, &b);
        return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
    }
};

}  // namespace

TEST_F(WindowTest, TheGamesWindowIsTitledSizedCentredAndFixed) {
    SDL_Window* w = Sdl(window);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(WindowHandle(), window);
    EXPECT_STREQ(SDL_GetWindowTitle(w), "Dreel");
    int cw = 0, ch = 0, x = 0, y = 0;
    SDL_GetWindowSize(w, &cw, &ch);
    EXPECT_EQ(cw, 800);
    EXPECT_EQ(ch, 600);
    uint32_t flags = SDL_GetWindowFlags(w);
    EXPECT_EQ(flags & (SDL_WINDOW_RESIZABLE | SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN), 0u);
    EXPECT_NE(flags & SDL_WINDOW_SHOWN, 0u);
    SDL_Rect desktop;
    ASSERT_EQ(SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(w), &desktop), 0);
    SDL_GetWindowPosition(w, &x, &y);
    EXPECT_EQ(x, desktop.x + (desktop.w - 800) / 2);
    EXPECT_EQ(y, desktop.y + (desktop.h - 600) / 2);
}

TEST_F(WindowTest, OtherStylesAndSlots) {
    intptr_t hidden = WindowOpen(2, 30, 40, 200, 100, 0x10000000u | 0xC80000u, "hidden");  // visible bit inverted
    ASSERT_NE(hidden, 0);
    EXPECT_NE(SDL_GetWindowFlags(Sdl(hidden)) & SDL_WINDOW_HIDDEN, 0u);
    int x = 0, y = 0;
    SDL_GetWindowPosition(Sdl(hidden), &x, &y);
    EXPECT_EQ(x, 30);  // not centred
    EXPECT_EQ(y, 40);
    intptr_t bare = WindowOpen(45, 0, 0, 50, 50, 0x80000000u, "pop-up");  // no caption bits; the table grows
    ASSERT_NE(bare, 0);
    EXPECT_NE(SDL_GetWindowFlags(Sdl(bare)) & SDL_WINDOW_BORDERLESS, 0u);
    EXPECT_EQ(WindowHandle(), bare);  // the window opened last
    intptr_t again = WindowOpen(2, 0, 0, 320, 200, 0xC80001u, "again");  // replaces slot 2's window
    EXPECT_EQ(Sdl(hidden), nullptr);
    EXPECT_NE(Sdl(again), nullptr);
    EXPECT_EQ(WindowOpen(-1, 0, 0, 10, 10, 0, "x"), 0);
    EXPECT_EQ(WindowOpen(5, 0, 0, 0, 10, 0, "x"), 0);
}

TEST_F(WindowTest, EventsComeOneAtATime) {
    EXPECT_EQ(WindowPollEvent(), 0);
    Push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE);
    Push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_MINIMIZED);
    Push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_RESTORED);
    Push(SDL_USEREVENT);
    Push(SDL_QUIT);  // the system asking the program to end
    EXPECT_EQ(WindowPollEvent(), kEventClose);
    EXPECT_EQ(WindowPollEvent(), kEventSize);
    EXPECT_EQ(WindowPollEvent(), kEventSize);
    int32_t other = WindowPollEvent();
    EXPECT_TRUE(other != 0 && other != kEventClose && other != kEventSize) << other;
    EXPECT_EQ(WindowPollEvent(), kEventClose);
    EXPECT_EQ(WindowPollEvent(), 0);
    EXPECT_TRUE(WindowIsOpen());  // a close request leaves the window open
    EXPECT_NE(Sdl(window), nullptr);
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

TEST_F(WindowTest, BackBufferStartsBlackPersistsAndIsPresented) {
    Picture* back = ScreenBackBuffer();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->width, 800);
    EXPECT_EQ(back->height, 600);
    EXPECT_EQ(CountNot(0), 0);
    EXPECT_EQ(CurrentTarget(), back);
    back->Row(10)[20] = 0xABCDEF;
    back->Row(599)[799] = 0x123456;
    ScreenFlip();
    ScreenFlip();
    EXPECT_EQ(ScreenBackBuffer(), back);
    EXPECT_EQ(CountNot(0), 2);
    EXPECT_EQ(Shown(20, 10), 0xABCDEFu);
    EXPECT_EQ(Shown(799, 599), 0x123456u);
    EXPECT_EQ(Shown(21, 10), 0u);
    EXPECT_EQ(kPixelFormatCode, 7);
}

TEST_F(WindowTest, OffsetAndStretchPlaceThePresentedPicture) {
    ScreenClose();
    ASSERT_NE(ScreenOpenInWindow(window, 10, 20, 100, 50, 0, 0, 0), 0);
    FillScreen(0xFFFFFF);
    ScreenFlip();
    EXPECT_EQ(Shown(10, 20), 0xFFFFFFu);
    EXPECT_EQ(Shown(109, 69), 0xFFFFFFu);
    EXPECT_EQ(Shown(9, 20) | Shown(110, 20) | Shown(10, 70), 0u);
    ScreenClose();
    ASSERT_NE(ScreenOpenInWindow(window, 0, 0, 100, 50, 1, 200, 100), 0);  // to the margins
    FillScreen(0xFFFFFF);
    ScreenFlip();
    EXPECT_EQ(Shown(599, 499), 0xFFFFFFu);
    EXPECT_EQ(Shown(600, 0) | Shown(0, 500), 0u);
}

TEST_F(WindowTest, PresentsArePacedAtLeastOneIntervalApart) {
    ScreenSetPacing(true);
    auto start = std::chrono::steady_clock::now();
    ASSERT_NE(SetFrameRate(60), 0);
    // The first wait after setting the rate lasts a whole 1/61 s, and each later one ends
    // an interval after the previous wait ended.
    for (int i = 0; i < 3; ++i) ScreenFlip();
    EXPECT_GE(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 3.0 / 61.0);
    EXPECT_EQ(SetFrameRate(-1), 0);  // would divide by zero
    EXPECT_EQ(SetFrameRate(-100), 0);
}

TEST_F(WindowTest, ScreenNeedsAWindowOfOursAndASensibleSize) {
    ScreenClose();
    for (intptr_t handle : {intptr_t{0}, window + 1000, intptr_t{-5}})
        EXPECT_EQ(ScreenOpenInWindow(handle, 0, 0, 800, 600, 0, 0, 0), 0) << handle;
    EXPECT_EQ(ScreenOpenInWindow(window, 0, 0, 0, 600, 0, 0, 0), 0);
    EXPECT_EQ(ScreenOpenInWindow(window, 0, 0, 100000, 600, 0, 0, 0), 0);
    EXPECT_EQ(ScreenBackBuffer(), nullptr);
    ScreenFlip();  // nothing to present: nothing happens
}

TEST_F(WindowTest, ClosingTheWindowsFirstLeavesFlipHarmless) {
    WindowsCloseAll();  // the program's end closes the windows before the display
    EXPECT_FALSE(WindowIsOpen());
    EXPECT_EQ(WindowHandle(), 0);
    ScreenFlip();
    Drain();
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
        ASSERT_NE(ScreenOpenInWindow(w, 0, 0, 800, 600, 0, 0, 0), 0);
        ScreenSetPacing(false);
        DrawBegin(ScreenDrawTarget());
        TextDraw("0 0/0");
        DrawEnd();
        EXPECT_EQ(ScreenBackBuffer()->At(0, 0), 0xFFFFFFu);
        ScreenFlip();
        WindowsCloseAll();
        RotatedSpritesEnd();
        DisplayEnd();
        EXPECT_FALSE(DisplayIsInitialised());
        EXPECT_EQ(ScreenBackBuffer(), nullptr);
    }
    ScreenSetPacing(true);
}
