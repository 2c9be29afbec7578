// The game controllers SDL knows (SDL's GameController API with its own mapping database, so
// that every make of pad names its buttons alike), opened as they are plugged in and closed as
// they go, their reports handed to the plain GamePads. SDL's own reading of them would wake the
// game hundreds of times a second; they are read only when the watch says one has something to
// say, and at frame rate while a stick is held.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include <SDL_events.h>
#include <SDL_gamecontroller.h>

#include "shell/platform/game_pad.h"
#include "shell/platform/pad_watch.h"

namespace orval {

class SdlGamePads {
  public:
    // Starts SDL's controller subsystem (SDL itself must run); `wake` makes the game's wait
    // return, from another thread. Without controller support the game goes on without it.
    explicit SdlGamePads(std::function<void()> wake);
    ~SdlGamePads();
    SdlGamePads(const SdlGamePads&) = delete;
    SdlGamePads& operator=(const SdlGamePads&) = delete;

    // Before the game waits: what the controllers reported since becomes SDL events.
    void read();
    // The game's input a controller's SDL event makes (not yet addressed to a window; A at the
    // pointer), opening or closing the controller it names.
    std::optional<InputEvent> take(const SDL_Event& event, std::uint64_t now);

    // When the pointer moves next while a stick is held, as long as the game hears the pads:
    // SDL gives a program their reports only while one of its windows has the keys (unless told
    // otherwise), and a pointer held to one side must not be pulled into a game in the back.
    std::optional<std::uint64_t> nextGlide() const;
    Point glide(Point from, const Rect& area, std::uint64_t now) {
        return pads_.glide(from, area, now);
    }

  private:
    struct Closer {
        void operator()(SDL_GameController* controller) const;
    };

    PadWatch watch_;
    bool started_ = false;
    std::map<SDL_JoystickID, std::unique_ptr<SDL_GameController, Closer>> open_;
    GamePads pads_;
};

}  // namespace orval
