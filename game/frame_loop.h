// The frame loop: one frame every 20 ms of the clock, window events served between
// frames, and the fifteen phases of a frame in their order.
#pragma once

#include "game/platform.h"

inline constexpr uint32_t kFrameMs = 20;

// How punctual the frames were: for the end-to-end test and for people tuning.
struct LoopStats {
    uint32_t frames = 0;
    uint32_t maxLateMs = 0;  // clock past the due time when a frame started, at most
};
extern LoopStats loopStats;

// Runs until quitRequested is set (Escape in a frame, or the close box).
void RunFrameLoop(const Platform& platform);
// One pass of the loop: a frame when one is due, otherwise one window event or a 1 ms
// sleep. Returns true when a frame ran.
bool RunLoopPass(const Platform& platform);
// Phases 2 to 15 of one frame (phase 1, the timing, belongs to the loop pass).
void RunFramePhases();

// The phases that the loop calls by name.
void ExamineInput();    // phase 2
void DrawBackground();  // phase 3
void ControlPlayer();   // phase 5: the player while alive, else the restart check
void CheckQuit();       // phase 15
