// What the web page calls in the running game: its end control. Built only for the
// browser, where Escape is kept for the browser (it releases the pointer) and the page
// offers a button instead.
#include <emscripten.h>

#include "game/state.h"

// Ends the game at the end of the current loop pass, as Escape does on the desktop.
extern "C" EMSCRIPTEN_KEEPALIVE void DreelWebEnd() {
    game.quitRequested = 1;
}
