#include "runtime/errorbox.h"

#include <SDL.h>

#include <cstdio>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

int32_t ErrorBox(const char* title, const char* text) {
    std::fprintf(stderr, "%s: %s\n", title, text);
    std::fflush(stderr);
    // Parent the box to our window when it has the focus, so it is modal to it.
    SDL_Window* owner = SDL_GetKeyboardFocus();
    const SDL_MessageBoxButtonData ok{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "OK"};
    SDL_MessageBoxData box{};
    box.flags = SDL_MESSAGEBOX_ERROR;
    box.window = owner;
    box.title = title;
    box.message = text;
    box.numbuttons = 1;
    box.buttons = &ok;
    int pressed = 0;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) return 0;
    return pressed;
}

void MessagesToParentConsole() {
#ifdef _WIN32
    const auto leadsNowhere = [](DWORD which) {
        const HANDLE handle = GetStdHandle(which);
        return handle == nullptr || handle == INVALID_HANDLE_VALUE;
    };
    if (!leadsNowhere(STD_OUTPUT_HANDLE) || !leadsNowhere(STD_ERROR_HANDLE)) return;  // redirected
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;  // double-clicked: no console to use
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
#endif
}
