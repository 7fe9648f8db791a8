// The yardstick for the game's start-up: the least a program on SDL2 and SDL2_ttf does
// to show a window and play sound. It starts the font library, video and audio, opens
// an 800 x 600 window and an audio device in the game's output format, says "ready" on
// standard output, and quits. bench/startup_ratio.sh times it against the headless game.
// Links SDL2 and SDL2_ttf only: nothing of the game's own.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>

namespace {

void SDLCALL Silence(void*, Uint8* stream, int length) { SDL_memset(stream, 0, static_cast<size_t>(length)); }

}  // namespace

int main(int, char**) {
    if (TTF_Init() != 0 || SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "bare_sdl: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window = SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 800, 600,
                                          SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE);
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 512;
    want.callback = Silence;
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (!window || device == 0) {
        std::fprintf(stderr, "bare_sdl: %s\n", SDL_GetError());
        return 1;
    }
    SDL_PauseAudioDevice(device, 0);
    std::puts("ready");
    std::fflush(stdout);
    SDL_CloseAudioDevice(device);
    SDL_DestroyWindow(window);
    SDL_Quit();
    TTF_Quit();
    return 0;
}
