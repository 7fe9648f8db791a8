// Keyboard and mouse through real SDL events: the dummy video driver has no keys or buttons of its
// own, so everything is pushed onto SDL's queue, as a window system would, and taken by the pump.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

#include "media/comfort.h"
#include "media/events.h"
#include "media/input.h"
#include "media/overlay.h"

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
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT), EventsForget();
    }
    void TearDown() override { MouseEnd(); KeyboardEnd(); }
};

TEST_F(Input, AKeyTappedBetweenExaminationsReadsDownOnceByItsPcCode) {
    for (int i = 0; i < 128; ++i) Push(SDL_KEYDOWN, SDL_SCANCODE_D, 1);  // two batches of auto-repeats, no presses
    for (int32_t key : {SDL_SCANCODE_SPACE, SDL_SCANCODE_W, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_UP}) Push(SDL_KEYDOWN, key), Push(SDL_KEYUP, key);
    EventsPump();
    EXPECT_EQ(MouseExamine() + KeyboardExamine(), 2);
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
        EventsPump();
        EXPECT_EQ(MouseExamine(), 1);
        for (int32_t b = 0; b <= 4; ++b) EXPECT_EQ(MouseStateButton(b), b == game ? 1 : 0) << b;
        EXPECT_EQ(MouseStateWheel(), game + 3);
    }
    Push(SDL_KEYDOWN, SDL_SCANCODE_W);
    EventsPump();
    ASSERT_EQ(KeyboardExamine(), 1);
    ASSERT_EQ(KeyDown(17), 128);
    Push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST);
    Push(SDL_MOUSEWHEEL, 5);
    EventsPump();
    EXPECT_EQ(KeyboardExamine() + MouseExamine(), 0);
    // Their releases go to the other window: whatever was down must not stay down.
    EXPECT_EQ((std::array{MouseStateButton(3), MouseStateWheel(), KeyDown(-1)}), (std::array{0, 0, 0}));
    const auto ours = [] { return SDL_GetRelativeMouseMode() || SDL_ShowCursor(SDL_QUERY) == SDL_DISABLE; };
    EXPECT_FALSE(ours()) << "the pointer stays taken in another window";
    Push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_GAINED);
    EventsPump();
    EXPECT_EQ(KeyboardExamine() + MouseExamine(), 2);
    EXPECT_TRUE(ours()) << "not taken again";
    EXPECT_EQ((std::array{MouseStateButton(3), MouseStateWheel()}), (std::array{0, 0})) << "nothing from the time away";
}

// Each event leaves SDL's queue once, at the pump, and reaches everyone who needs it: a hot key
// is the keyboard's too. The poll keeps 64 codes, the close box's whatever comes before it.
TEST_F(Input, ThePumpHandsEachEventToTheKeyboardTheScreensNotesAndThePoll) {
    for (int i = 0; i < 62; ++i) Push(SDL_KEYUP, SDL_SCANCODE_A);
    Push(SDL_KEYDOWN, SDL_SCANCODE_F11), Push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_RESIZED);
    for (int i = 0; i < 5; ++i) Push(SDL_KEYUP, SDL_SCANCODE_A);
    Push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE);
    KeyboardExamine();
    EXPECT_EQ(KeyDown(0x57), 0) << "an examination took an event itself";
    EventsPump();
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT), 0) << "left in SDL's queue";
    KeyboardExamine();
    EXPECT_EQ(KeyDown(0x57), 128) << "F11 did not reach the keyboard";
    EXPECT_EQ((std::array{EventsTakeFullscreenToggle(), EventsTakeFullscreenToggle(), EventsTakeWindowChange()}), (std::array{true, false, true}));
    std::vector<int32_t> codes;
    while (int32_t code = WindowPollEvent()) codes.push_back(code);
    std::vector<int32_t> want(62, SDL_KEYUP);
    want.push_back(SDL_KEYDOWN), want.push_back(kEventClose);
    EXPECT_EQ(codes, want);
}

