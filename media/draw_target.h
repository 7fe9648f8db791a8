// The drawing target: the picture that sprite copies, rotated sprites and text write
// into, the screen's back buffer while a screen is open and none otherwise. The screen
// sets it; the drawing modules only read it, so they depend on this small module and
// not on the screen, which in turn frees their sprites and ends their text blocks.
// Internal to media/. Depends on picture.h only.
#pragma once

#include "media/picture.h"

// The back buffer while a screen is open; null otherwise.
Picture* CurrentTarget();
// Set by the screen when it opens (its back buffer) and closes (null).
void SetCurrentTarget(Picture* target);
