#include <gtest/gtest.h>

#include <SDL.h>

#include <map>
#include <string>
#include <vector>

#include "io_headless.h"
#include "media/input.h"
#include "media/input_events.h"

namespace {

int32_t CodeOf(const char* sdlName) {
    SDL_Scancode s = SDL_GetScancodeFromName(sdlName);
    EXPECT_NE(s, SDL_SCANCODE_UNKNOWN) << "no SDL key named " << sdlName;
    return ScanCodeFromSdl(s);
}

// Set 1 codes from the PC keyboard's code chart, by SDL's key names.
TEST(ScanCodes, KeysHaveTheirPcCodes) {
    const std::pair<const char*, int32_t> chart[] = {
        {"Escape", 1}, {"W", 17}, {"A", 30}, {"S", 31}, {"D", 32}, {"Space", 57}, {"Return", 0x1C},
        {"Left Ctrl", 0x1D}, {"Left Shift", 0x2A}, {"Right Shift", 0x36}, {"Left Alt", 0x38},
        {"`", 0x29}, {"\\", 0x2B}, {"/", 0x35}, {"F11", 0x57}, {"F12", 0x58}, {"Keypad *", 0x37},
        {"Keypad 7", 0x47}, {"Keypad 0", 0x52}, {"Keypad .", 0x53}, {"Numlock", 0x45},
        // Sent with the 0xE0 prefix: make code + 0x80.
        {"Up", 0xC8}, {"Down", 0xD0}, {"Left", 0xCB}, {"Right", 0xCD}, {"Right Ctrl", 0x9D},
        {"Right Alt", 0xB8}, {"Keypad Enter", 0x9C}, {"Keypad /", 0xB5}, {"Insert", 0xD2},
        {"Delete", 0xD3}, {"Home", 0xC7}, {"End", 0xCF}, {"PageUp", 0xC9}, {"PageDown", 0xD1},
        {"Left GUI", 0xDB}, {"Application", 0xDD}, {"PrintScreen", 0xB7}, {"Pause", 0xC5},
    };
    for (const auto& [name, code] : chart) EXPECT_EQ(CodeOf(name), code) << name;
    // The rows of the main block carry consecutive codes on the hardware.
    const std::pair<const char*, int32_t> rows[] = {
        {"1234567890", 0x02}, {"QWERTYUIOP", 0x10}, {"ASDFGHJKL", 0x1E}, {"ZXCVBNM", 0x2C}};
    for (const auto& [row, first] : rows)
        for (int32_t i = 0; row[i]; ++i) EXPECT_EQ(CodeOf(std::string(1, row[i]).c_str()), first + i) << row[i];
    for (int32_t f = 1; f <= 10; ++f) EXPECT_EQ(CodeOf(("F" + std::to_string(f)).c_str()), 0x3A + f);
}

TEST(ScanCodes, EveryKeyHasItsOwnCode) {
    std::map<int32_t, std::vector<int32_t>> byCode;
    for (int32_t s = 0; s < SDL_NUM_SCANCODES; ++s)
        if (int32_t code = ScanCodeFromSdl(s)) byCode[code].push_back(s);
    EXPECT_GE(byCode.size(), 105u) << "a full PC keyboard";
    EXPECT_LT(byCode.rbegin()->first, 255) << "code 255 is not a key";
    // Two SDL names for one physical key share a code; nothing else may.
    const std::map<int32_t, std::vector<int32_t>> aliases = {
        {0x2B, {SDL_SCANCODE_BACKSLASH, SDL_SCANCODE_NONUSHASH}}, {0xA0, {SDL_SCANCODE_MUTE, SDL_SCANCODE_AUDIOMUTE}}};
    for (const auto& [code, keys] : byCode)
        if (keys.size() > 1) {
            EXPECT_EQ(aliases.count(code) ? aliases.at(code) : std::vector<int32_t>{}, keys) << code;
        }
    for (int32_t s : {int32_t{SDL_SCANCODE_UNKNOWN}, -1, int32_t{SDL_NUM_SCANCODES}, 1 << 30}) EXPECT_EQ(ScanCodeFromSdl(s), 0);
}

SDL_Event Key(Uint32 type, SDL_Scancode key, Uint8 repeat = 0) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.scancode = key;
    e.key.repeat = repeat;
    return e;
}
SDL_Event Button(Uint32 type, Uint8 button) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    return e;
}
SDL_Event Wheel(Sint32 y, Uint32 direction = SDL_MOUSEWHEEL_NORMAL) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = y;
    e.wheel.direction = direction;
    return e;
}
SDL_Event Focus(Uint8 what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    return e;
}
void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }

