// Events: the one reader of SDL's event queue. A pump gathers what the system has and
// takes every waiting event once, handing each on: keys, buttons, the wheel, the focus
// and the pads to the input module (which latches them for its examinations), the
// window's changes and the hot keys (F11, Alt+Enter; pause and volume) to the notes here, and a
// code for the game's poll.
// Limits: the poll keeps the codes of the first 64 events not yet polled (the close box's
// is never dropped) and none for the pads' streams; the screen acts on its notes at the
// next flip.
// Depends on SDL2 events and input_events.h.
#pragma once

#include <cstdint>

// Codes returned by WindowPollEvent.
inline constexpr int32_t kEventClose = 16;  // the close box; the window stays open
inline constexpr int32_t kEventSize = 5;    // shown, minimised, restored, resized

// Takes every event waiting in SDL's queue and hands each on. The screen pumps at every
// flip; the poll pumps when it has nothing left.
void EventsPump();
// The next event's code, 0 when none is waiting (pumping first when none is kept).
int32_t WindowPollEvent();

// --- the screen's notes ---

// F11, or Enter with Alt, was pressed since the last call.
bool EventsTakeFullscreenToggle();
// The window was resized, shown or uncovered since the last call.
bool EventsTakeWindowChange();
// The same without taking it.
bool EventsWindowChangePending();
// The pause and volume keys pressed since the last call (without Ctrl, Alt or the
// system key), counted.
struct ComfortKeys {
    int32_t pauseToggles = 0;  // P or Pause
    int32_t volumeSteps = 0;   // + minus -
    int32_t muteToggles = 0;   // M
};
ComfortKeys EventsTakeComfortKeys();
// Whether the player has left the window: it lost the focus, or was minimised or hidden,
// and has not had it back or been shown again since.
bool EventsWindowLeft();
// Forgets the kept codes and notes (the display ends).
void EventsForget();
