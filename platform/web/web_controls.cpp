// What the web page calls in the running game: its end control, the touch sticks it
// draws, and the frame count its tests time pictures by. Built only for the browser, where Escape is kept for the browser (it releases
// the pointer) and the page offers a button instead.
#include <emscripten.h>

#include "game/recorder.h"
#include "game/state.h"
#include "media/touch.h"

// Ends the game at the end of the current loop pass, as Escape does on the desktop.
extern "C" EMSCRIPTEN_KEEPALIVE void DreelWebEnd() {
    game.quitRequested = 1;
}

// One figure of a touch stick (0 the move stick, 1 the aim stick): field 0 is 1 while a
// finger holds it, 1 and 2 where the finger landed, 3 and 4 where it is, as fractions of
// the picture.
extern "C" EMSCRIPTEN_KEEPALIVE float DreelWebTouchStick(int which, int field) {
    const TouchStick s = TouchStickState(which == 0 ? TouchStickKind::Move : TouchStickKind::Aim);
    const float figures[] = {s.held ? 1.0f : 0.0f, s.originX, s.originY, s.x, s.y};
    return field >= 0 && field < 5 ? figures[field] : 0.0f;
}

// The frames played so far, as recorded: a picture shown during frame N reads N - 1.
extern "C" EMSCRIPTEN_KEEPALIVE int DreelWebFrame() {
    return recorder.frame;
}
