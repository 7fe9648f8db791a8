// Keyboard and mouse through real SDL events: the dummy video driver has no keys or buttons of its
// own, so everything is pushed onto SDL's queue, as a window system would.
#include <SDL.h>
#include <gtest/gtest.h>

#include <array>

#include "media/input.h"

static void Push(uint32_t type, int32_t code = 0, int32_t extra = 0) {
    SDL_Event e{};
    e.type = type;
    if (type == SDL_KEYDOWN || type == SDL_KEYUP) e.key.keysym.scancode = SDL_Scancode(code), e.key.repeat = uint8_t(extra);
    if (type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP) e.button.button = uint8_t(code);
    if (type == SDL_MOUSEWHEEL) e.wheel.y = code, e.wheel.direction = uint32_t(extra);
    if (type == SDL_WINDOWEVENT) e.window.event = uint8_t(code);
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

// Both devices set up as the game does.
class Input : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(MouseInit() + KeyboardInit(), 2) << SDL_GetError();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override { MouseEnd(); KeyboardEnd(); }
};

TEST_F(Input, AKeyTappedBetweenExaminationsReadsDownOnceByItsPcCode) {
    for (int i = 0; i < 128; ++i) Push(SDL_KEYDOWN, SDL_SCANCODE_D, 1);  // two batches of auto-repeats, no presses
    for (int32_t key : {SDL_SCANCODE_SPACE, SDL_SCANCODE_W, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_UP}) Push(SDL_KEYDOWN, key), Push(SDL_KEYUP, key);
    EXPECT_EQ(MouseExamine() + KeyboardExamine(), 2);  // whichever examination takes a key event, it counts
    // Set 1 codes, extended keys + 0x80.
    EXPECT_EQ((std::array{KeyDown(57), KeyDown(17), KeyDown(1), KeyDown(0xC8), KeyDown(32), KeyDown(-1)}), (std::array{128, 128, 128, 128, 0, 1}));
    KeyboardExamine();
    EXPECT_EQ(KeyDown(-1), 0) << "a tap counts once";
}

TEST_F(Input, ClicksAreLatchedWheelNotchesSummedAndNothingIsHeldWithoutFocus) {
    ASSERT_EQ(MouseExamine(), 1);  // takes the pointer
    // SDL numbers the middle button 2 and the right 3; the game the right 2 and the middle 3.
    for (auto [sdl, game] : {std::pair{SDL_BUTTON_LEFT, 1}, {SDL_BUTTON_RIGHT, 2}, {SDL_BUTTON_MIDDLE, 3}}) {
        Push(SDL_MOUSEBUTTONDOWN, sdl);
        Push(SDL_MOUSEBUTTONUP, sdl);
        Push(SDL_MOUSEWHEEL, game);
        Push(SDL_MOUSEWHEEL, -3, SDL_MOUSEWHEEL_FLIPPED);  // a flipped wheel turned forward
        EXPECT_EQ(MouseExamine(), 1);
        for (int32_t b = 0; b <= 4; ++b) EXPECT_EQ(MouseStateButton(b), b == game ? 1 : 0) << b;
        EXPECT_EQ(MouseStateWheel(), game + 3);
    }
    Push(SDL_KEYDOWN, SDL_SCANCODE_W);
    ASSERT_EQ(KeyboardExamine(), 1);
    ASSERT_EQ(KeyDown(17), 128);
    Push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST);  // seen, and left in the queue for the window's poll
    Push(SDL_MOUSEWHEEL, 5);
    EXPECT_EQ(KeyboardExamine() + MouseExamine(), 0);
    // Their releases go to the other window: whatever was down must not stay down.
    EXPECT_EQ((std::array{MouseStateButton(3), MouseStateWheel(), KeyDown(-1)}), (std::array{0, 0, 0}));
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT), 1);
    const auto ours = [] { return SDL_GetRelativeMouseMode() || SDL_ShowCursor(SDL_QUERY) == SDL_DISABLE; };
    EXPECT_FALSE(ours()) << "the pointer stays taken in another window";
    SDL_FlushEvent(SDL_WINDOWEVENT);
    Push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_EQ(KeyboardExamine() + MouseExamine(), 2);
    EXPECT_TRUE(ours()) << "not taken again";
    EXPECT_EQ((std::array{MouseStateButton(3), MouseStateWheel()}), (std::array{0, 0})) << "nothing from the time away";
}

TEST_F(Input, TheExaminationTakesThePointerAndReleaseAndTheEndsGiveEverythingBack) {
    EXPECT_FALSE(SDL_IsTextInputActive()) << "an input method would hold key presses back";
    const auto ours = [] { return SDL_GetRelativeMouseMode() || SDL_ShowCursor(SDL_QUERY) == SDL_DISABLE; };
    EXPECT_FALSE(ours());
    Push(SDL_KEYDOWN, SDL_SCANCODE_SPACE);
    ASSERT_EQ(MouseExamine() + KeyboardExamine(), 2);
    EXPECT_TRUE(ours());
    MouseRelease(1);  // the game's end
    EXPECT_FALSE(ours());
    EXPECT_EQ(MouseExamine(), 0);
    MouseRelease(0);
    ASSERT_EQ(MouseExamine(), 1);
    EXPECT_TRUE(ours()) << "taken again";
    MouseEnd();  // the keyboard still holds SDL's video: the mouse itself must give the pointer back
    EXPECT_FALSE(ours());
    KeyboardEnd();
    EXPECT_EQ(KeyDown(57), 0) << "the snapshot went with the device";
    EXPECT_EQ(KeyboardExamine() + MouseExamine(), 0);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u) << "a video reference left behind";
}