// Both devices set up as the game does. The dummy video driver has no real keys or
// buttons, so everything the tests see comes from the events they send: pushed onto
// SDL's queue (frames back to back) or handed over as the window poll does.
class Input : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(MouseInit(), 0) << SDL_GetError();
        ASSERT_NE(KeyboardInit(), 0) << SDL_GetError();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override {
        InputSetScripted(false);
        MouseEnd();
        KeyboardEnd();
    }
};

TEST_F(Input, AKeyTappedBetweenExaminationsReadsDownInOneSnapshot) {
    Push(Key(SDL_KEYDOWN, SDL_SCANCODE_SPACE));
    Push(Key(SDL_KEYUP, SDL_SCANCODE_SPACE));
    Push(Key(SDL_KEYDOWN, SDL_SCANCODE_W));
    InputHandleEvent(Key(SDL_KEYDOWN, SDL_SCANCODE_RCTRL));
    InputHandleEvent(Key(SDL_KEYDOWN, SDL_SCANCODE_D, 1));  // auto-repeat: no press
    EXPECT_EQ(MouseExamine(), 1);  // takes the key events too; they must still count
    EXPECT_EQ(KeyboardExamine(), 1);
    EXPECT_EQ(KeyDown(57), 128);
    EXPECT_EQ(KeyDown(17), 128);
    EXPECT_EQ(KeyDown(0x9D), 128);
    EXPECT_EQ(KeyDown(32), 0);
    EXPECT_EQ(KeyDown(-1), 1);
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYUP), 0) << "events left behind";
    KeyboardExamine();
    EXPECT_EQ(KeyDown(57), 0) << "a tap counts once";
    EXPECT_EQ(KeyDown(-1), 0);
}

TEST_F(Input, AShortClickReadsDownInOneSnapshotForEachButton) {
    // SDL numbers middle 2 and right 3; the game right 2 and middle 3.
    const std::pair<Uint8, int32_t> buttons[] = {{SDL_BUTTON_LEFT, 1}, {SDL_BUTTON_RIGHT, 2}, {SDL_BUTTON_MIDDLE, 3}};
    for (const auto& [sdl, game] : buttons) {
        Push(Button(SDL_MOUSEBUTTONDOWN, sdl));
        Push(Button(SDL_MOUSEBUTTONUP, sdl));
        InputHandleEvent(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1));
        EXPECT_EQ(MouseExamine(), 1);
        for (int32_t b = 0; b <= 4; ++b) EXPECT_EQ(MouseStateButton(b), b == game ? 1 : 0) << "sdl button " << int(sdl);
        MouseExamine();
        EXPECT_EQ(MouseStateButton(game), 0);
    }
}

TEST_F(Input, WheelNotchesAreSummedAndMotionEventsNotCountedTwice) {
    EXPECT_EQ(MouseExamine(), 1) << "capture without relative mode is no failure";
    Push(Wheel(2));
    InputHandleEvent(Wheel(-1));
    Push(Wheel(-3, SDL_MOUSEWHEEL_FLIPPED));  // a flipped wheel turned forward
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.xrel = 40;
    Push(motion);
    InputHandleEvent(motion);
    MouseExamine();
    EXPECT_EQ(MouseStateWheel(), 4);
    EXPECT_EQ(MouseStateX(), 0) << "movement is SDL's relative sum, not the events again";
    MouseExamine();
    EXPECT_EQ(MouseStateWheel(), 0);
}

TEST_F(Input, AReleasedMouseReportsNothingUntilCapturedAgain) {
    InputHandleEvent(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT));
    ASSERT_EQ(MouseExamine(), 1);
    MouseRelease(1);
    Push(Wheel(3));
    InputHandleEvent(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT));
    EXPECT_EQ(MouseExamine(), 0);
    EXPECT_EQ(MouseStateWheel(), 0);
    EXPECT_EQ(MouseStateButton(1), 1) << "buttons keep what they read last";
    EXPECT_EQ(MouseStateButton(2), 0);
    MouseRelease(0);
    EXPECT_EQ(MouseExamine(), 1);
    EXPECT_EQ(MouseStateWheel(), 0) << "turned while released";
    EXPECT_EQ(MouseStateButton(2), 0) << "pressed while released";
}

