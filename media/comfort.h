// Comfort: the player's pause and volume, around the game rather than in it.
// - Pause: P or Pause toggles it; the window losing the focus, being minimised or hidden
//   (a browser tab put away) pauses too while `pauseWhenLeft` is on, and its coming back
//   ends a pause it caused, not one the player chose; the pad that drives being pulled
//   out pauses as the player would. While paused no frame runs (the caller holds them
//   back), the sound device is paused, the pointer is the desktop's, and the last picture
//   stays dimmed with a panel saying how to go on.
// - Volume: - and + in steps of 10 %, M mutes and unmutes, with a note over the picture
//   for a second and a half.
// All of it is drawn by the presentation (overlay.h), never into the game's picture.
// Limits: acts only between ComfortStart and ComfortEnd (the playing game; replays and
// tests never pause).
// Depends on events.h, overlay.h, screen.h, sound.h, input.h and gamepad.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ComfortSettings {
    int32_t volume = 100;        // percent, 0 to 100
    bool muted = false;
    bool pauseWhenLeft = true;   // leaving the window pauses
    bool operator==(const ComfortSettings&) const = default;
};

// Starts acting with these settings (the volume applies at once).
void ComfortStart(const ComfortSettings& settings);
ComfortSettings ComfortCurrent();
// The volume or the mute was changed by a key since the last call.
bool ComfortTakeChanged();
// Lines shown under the pause panel's own (the player's results, say).
void ComfortSetPanelLines(const std::vector<std::string>& lines);
// Called at every pass of the frame loop: acts on the keys and the window, and says
// whether frames are held back (paused); while they are, it keeps the picture shown.
bool ComfortFramesHeld();
// Whether the game is paused now.
bool ComfortPaused();
// Stops acting: the sound plays at full volume, nothing is over the picture.
void ComfortEnd();
