// The game tests' world: tables, a zeroed state, seed 0, scripted input, a screen with our own pictures.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "game/effects.h"
#include "game/enemies.h"
#include "game/frame_loop.h"
#include "game/hud.h"
#include "game/player.h"
#include "game/shots.h"
#include "game/steering.h"
#include "game/tables.h"
#include "media/input.h"
#include "media/rotated.h"
#include "media/sprite.h"
#include "media/screen.h"
#include "media/window.h"
#include "runtime/random.h"
#include "test_support.h"

// Ball sheet cell k (five to a row) is coloured kCell + k; the other pictures are solid.
inline constexpr uint32_t kCell = 0x804000, kWhite = 0xFFFFFF;
inline constexpr int32_t C = Chaser, E = EightWaySeeker, A = AxisSeeker, I = Inactive;

using Ints = std::vector<int64_t>;  // values and records as plain numbers: a whole state compares at once
using Rows = std::vector<std::vector<int32_t>>;
template <typename... T> Ints V(T... values) { return {static_cast<int64_t>(values)...}; }
template <typename T> Rows RowsOf(const ObjectList<T>& list) {
    Rows out;
    for (auto* e = list.first; e; e = e->next) {
        const auto* p = reinterpret_cast<const int32_t*>(&e->record);
        out.emplace_back(p, p + sizeof(T) / sizeof(int32_t));
    }
    return out;
}
template <typename T> void Fill(ObjectList<T>& list, const Rows& rows) {  // fields left out stay zero
    for (const auto& r : rows) std::ranges::copy(r, reinterpret_cast<int32_t*>(ListAdd(list)));
}

inline void LoadPicture(int32_t slot, int32_t w, int32_t h, uint32_t colour, int32_t flags = kSpriteFlagTexture) {
    support::TempFolder dir;
    const auto pixel = [&](int32_t x, int32_t y) { return colour ? colour : kCell + y / 16 * 5 + x / 16; };
    support::WriteBytes(dir / "p.bmp", support::BitmapBytes(w, h, 24, {}, pixel));
    SpriteLoad(slot, (dir / "p.bmp").c_str(), flags);
    RotatedSpriteCreate(slot, slot);
}

struct GameTest : ::testing::Test {
    static void SetUpTestSuite() {
        FillTables();
        if (ScreenBackBuffer()) return;
        DisplayInit();
        ScreenOpenInWindow(WindowOpen(1, 0, 0, 800, 600, 0, "t"), 0, 0, 800, 600, 0, 0, 0);
        RotatedSpritesInit();
        LoadPicture(kSpriteBalls, 80, 80, 0, 0);
        LoadPicture(kSpriteShot, 16, 16, 0x00FF00, 0);
        LoadPicture(kSpriteSmoke, 16, 16, 0x404040);
        LoadPicture(kSpriteStain, 8, 8, kWhite);
        LoadPicture(kSpriteShieldBrightest, 16, 16, 0x0000FF);
    }
    void SetUp() override {
        ResetGameState();
        RandomSeedWith(0);
        InputSetScripted(true);
        Input({});
        SpriteClip(kSpriteBalls, 0, 0, 16, 16);  // as the game leaves it
        FillScreen(0);
    }
    static void Input(const InputFrame& in) {
        InputSetFrame(in);
        MouseExamine();
        KeyboardExamine();
    }
    static void FillScreen(uint32_t c) { std::ranges::fill(ScreenBackBuffer()->pixels, c); }
    static uint32_t Pixel(int32_t x, int32_t y) { return ScreenBackBuffer()->At(x, y); }
    static int DrawsTaken() {  // since seed 0, up to 7: where its sequence resumes
        static constexpr int32_t kSeedZero[8] = {55, 79, 66, 38, 23, 63, 64, 42};
        return static_cast<int>(std::find(kSeedZero, kSeedZero + 8, RandomInt(100)) - kSeedZero);
    }
};