TEST_F(Input, WithoutFocusKeysAndButtonsKeepTheirLastReading) {
    InputHandleEvent(Key(SDL_KEYDOWN, SDL_SCANCODE_A));
    InputHandleEvent(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE));
    ASSERT_EQ(KeyboardExamine(), 1);
    ASSERT_EQ(MouseExamine(), 1);
    // Still waiting in the queue: the examinations see it and leave it for the window.
    Push(Focus(SDL_WINDOWEVENT_FOCUS_LOST));
    InputHandleEvent(Wheel(5));
    EXPECT_EQ(KeyboardExamine(), 0);
    EXPECT_EQ(MouseExamine(), 0);
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT), 1);
    EXPECT_EQ(KeyDown(30), 128);
    EXPECT_EQ(MouseStateButton(3), 1);
    EXPECT_EQ(MouseStateWheel(), 0);
    // The window poll takes the loss; the gain arrives behind it.
    SDL_Event taken;
    ASSERT_EQ(SDL_PollEvent(&taken), 1);
    InputHandleEvent(taken);
    Push(Focus(SDL_WINDOWEVENT_FOCUS_GAINED));
    EXPECT_EQ(KeyboardExamine(), 1);
    EXPECT_EQ(MouseExamine(), 1);
    EXPECT_EQ(KeyDown(30), 0);
    EXPECT_EQ(MouseStateButton(3), 0);
    EXPECT_EQ(MouseStateWheel(), 0) << "turned without focus";
}

TEST_F(Input, ScriptedFramesAreReportedExactlyAndSdlIsIgnored) {
    InputFrame f;
    f.dx = -7;
    f.dy = 12345;
    f.wheel = -2;
    f.buttons[0] = 1;
    f.buttons[2] = 9;
    f.keys[57] = 1;
    f.keys[0xC8] = 5;
    f.keys[255] = 1;
    InputSetScripted(true);
    InputSetFrame(f);
    InputHandleEvent(Key(SDL_KEYDOWN, SDL_SCANCODE_W));
    InputHandleEvent(Wheel(4));
    EXPECT_EQ(MouseExamine(), 1);
    EXPECT_EQ(KeyboardExamine(), 1);
    EXPECT_EQ(MouseStateX(), -7);
    EXPECT_EQ(MouseStateY(), 12345);
    EXPECT_EQ(MouseStateWheel(), -2);
    EXPECT_EQ(MouseStateButton(1) * 100 + MouseStateButton(2) * 10 + MouseStateButton(3), 101);
    EXPECT_EQ(KeyDown(57), 128);
    EXPECT_EQ(KeyDown(0xC8), 128);
    EXPECT_EQ(KeyDown(255), 128);
    EXPECT_EQ(KeyDown(17), 0);
    for (int32_t notAKey : {256, -2, 1 << 30}) EXPECT_EQ(KeyDown(notAKey), 0);
    f = InputFrame{};
    f.keys[255] = 1;
    InputSetFrame(f);
    MouseExamine();
    KeyboardExamine();
    EXPECT_EQ(MouseStateX(), 0);
    EXPECT_EQ(MouseStateButton(1), 0);
    EXPECT_EQ(KeyDown(-1), 0) << "any key looks at 0..254";
    // Scripting off: SDL again, without the presses made meanwhile.
    InputSetScripted(false);
    InputHandleEvent(Key(SDL_KEYDOWN, SDL_SCANCODE_S));
    KeyboardExamine();
    EXPECT_EQ(KeyDown(31), 128);
    EXPECT_EQ(KeyDown(17), 0);
}

TEST(InputLifecycle, DevicesCanBeSetUpAndEndedAgainAndScriptingNeedsNone) {
    for (int round = 0; round < 2; ++round) {
        ASSERT_NE(KeyboardInit(), 0);
        ASSERT_NE(MouseInit(), 0);
        InputHandleEvent(Key(SDL_KEYDOWN, SDL_SCANCODE_SPACE));
        EXPECT_EQ(KeyboardExamine(), 1);
        EXPECT_EQ(KeyDown(57), 128) << "round " << round;
        MouseRelease(1);
        MouseEnd();
        KeyboardEnd();
        EXPECT_EQ(KeyDown(57), 0) << "the old snapshot went with the device";
        EXPECT_EQ(KeyboardExamine(), 0);
        EXPECT_EQ(MouseExamine(), 0);
        EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u) << "video reference left behind";
    }
    InputFrame f;
    f.keys[1] = 1;
    InputSetScripted(true);
    InputSetFrame(f);
    EXPECT_EQ(KeyboardExamine(), 1);
    EXPECT_EQ(KeyDown(1), 128);
    InputSetScripted(false);
}

}  // namespace
