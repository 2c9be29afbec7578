// A game controller for the bench, preloaded into the game (LD_PRELOAD): as soon as the game
// starts SDL's controllers, SDL's virtual pad is plugged in, so that the game's wake-ups at rest
// are counted with a controller there, as a player's would be.
//
// ORVAL_VIRTUAL_PAD="MS:WHAT ..." plays a player's part with it, to look at the game in real
// windows: MS milliseconds after the pad is plugged in, "stick=X,Y" holds the left stick (SDL's
// axis values), "press=N" and "release=N" a button (SDL's numbers: 0 A, 1 B, 2 X, 3 Y, 4 Back,
// 6 Start, 11 to 14 the d-pad up, down, left, right), "unplug" pulls it out. Each wakes the
// game as the watch of a real pad would.
#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>

#include <SDL.h>

namespace {

void wakeTheGame() {
    SDL_Event wake{};
    wake.type = SDL_USEREVENT;
    SDL_PushEvent(&wake);
}

void play(SDL_Joystick* pad, std::string script) {
    const auto start = std::chrono::steady_clock::now();
    std::istringstream words(script);
    for (std::string word; words >> word;) {
        int ms = 0, x = 0, y = 0, button = 0;
        char what[16] = {};
        if (std::sscanf(word.c_str(), "%d:%15[a-z]", &ms, what) != 2) continue;
        std::this_thread::sleep_until(start + std::chrono::milliseconds(ms));
        const std::string action = what;
        const char* value = word.c_str() + word.find('=') + 1;
        if (action == "stick" && std::sscanf(value, "%d,%d", &x, &y) == 2) {
            SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
            SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
        } else if ((action == "press" || action == "release") &&
                   std::sscanf(value, "%d", &button) == 1) {
            SDL_JoystickSetVirtualButton(pad, button, action == "press");
        } else if (action == "unplug") {
            const SDL_JoystickID id = SDL_JoystickInstanceID(pad);
            for (int i = 0; i < SDL_NumJoysticks(); ++i)
                if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
        }
        wakeTheGame();
    }
}

}  // namespace

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
        const int index = SDL_JoystickAttachVirtualEx(&pad);
        const char* script = std::getenv("ORVAL_VIRTUAL_PAD");
        if (index >= 0 && script)
            if (SDL_Joystick* joystick = SDL_JoystickOpen(index))
                std::thread(play, joystick, std::string(script)).detach();
    }
    return result;
}
