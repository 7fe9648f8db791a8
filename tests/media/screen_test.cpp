// What the game draws and shows: the window's events and paced present, the heads-up line,
// sprites, and the rotated sprites through our rasterizer.
#include <SDL.h>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdio>

#include "media/events.h"
#include "media/rotated.h"
#include "media/presenter.h"
#include "media/screen.h"
#include "media/sprite.h"
#include "media/text.h"
#include "media/window.h"
#include "test_support.h"

constexpr uint32_t kGround = 0x204060;  // no grey
using Box = std::array<int32_t, 4>;     // left, top, width, height

static Picture& Screen() { return *ScreenBackBuffer(); }
static uint32_t At(int32_t x, int32_t y) { return Screen().At(x, y); }
static void Fill(uint32_t colour) { std::fill(Screen().pixels.begin(), Screen().pixels.end(), colour); }
static long CountNot(const Picture& p, uint32_t ground = kGround) { return std::count_if(p.pixels.begin(), p.pixels.end(), [&](uint32_t v) { return v != ground; }); }
// The smallest box holding every pixel that is not the ground.
static Box Changed(const Picture& p) {
    int32_t l = p.width, t = p.height, r = -1, b = -1;
    for (int32_t y = 0; y < p.height; ++y)
        for (int32_t x = 0; x < p.width; ++x)
            if (p.At(x, y) != kGround) l = std::min(l, x), r = std::max(r, x), t = std::min(t, y), b = y;
    return r < 0 ? Box{} : Box{l, t, r - l + 1, b - t + 1};
}
// A picture (0xRRGGBB, top row first) loaded into a sprite slot through a bitmap file.
static int32_t Load(int32_t slot, int32_t w, int32_t h, const std::vector<uint32_t>& rgb, int32_t flags = 0) {
    const std::string path = support::WriteBitmap(w, h, rgb);
    const int32_t result = SpriteLoad(slot, path.c_str(), flags);
    std::remove(path.c_str());
    return result;
}
// Every pixel of a picture tells where it came from; (5, 5) is black, the transparent colour.
static uint32_t Cell(int x, int y) { return x == 5 && y == 5 ? 0 : 0x800000u | uint32_t(x) << 8 | uint32_t(y) << 1 | 1u; }
static std::vector<uint32_t> Tagged(int w, int h) {
    std::vector<uint32_t> p(w * h);
    for (int i = 0; i < w * h; ++i) p[i] = Cell(i % w, i / w);
    return p;
}
// Only `box` changed, showing the pixels of a tagged picture whose point (cx, cy) went to (x, y).
static void ExpectDrawn(Box box, int32_t x, int32_t y, bool keyed, int32_t cx = 0, int32_t cy = 0) {
    long count = 0;
    for (int32_t i = 0; i < box[2] * box[3]; ++i) {
        const int32_t sx = box[0] + i % box[2], sy = box[1] + i / box[2];
        const uint32_t want = Cell(sx - x + cx, sy - y + cy);
        ASSERT_EQ(At(sx, sy), keyed && want == 0 ? kGround : want) << sx << "," << sy;
        count += !keyed || want != 0;
    }
    EXPECT_EQ(CountNot(Screen()), count);
}

// The game's window and screen on SDL's dummy video driver, opened and ended in the game's
// order, with a tagged 16 x 16 picture in sprite slot 1 and a 64 x 32 one in slot 3.
class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        WindowLibraryInit();
        ASSERT_NE(DisplayInit(), 0);
        ASSERT_NE(RotatedSpritesInit(), 0);
        ASSERT_NE(ScreenOpenInWindow(WindowOpen(1, 0, 0, 800, 600, 0xC80001u, "Dreel"), 0, 0, 800, 600, 0, 0, 0), 0);
        ScreenSetPacing(false);
        ASSERT_EQ(Load(1, 16, 16, Tagged(16, 16)) + Load(3, 64, 32, Tagged(64, 32)), 2);
        Fill(kGround);
    }
    void TearDown() override { WindowsCloseAll(); RotatedSpritesEnd(); DisplayEnd(); ScreenSetPacing(true); }
};
using Window = ScreenTest;
using Sprites = ScreenTest;
using Rotated = ScreenTest;

#ifndef _WIN32  // the sleeps are read by standing in for the C library's nanosleep
static thread_local std::vector<int64_t>* g_sleeps = nullptr;  // when set, this thread's sleeps go here

