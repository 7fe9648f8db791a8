// The overlay: what the presentation shows over the game's picture. While the game is
// paused, the picture dimmed with a panel of lines in the middle; for a moment after a
// change of volume, a short note at the top. Both are drawn into a copy of the picture
// that is then shown in its place: the back buffer, and so the game's screenshots,
// traces and recordings, never hold them.
// Limits: the built-in font's box style; Latin-1 text; the copy is made only while
// something is shown over the picture.
// Depends on picture.h and text.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/picture.h"

// The panel's lines (empty: no panel, the picture not dimmed).
void OverlaySetPanel(const std::vector<std::string>& lines);
// A note shown until the clock reads `untilMs` (milliseconds, compared by their signed
// difference so a wrapping clock does no harm).
void OverlaySetNote(const std::string& note, uint32_t untilMs);
// Whether what is shown over the picture has changed since the last composition at
// `nowMs` (a note set or run out, the panel changed).
bool OverlayChanged(uint32_t nowMs);
// The picture to show: `back` itself when nothing is over it, else the composed copy.
const Picture& OverlayCompose(const Picture& back, uint32_t nowMs);
// Nothing over the picture, the copy freed.
void OverlayReset();
