// The SDL side of the window table, for the screen. Internal to media/.
#pragma once

#include <SDL.h>

#include <cstdint>

// Our window with that handle (an SDL window id), or null: a stale or made-up handle is
// only ever looked up.
SDL_Window* WindowByHandle(intptr_t handle);
// The hints SDL reads when video starts: every start of video sets them first.
void WindowSetVideoHints();
// Called with a window of ours just before SDL destroys it, so that whatever draws
// into it lets go first. One hook (the screen's); null: none.
void WindowSetClosingHook(void (*hook)(SDL_Window* window));
// Asked for the SDL flags a window about to be made needs besides the game's (the screen's:
// made for GL where it will draw through GL). One hook; null: none.
void WindowSetCreationHook(uint32_t (*hook)());
