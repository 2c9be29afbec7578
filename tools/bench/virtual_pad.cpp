// A game controller for the bench, preloaded into the game (LD_PRELOAD): as soon as the game
// starts SDL's controllers, SDL's virtual pad is plugged in, so that the game's wake-ups at rest
// are counted with a controller there, as a player's would be.
#include <dlfcn.h>

#include <SDL.h>

extern "C" DECLSPEC int SDLCALL SDL_InitSubSystem(Uint32 flags) {
    using Init = int(SDLCALL*)(Uint32);
    static const Init real = reinterpret_cast<Init>(dlsym(RTLD_NEXT, "SDL_InitSubSystem"));
    const int result = real(flags);
    if (result == 0 && (flags & SDL_INIT_GAMECONTROLLER)) {
        SDL_VirtualJoystickDesc pad{};
        pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        pad.naxes = SDL_CONTROLLER_AXIS_MAX;
        pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        pad.name = "bench pad";
        SDL_JoystickAttachVirtualEx(&pad);
    }
    return result;
}
