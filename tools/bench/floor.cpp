// The floor the game is measured against: the least an SDL2 program of the same kind does.
//
//     orval-floor [PICTURE]              one borderless window showing the menu picture, a sound
//                                        device open, waiting for events until closed or SIGTERM
//     orval-floor --clip WAV [ROUNDS]    thread CPU ms of loading and starting the clip, one line
//                                        per round, with the mixer at the clips' own format
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

int measureClip(const char* file, int rounds) {
    // The dummy driver keeps the measurement off real hardware, as the game's bench does.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (SDL_Init(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "orval-floor: no audio: %s\n", SDL_GetError());
        return 1;
    }
    // 22050 Hz mono S16: the clips' own format, so loading them converts nothing.
    if (Mix_OpenAudio(22050, AUDIO_S16SYS, 1, 1024) != 0) {
        std::fprintf(stderr, "orval-floor: no mixer: %s\n", Mix_GetError());
        return 1;
    }
    Mix_AllocateChannels(1);
    // One untimed round first: the first load pays for the file cache and lazy set-up.
    for (int round = -1; round < rounds; ++round) {
        const double start = threadCpuMs();
        Mix_Chunk* chunk = Mix_LoadWAV(file);
        if (!chunk || Mix_PlayChannel(0, chunk, 0) < 0) {
            std::fprintf(stderr, "orval-floor: %s: %s\n", file, Mix_GetError());
            return 1;
        }
        const double spent = threadCpuMs() - start;
        Mix_HaltChannel(0);
        Mix_FreeChunk(chunk);
        if (round >= 0) std::printf("%.3f\n", spent);
    }
    Mix_CloseAudio();
    SDL_Quit();
    return 0;
}

void draw(SDL_Window* window, SDL_Surface* picture) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (!surface) return;
    SDL_BlitSurface(picture, nullptr, surface, nullptr);
    SDL_UpdateWindowSurface(window);
}

int showMenu(const char* file) {
    // Drawn through the window surface in software, as the game draws.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr, "orval-floor: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Surface* picture = IMG_Load(file);
    if (!picture) {
        std::fprintf(stderr, "orval-floor: %s: %s\n", file, IMG_GetError());
        return 1;
    }
    constexpr int kWidth = 359, kHeight = 227;
    SDL_Rect usable{0, 0, 1024, 768};
    SDL_GetDisplayUsableBounds(0, &usable);
    SDL_Window* window = SDL_CreateWindow("ORVAL KESK", usable.x + (usable.w - kWidth) / 2,
                                          usable.y + (usable.h - kHeight) / 2, kWidth, kHeight,
                                          SDL_WINDOW_BORDERLESS);
    if (!window) {
        std::fprintf(stderr, "orval-floor: %s\n", SDL_GetError());
        return 1;
    }
    // The same device as the game opens, so that the floor pays for a running mixer too.
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0)
        std::fprintf(stderr, "orval-floor: no sound device: %s\n", Mix_GetError());
    draw(window, picture);

    SDL_Event event;
    bool open = true;
    while (open && SDL_WaitEvent(&event)) {
        if (event.type == SDL_QUIT) open = false;
        if (event.type == SDL_WINDOWEVENT) {
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) open = false;
            if (event.window.event == SDL_WINDOWEVENT_EXPOSED) draw(window, picture);
        }
    }
    Mix_CloseAudio();
    SDL_DestroyWindow(window);
    SDL_FreeSurface(picture);
    SDL_Quit();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string first = argc > 1 ? argv[1] : "";
    if (first == "--clip") {
        if (argc < 3) {
            std::fprintf(stderr, "usage: orval-floor --clip FILE.wav [ROUNDS]\n");
            return 2;
        }
        return measureClip(argv[2], argc > 3 ? std::atoi(argv[3]) : 9);
    }
    return showMenu(argc > 1 ? argv[1] : ORVAL_SOURCE_DIR "/data/pictures/menu.png");
}
