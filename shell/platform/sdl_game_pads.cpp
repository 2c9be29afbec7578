#include "shell/platform/sdl_game_pads.h"

#include <SDL.h>

namespace orval {
namespace {

std::optional<PadButton> buttonOf(Uint8 button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A:
            return PadButton::A;
        case SDL_CONTROLLER_BUTTON_B:
            return PadButton::B;
        case SDL_CONTROLLER_BUTTON_X:
            return PadButton::X;
        case SDL_CONTROLLER_BUTTON_Y:
            return PadButton::Y;
        case SDL_CONTROLLER_BUTTON_BACK:
            return PadButton::Back;
        case SDL_CONTROLLER_BUTTON_START:
            return PadButton::Start;
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return PadButton::Up;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return PadButton::Down;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return PadButton::Left;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return PadButton::Right;
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
            return PadButton::LeftShoulder;
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
            return PadButton::RightShoulder;
        case SDL_CONTROLLER_BUTTON_LEFTSTICK:
            return PadButton::LeftStick;
        default:
            return std::nullopt;
    }
}

}  // namespace

void SdlGamePads::Closer::operator()(SDL_GameController* controller) const {
    SDL_GameControllerClose(controller);
}

SdlGamePads::SdlGamePads(std::function<void()> wake) : watch_(std::move(wake)) {
    // Read when the watch wakes the game, not by SDL at every turn of its event loop.
    if (watch_.watching()) SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
    started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

SdlGamePads::~SdlGamePads() {
    open_.clear();
    if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void SdlGamePads::read() {
    if (!started_ || !watch_.watching()) return;
    watch_.rearm();  // first: a report that comes while SDL reads wakes the game again
    SDL_GameControllerUpdate();
}

std::optional<std::uint64_t> SdlGamePads::nextGlide() const {
    const bool heard = SDL_GetKeyboardFocus() != nullptr ||
                       SDL_GetHintBoolean(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, SDL_FALSE);
    return heard ? pads_.nextGlide() : std::nullopt;
}

std::optional<InputEvent> SdlGamePads::take(const SDL_Event& event, std::uint64_t now) {
    PadEvent pad;
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED: {
            SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which);
            if (!controller) return std::nullopt;  // a pad SDL cannot open is no pad of ours
            pad.pad = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
            if (!open_.try_emplace(pad.pad, controller).second) SDL_GameControllerClose(controller);
            pad.kind = PadEvent::Kind::Plugged;
            break;
        }
        case SDL_CONTROLLERDEVICEREMOVED:
            pad.pad = event.cdevice.which;
            if (!open_.erase(pad.pad)) return std::nullopt;
            pad.kind = PadEvent::Kind::Unplugged;
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            const std::optional<PadButton> button = buttonOf(event.cbutton.button);
            if (!button) return std::nullopt;
            pad.pad = event.cbutton.which;
            pad.kind = event.type == SDL_CONTROLLERBUTTONDOWN ? PadEvent::Kind::Pressed
                                                              : PadEvent::Kind::Released;
            pad.button = *button;
            break;
        }
        case SDL_CONTROLLERAXISMOTION: {
            if (event.caxis.axis != SDL_CONTROLLER_AXIS_LEFTX &&
                event.caxis.axis != SDL_CONTROLLER_AXIS_LEFTY)
                return std::nullopt;
            const auto it = open_.find(event.caxis.which);
            if (it == open_.end()) return std::nullopt;
            pad.pad = event.caxis.which;
            pad.kind = PadEvent::Kind::Stick;
            pad.x = SDL_GameControllerGetAxis(it->second.get(), SDL_CONTROLLER_AXIS_LEFTX);
            pad.y = SDL_GameControllerGetAxis(it->second.get(), SDL_CONTROLLER_AXIS_LEFTY);
            break;
        }
        default:
            return std::nullopt;
    }
    return pads_.take(pad, now);
}

}  // namespace orval
