// The floor the web game is measured against: the least SDL2 page of the same kind, built and
// loaded the same way, showing the menu's picture where the stage shows the menu.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>

int main(int, char*[]) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "orval-floor-page: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Surface* picture = IMG_Load("/data/pictures/menu.png");
    if (!picture) {
        std::fprintf(stderr, "orval-floor-page: %s\n", IMG_GetError());
        return 1;
    }
    constexpr int kWidth = 1280, kHeight = 800;
    SDL_Window* window =
        SDL_CreateWindow("ORVAL KESK", 0, 0, kWidth, kHeight, SDL_WINDOW_RESIZABLE);
    SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!surface) {
        std::fprintf(stderr, "orval-floor-page: %s\n", SDL_GetError());
        return 1;
    }
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0x10, 0x10, 0x18));
    SDL_Rect place{(surface->w - picture->w) / 2, (surface->h - picture->h) / 2, picture->w,
                   picture->h};
    SDL_BlitSurface(picture, nullptr, surface, &place);
    SDL_UpdateWindowSurface(window);
    // The page keeps showing it: the runtime lives on after main.
    return 0;
}
