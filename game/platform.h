// What the start-up and the frame loop call outside the game: the clock, the sleep,
// the facility initialisations, the window, the error box and the end. The real game
// uses the defaults; tests put in fakes to drive the loop with their own clock and to
// fail a facility on purpose.
#pragma once

#include <cstdint>

struct Platform {
    uint32_t (*tickMs)();
    void (*sleepMs)(uint32_t ms);
    void (*seedRandom)();
    int32_t (*displayInit)();
    int32_t (*rotatedSpritesInit)();
    int32_t (*mouseInit)();
    int32_t (*keyboardInit)();
    int32_t (*soundInit)();
    int32_t (*errorBox)(const char* title, const char* text);
    intptr_t (*windowOpen)(int32_t slot, int32_t x, int32_t y, int32_t width, int32_t height,
                           uint32_t flags, const char* title);
    int32_t (*screenOpen)(intptr_t window, int32_t offsetX, int32_t offsetY, int32_t width,
                          int32_t height, int32_t autoStretch, int32_t rightMargin,
                          int32_t bottomMargin);
    int32_t (*pollEvent)();
    void (*loadData)();   // pictures and sounds into their slots
    void (*runFrame)();   // phases 2 to 15 of one frame
    void (*programEnd)();
    // Whether frames are held back now (the player paused); null: never. Asked at every
    // pass of the frame loop; the game's state sees nothing of a pause.
    bool (*framesHeld)();
};

// The real platform: SDL through the multimedia layer, the system clock.
Platform DefaultPlatform();