// Every sleep of the process passes here (std::this_thread::sleep_for ends in nanosleep), so the
// pacing's waits are read from what it asks for, never from a clock.
extern "C" int nanosleep(const timespec* request, timespec* remaining) {
    if (g_sleeps) g_sleeps->push_back(int64_t{request->tv_sec} * 1'000'000'000 + request->tv_nsec);
    return static_cast<int>(syscall(SYS_nanosleep, request, remaining));
}

TEST_F(Window, AFlipWaitsOneFrameIntervalAfterTheRateIsSet) {
    const auto flipSleeps = [] { std::vector<int64_t> sleeps; g_sleeps = &sleeps; ScreenFlip(); g_sleeps = nullptr; return sleeps; };
    ScreenSetPacing(true);
    // All but the last millisecond of a wait is slept. The first wait after a rate is set lasts a
    // whole interval of 1 s / (rate + 1); the screen opens with 60.
    for (auto [fps, sleep] : {std::pair{0, 16'393'442 - 1'000'000}, {30, 32'258'064 - 1'000'000}, {100, 9'900'990 - 1'000'000}}) {
        if (fps) { EXPECT_TRUE(SetFrameRate(fps)); }
        const std::vector<int64_t> first = flipSleeps();
        ASSERT_FALSE(first.empty()) << fps;
        EXPECT_EQ(first[0], sleep) << fps;
        // The next wait counts from the end of that one: less is left to sleep, or none.
        for (int64_t later : flipSleeps()) EXPECT_LT(later, sleep) << fps;
    }
    EXPECT_EQ(SetFrameRate(-1), 0);
}
#endif

TEST_F(Window, TheCloseBoxAsksToCloseAndTheEndClosesTheWindowFirst) {
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT, close.window.event = SDL_WINDOWEVENT_CLOSE;
    ASSERT_EQ(SDL_PushEvent(&close), 1);
    EXPECT_EQ((std::array{WindowPollEvent(), WindowPollEvent()}), (std::array{kEventClose, 0}));
    EXPECT_TRUE(WindowIsOpen()) << "the game decides";
    WindowsCloseAll();
    ScreenFlip();  // nothing left to show it in
    TearDown();
    EXPECT_EQ(ScreenBackBuffer(), nullptr);
    SetUp();  // the layer starts again
}

// Through either presenter, a window of any size shows the picture filling it or at the largest
// whole scale, centred on black; F11 and Alt+Enter switch full screen (the dummy display is
// 1024 x 768, which the picture fills at 1.28x).
TEST_F(Window, ThePictureFillsAnyWindowSizeAndFullScreenComesAndGoes) {
#ifdef _WIN32
    GTEST_SKIP() << "SDL built for Windows leaves the resize to the system, which the dummy driver never sends";
#endif
    const auto tag = [](int32_t x, int32_t y) { return 0x800000u | uint32_t(x) << 10 | uint32_t(y); };
    const auto key = [](SDL_Scancode code, Uint16 mod) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN, e.key.keysym.scancode = code, e.key.keysym.mod = mod;
        SDL_PushEvent(&e);
        ScreenFlip();
    };
    EXPECT_EQ(ScreenPictureRect(), PixelRect{}) << "the dummy driver, which shows nothing, was given a presenter";
    for (const auto& [choice, mode] : {std::pair{PresenterChoice::Framebuffer, ScaleMode::Integer},
                                      {PresenterChoice::Renderer, ScaleMode::Integer},
                                      {PresenterChoice::Framebuffer, ScaleMode::Fill}}) {
        SCOPED_TRACE(choice == PresenterChoice::Renderer ? "renderer" : "framebuffer");
        SCOPED_TRACE(mode == ScaleMode::Fill ? "fill" : "integer");
        TearDown(), ScreenChoosePresenter(choice), ScreenSetScaleMode(mode), SetUp();
        const PixelRect full = mode == ScaleMode::Fill ? PixelRect{0, 0, 1024, 768} : PixelRect{112, 84, 800, 600};
        for (int32_t i = 0; i < 800 * 600; ++i) Screen().pixels[i] = tag(i % 800, i / 800);
        SDL_Window* window = SDL_GetWindowFromID(static_cast<uint32_t>(WindowHandle()));
        EXPECT_EQ(SDL_GetRenderer(window) != nullptr, choice == PresenterChoice::Renderer);
        int w = 0, h = 0;
        SDL_SetWindowSize(window, 400, 300);
        SDL_GetWindowSize(window, &w, &h);
        EXPECT_EQ(std::pair(w, h), std::pair(800, 600)) << "smaller than the game's picture";
        // {window size, fullscreen after the key, picture's place, one sample's place}
        const struct { SDL_Scancode key; Uint16 mod; int w, h; bool full; PixelRect at; } steps[] = {
            {SDL_SCANCODE_UNKNOWN, 0, 1600, 1200, false, {0, 0, 1600, 1200}},
            {SDL_SCANCODE_F11, 0, 0, 0, true, full},
            {SDL_SCANCODE_RETURN, KMOD_LALT, 0, 0, false, {0, 0, 1600, 1200}},
            {SDL_SCANCODE_RETURN, 0, 0, 0, false, {0, 0, 1600, 1200}},  // Enter alone is the game's
            {SDL_SCANCODE_KP_ENTER, KMOD_RALT, 0, 0, true, full},
        };
        for (const auto& step : steps) {
            if (step.w) SDL_SetWindowSize(window, step.w, step.h), ScreenFlip();
            else key(step.key, step.mod);
            EXPECT_EQ((SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0, step.full);
            EXPECT_EQ(ScreenPictureRect(), step.at);
            const SDL_Surface* out = SDL_GetWindowSurface(window);
            ASSERT_NE(out, nullptr);
            const auto shown = [&](int x, int y) { return static_cast<const uint32_t*>(out->pixels)[y * out->pitch / 4 + x] & 0xFFFFFFu; };
            // Whole scales: the last output pixel of three picture pixels' blocks; otherwise the corners.
            const int k = step.at.w / 800;
            if (step.at.w % 800 == 0) {
                for (auto [x, y] : {std::pair{0, 0}, {799, 599}, {123, 456}})
                    EXPECT_EQ(shown(step.at.x + k * x + k - 1, step.at.y + k * y + k - 1), tag(x, y)) << x << "," << y;
            } else {
                EXPECT_EQ(shown(step.at.x, step.at.y), tag(0, 0));
                EXPECT_EQ(shown(step.at.x + step.at.w - 1, step.at.y + step.at.h - 1), tag(799, 599));
            }
            EXPECT_EQ(shown(out->w - 1, out->h - 1), step.at.w == out->w ? tag(799, 599) : 0u) << "a black bar";
        }
        // Whatever covered the window, the bars (or the filling picture) are painted again once it shows.
        SDL_Surface* out = SDL_GetWindowSurface(window);
        SDL_FillRect(out, nullptr, 0xFFFFFF);
        SDL_Event shown{};
        shown.type = SDL_WINDOWEVENT, shown.window.event = SDL_WINDOWEVENT_EXPOSED;
        SDL_PushEvent(&shown), ScreenFlip();
        EXPECT_EQ(static_cast<const uint32_t*>(out->pixels)[0] & 0xFFFFFFu, full.x == 0 ? tag(0, 0) : 0u);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    ScreenChoosePresenter(PresenterChoice::Automatic), ScreenSetScaleMode(ScaleMode::Fill);
}

TEST_F(Window, TheHeadsUpLineIsBlackOnAWhiteBoxAtTheTopLeft) {
    ASSERT_NE(DrawBegin(ScreenDrawTarget()), nullptr);
    TextDraw("42 7/1990");
    DrawEnd();
    const TextSize size = TextMeasure("42 7/1990");
    EXPECT_EQ(Changed(Screen()), (Box{0, 0, size.width, size.height}));
    EXPECT_EQ(CountNot(Screen()), long{size.width} * size.height);  // opaque
    for (uint32_t v : Screen().pixels) ASSERT_TRUE(v == kGround || v == (v & 255) * 0x010101u) << v << ": not grey";
    EXPECT_GT(std::count(Screen().pixels.begin(), Screen().pixels.end(), 0u), 10);
    EXPECT_EQ(At(0, 0), 0xFFFFFFu);
}

TEST_F(Sprites, CopiesAreClippedAtEveryEdgeAndKeyedOnesSkipBlack) {
    const std::pair<std::array<int32_t, 2>, Box> cases[] = {
        {{100, 200}, {100, 200, 16, 16}}, {{-3, -5}, {0, 0, 13, 11}}, {{790, 595}, {790, 595, 10, 5}},
        {{-16, 10}, {}}, {{800, 10}, {}}, {{10, 600}, {}}, {{INT32_MIN, INT32_MAX}, {}},
    };
    for (const auto& [at, shown] : cases)
        for (bool keyed : {false, true}) {
            Fill(kGround);
            keyed ? SpriteDrawKeyed(1, at[0], at[1]) : SpriteDraw(1, at[0], at[1]);
            ExpectDrawn(shown, at[0], at[1], keyed);
        }
}

TEST_F(Sprites, BoxesOverlapWhenTheyShareAPixelAndAClipSelectsACellUntilMinusOne) {
    EXPECT_EQ((std::array{SpritesCollide(1, 0, 0, 1, 16, 0), SpritesCollide(1, 0, 0, 1, 0, 16), SpritesCollide(1, 0, 0, 1, 15, 15),
                          SpritesCollide(1, 0, 0, 3, -63, -31), SpritesCollide(1, 0, 0, 3, -64, 0), SpritesCollide(1, 0, 0, 9, 0, 0),
                          SpritesCollide(1, INT32_MAX - 5, 0, 1, INT32_MAX - 1, 0)}), (std::array{0, 0, 1, 1, 0, 0, 1}));  // touching is no overlap
    SpriteClip(3, 32, 16, 16, 16);
    SpriteDraw(3, -10, -4);  // the cell is cut by the screen from its own corner
    ExpectDrawn({0, 0, 6, 12}, -10, -4, false, 32, 16);
    EXPECT_EQ((std::array{SpritesCollide(3, 0, 0, 1, 15, 15), SpritesCollide(3, 0, 0, 1, 16, 0)}), (std::array{1, 0}));
    SpriteClip(3, -1, 0, 0, 0);
    Fill(kGround);
    SpriteDraw(3, 0, 0);
    ExpectDrawn({0, 0, 64, 32}, 0, 0, false);
}

TEST_F(Sprites, GrabsCopyTheScreenBlackOutsideItIntoBoundedSlots) {
    SpriteDraw(1, 400, 300);
    ASSERT_NE(SpriteGrab(0, 0, 0, 800, 600), 0);  // the game's background
    ASSERT_NE(SpriteGrab(2, 798, 598, 4, 3), 0);  // over the bottom-right corner
    EXPECT_EQ(SpriteGetInfo(2).picture->pixels, (Pixels{kGround, kGround, 0, 0, kGround, kGround, 0, 0, 0, 0, 0, 0}));
    for (int32_t slot : {65535, -1, 65536}) EXPECT_EQ(Load(slot, 2, 2, Tagged(2, 2)), slot == 65535) << slot;
    Fill(0x123456);
    SpriteDraw(0, 0, 0);
    ExpectDrawn({400, 300, 16, 16}, 400, 300, false);
}

TEST_F(Rotated, EachBlendFactorMixesTheCoveredPixelsRoundedAndLimited) {
    const uint32_t T = 0xC8FF40, S = 0x6432FF, t = 0x80FF40, s = 0x40C0FF;
    const struct { int32_t src, dst, alpha; uint32_t texel, screen, expected; } cases[] = {
        {0, 0, 128, T, S, 0x96999F},                                     // the defaults: 150.2, 152.9, 159.1
        {kBlendSrcAlpha, kBlendDestAlpha, 200, T, S, 0xFFFAFF},          // 256.9, 250.5, 305.2
        {kBlendOne, kBlendDestAlpha, 0, 0x402010, 0xF01008, 0xFF3018},  // the puffs add, saturating
        {kBlendOne, kBlendSrcAlpha, 128, T, S, 0xFAFFC0},                // no copy: 250.2, 305.1, 192
        {kBlendInvDestAlpha, kBlendSrcAlphaSat, 200, T, S, 0},           // the stains are black
        {kBlendInvDestColor, kBlendOne, 255, t, s, 0xA0FFFF},  // one of the per-channel factors: 159.9, 255, 255
    };
    for (const auto& c : cases) {
        ASSERT_NE(Load(7, 2, 2, {c.texel, 0, c.texel, c.texel}, kSpriteFlagTexture), 0);  // the black texel is never drawn
        ASSERT_NE(RotatedSpriteCreate(7, 7), 0);
        Fill(c.screen);
        ASSERT_EQ(RotatedBegin(), 1);
        RotatedBlendMode(c.src, c.dst);  // 0 leaves the batch's defaults
        // Drawn straight once, then again from the kept stamp, also cut by the screen's corners.
        for (auto [x, y] : {std::pair{10, 10}, {20, 10}, {-1, -1}, {799, 599}}) RotatedSpriteDraw(7, x, y, c.alpha);
        RotatedEnd();
        for (int32_t x : {10, 20}) EXPECT_EQ((std::array{At(x, 11), At(x + 1, 10)}), (std::array{c.expected, c.screen})) << c.src;
        EXPECT_EQ((std::array{At(0, 0), At(799, 599), uint32_t(CountNot(Screen(), c.screen))}), (std::array{c.expected, c.expected, 8u})) << c.src;
    }
    // Reloaded and freed, the sprite leaves the rotated one its picture: the last case's.
    ASSERT_NE(Load(7, 2, 2, std::vector<uint32_t>(4, 0xFF), kSpriteFlagTexture), 0);
    SpritesFreeAll();
    RotatedBegin();
    RotatedSpriteDraw(7, 30, 10, 255);
    EXPECT_EQ((std::array{At(30, 11), At(31, 10)}), (std::array{t, s}));
}

TEST(Display, DriversThatShowNothingAreUsedOnlyWhenAskedForByName) {
    const struct { const char* driver; const char* requested; bool allowed; } cases[] = {
        {"x11", nullptr, true},         {"wayland", "x11", true},      {"offscreen", nullptr, false},
        {"dummy", "", false},           {"dummy", "x11", false},       {"offscreen", "dummy", false},
        {"dummy", "dummy", true},       {"offscreen", "x11,offscreen", true}, {"dummy", "DUMMY", true},
        {nullptr, "dummy", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VideoDriverAllowed(c.driver, c.requested), c.allowed) << (c.driver ? c.driver : "none") << " / "
                                                                       << (c.requested ? c.requested : "unset");
}

// The presenter is forced by DREEL_PRESENT's two words only, and a renderer is given up when GL
// names one of Mesa's software rasterisers.
TEST(Display, ThePresenterIsForcedByNameAndSoftwareGlIsRecognised) {
    using C = PresenterChoice;
    const struct { const char* value; std::optional<C> want; } choices[] = {
        {nullptr, C::Automatic}, {"", C::Automatic}, {"framebuffer", C::Framebuffer}, {"renderer", C::Renderer},
        {"Renderer", std::nullopt}, {"gl", std::nullopt}};
    for (const auto& c : choices) EXPECT_EQ(PresenterChoiceOf(c.value), c.want) << (c.value ? c.value : "unset");
    const struct { const char* name; bool software; } gl[] = {
        {"llvmpipe (LLVM 15.0.6, 256 bits)", true}, {"softpipe", true}, {"Mesa DRI swrast", true},
        {"Software Rasterizer", true}, {nullptr, true}, {"AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49)", false},
        {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false}, {"NVIDIA GeForce GTX 1060/PCIe/SSE2", false}};
    for (const auto& c : gl) EXPECT_EQ(IsSoftwareGl(c.name), c.software) << (c.name ? c.name : "none");
}

// SDL reads its Windows DPI-scaling hint only as video starts: set any later, a display at
// 200 % gets a window of 800 x 600 physical pixels. Both ways into video set it first.
TEST(Display, TheWindowsScalingHintIsOnBeforeVideoStarts) {
    static int seen;  // 1: set while video was off; 2: only once it was on
    const SDL_HintCallback note = [](void*, const char*, const char*, const char* value) {
        if (value && SDL_strcmp(value, "1") == 0) seen = SDL_WasInit(SDL_INIT_VIDEO) ? 2 : 1;
    };
    for (const bool throughWindow : {false, true}) {
        SDL_ResetHint(SDL_HINT_WINDOWS_DPI_SCALING), seen = 0;
        SDL_AddHintCallback(SDL_HINT_WINDOWS_DPI_SCALING, note, nullptr);
        EXPECT_TRUE(throughWindow ? WindowOpen(1, 0, 0, 800, 600, 0xC80001u, "Dreel") != 0 : DisplayInit() != 0);
        SDL_DelHintCallback(SDL_HINT_WINDOWS_DPI_SCALING, note, nullptr);
        WindowsCloseAll(), DisplayEnd();
        EXPECT_EQ(seen, 1) << (throughWindow ? "WindowOpen" : "DisplayInit");
    }
}