TEST_F(Input, TheExaminationTakesThePointerAndReleaseAndTheEndsGiveEverythingBack) {
    EXPECT_FALSE(SDL_IsTextInputActive()) << "an input method would hold key presses back";
    const auto ours = [] { return SDL_GetRelativeMouseMode() || SDL_ShowCursor(SDL_QUERY) == SDL_DISABLE; };
    EXPECT_FALSE(ours());
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

// The pause follows the key and the window; the window's return ends only a pause it caused,
// and its click does not fire. The volume keys step by ten, M mutes, and Ctrl with them is no key.
TEST_F(Input, ThePauseFollowsItsKeyAndTheWindowAndTheVolumeKeysStepByTen) {
    const auto key = [](SDL_Keycode sym, Uint16 mod = 0) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN, e.key.keysym.sym = sym, e.key.keysym.mod = mod;
        SDL_PushEvent(&e);
    };
    const auto window = [](uint8_t event) { Push(SDL_WINDOWEVENT, event); };
    ASSERT_EQ(MouseExamine(), 1);
    ComfortStart({100, false, true});
    using E = std::function<void()>;
    const struct { E act; bool paused; int32_t volume; bool muted; } steps[] = {
        {[&] { key(SDLK_p); }, true, 100, false},
        {[&] { window(SDL_WINDOWEVENT_FOCUS_LOST), window(SDL_WINDOWEVENT_FOCUS_GAINED); }, true, 100, false},
        {[&] { key(SDLK_PAUSE); }, false, 100, false},
        {[&] { window(SDL_WINDOWEVENT_FOCUS_LOST); }, true, 100, false},
        {[&] { window(SDL_WINDOWEVENT_FOCUS_GAINED), Push(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT); }, false, 100, false},
        {[&] { window(SDL_WINDOWEVENT_MINIMIZED); }, true, 100, false},
        {[&] { window(SDL_WINDOWEVENT_RESTORED); }, false, 100, false},
        {[&] { window(SDL_WINDOWEVENT_HIDDEN); }, true, 100, false},
        {[&] { window(SDL_WINDOWEVENT_SHOWN); }, false, 100, false},
        {[&] { key(SDLK_MINUS), key(SDLK_KP_MINUS), key(SDLK_p, KMOD_LCTRL); }, false, 80, false},
        {[&] { key(SDLK_m); }, false, 80, true},
        {[&] { key(SDLK_PLUS), key(SDLK_EQUALS), key(SDLK_KP_PLUS), key(SDLK_m, KMOD_LALT); }, false, 100, false},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        steps[i].act();
        EventsPump();
        EXPECT_EQ(ComfortFramesHeld(), steps[i].paused) << "step " << i;
        EXPECT_EQ(std::pair(ComfortCurrent().volume, ComfortCurrent().muted), std::pair(steps[i].volume, steps[i].muted)) << i;
        if (i == 4) { EXPECT_EQ((MouseExamine(), MouseStateButton(1)), 0) << "the click that brought the window back fired"; }
    }
    EXPECT_TRUE(ComfortTakeChanged());
    EXPECT_FALSE(ComfortTakeChanged());
    ComfortStart({50, false, false});  // leaving the window does not pause now
    window(SDL_WINDOWEVENT_FOCUS_LOST), EventsPump();
    EXPECT_FALSE(ComfortFramesHeld());
    ComfortEnd();
}

// Scaled movement carries its fractions, so slow movement adds up instead of vanishing; at one it is
// the movement itself.
TEST(MouseSensitivity, MovementIsScaledWithItsFractionsCarried) {
    const struct { int32_t per256; std::vector<int32_t> moves, want; } cases[] = {
        {256, {3, -7, 0, 1}, {3, -7, 0, 1}},
        {64, {1, 1, 1, 1, 6, -2}, {0, 0, 0, 1, 1, 0}},  // a quarter: the fourth step makes one
        {384, {1, 1, -3, -1}, {1, 2, -4, -2}},          // one and a half: -4.5 gives -4, then -2
        {1024, {5, -5}, {20, -20}},
    };
    for (const auto& c : cases) {
        int64_t carry = 0;
        std::vector<int32_t> got;
        for (int32_t m : c.moves) got.push_back(ScaleMouseMove(m, c.per256, &carry));
        EXPECT_EQ(got, c.want) << c.per256;
    }
}

// The overlay is drawn into a copy: the picture itself never holds it.
TEST(Overlay, ThePanelDimsACopyAndTheNoteGoesWhenItsTimeIsUp) {
    Picture back{800, 600, Pixels(800 * 600, 0x808080u)};
    const auto whites = [](const Picture& p) { return std::count(p.pixels.begin(), p.pixels.end(), 0xFFFFFFu); };
    OverlaySetNote("Volume 70 %", 1000);
    EXPECT_TRUE(OverlayChanged(0));
    const Picture& noted = OverlayCompose(back, 999);
    EXPECT_EQ((std::array{noted.At(0, 0), noted.At(400, 599)}), (std::array{0x808080u, 0x808080u})) << "a note dims nothing";
    EXPECT_GT(whites(noted), 0) << "no note drawn";
    EXPECT_FALSE(OverlayChanged(999));
    EXPECT_TRUE(OverlayChanged(1000)) << "the note ran out";
    EXPECT_EQ(&OverlayCompose(back, 1000), &back);
    OverlaySetPanel({"Paused", "Press P to go on"});
    const Picture& paused = OverlayCompose(back, 1000);
    EXPECT_EQ(paused.At(0, 0), 0x404040u);
    EXPECT_GT(whites(paused), 0);
    EXPECT_EQ(std::count(back.pixels.begin(), back.pixels.end(), 0x808080u), 800 * 600) << "drawn into the picture";
    OverlayReset();
    EXPECT_EQ(&OverlayCompose(back, 1000), &back);
}
