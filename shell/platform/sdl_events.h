// SDL's events as the game's platforms read them, before they are addressed to a game window.
#pragma once

#include <cstdint>

#include <SDL_events.h>

#include "shell/platform/platform.h"

namespace orval {

struct DeviceEvent {
    enum class Kind {
        Nothing,      // an event the game has no use for
        Input,        // `input`, its window not yet known, its pointer in `sdlWindow`'s pixels
        Exposed,      // the window system lost the window's pixels: show them again
        Resized,      // the window has a new surface: draw it anew
        PointerLeft,  // the pointer went out of the window
        Focused,      // the window took the keyboard's focus
    };
    Kind kind = Kind::Nothing;
    InputEvent input;
    std::uint32_t sdlWindow = 0;  // 0 where the event concerns no window (the program's end)
};

DeviceEvent readDeviceEvent(const SDL_Event& event);

}  // namespace orval
