#include "media/program_end.h"

#include <SDL.h>

#include "media/input.h"
#include "media/rotated.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/window.h"

void ProgramEnd() {
    WindowsCloseAll();
    RotatedSpritesEnd();
    SoundEnd();
    MouseEnd();
    KeyboardEnd();
    DisplayEnd();
    SDL_Quit();
}
