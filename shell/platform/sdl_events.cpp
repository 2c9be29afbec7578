#include "shell/platform/sdl_events.h"

#include <optional>

#include <SDL_video.h>

namespace orval {
namespace {

DeviceEvent input(InputEvent::Type type, std::uint32_t window, int x = 0, int y = 0) {
    DeviceEvent event;
    event.kind = DeviceEvent::Kind::Input;
    event.input = InputEvent{type, 0, x, y};
    event.sdlWindow = window;
    return event;
}

DeviceEvent ofKind(DeviceEvent::Kind kind, std::uint32_t window) {
    DeviceEvent event;
    event.kind = kind;
    event.sdlWindow = window;
    return event;
}

static_assert(static_cast<int>(Key::Z) - static_cast<int>(Key::A) == SDLK_z - SDLK_a);
static_assert(static_cast<int>(Key::F12) - static_cast<int>(Key::F1) == SDLK_F12 - SDLK_F1);

// The key as the player's layout names it, whatever it will mean; nothing for a key the game
// has no name for.
std::optional<Key> keyOf(SDL_Keycode code) {
    if (code >= SDLK_a && code <= SDLK_z)
        return static_cast<Key>(static_cast<int>(Key::A) + (code - SDLK_a));
    if (code >= SDLK_F1 && code <= SDLK_F12)
        return static_cast<Key>(static_cast<int>(Key::F1) + (code - SDLK_F1));
    switch (code) {
        case SDLK_RETURN:
            return Key::Enter;
        case SDLK_KP_ENTER:
            return Key::KeypadEnter;
        case SDLK_ESCAPE:
            return Key::Escape;
        case SDLK_TAB:
            return Key::Tab;
        case SDLK_SPACE:
            return Key::Space;
        case SDLK_LEFT:
            return Key::Left;
        case SDLK_RIGHT:
            return Key::Right;
        case SDLK_UP:
            return Key::Up;
        case SDLK_DOWN:
            return Key::Down;
        default:
            return std::nullopt;
    }
}

// A key pressed, with the modifiers held; a key held down until it repeats is pressed once.
DeviceEvent readKey(const SDL_KeyboardEvent& key) {
    if (key.repeat) return {};
    const std::optional<Key> named = keyOf(key.keysym.sym);
    if (!named) return {};
    DeviceEvent event = input(InputEvent::Type::Key, key.windowID);
    event.input.key = *named;
    event.input.modifiers = {(key.keysym.mod & KMOD_SHIFT) != 0, (key.keysym.mod & KMOD_CTRL) != 0,
                             (key.keysym.mod & KMOD_ALT) != 0};
    return event;
}

// A finger, in the pixels of its window as the mouse's are given (SDL gives it as a fraction of
// the window); the touches SDL makes of the mouse are the mouse's own already.
DeviceEvent readFinger(const SDL_TouchFingerEvent& finger, Uint32 type) {
    if (finger.touchId == SDL_MOUSE_TOUCHID) return {};
    SDL_Window* window = SDL_GetWindowFromID(finger.windowID);
    if (!window) return {};
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    const InputEvent::Type kind = type == SDL_FINGERDOWN ? InputEvent::Type::TouchDown
                                  : type == SDL_FINGERUP ? InputEvent::Type::TouchUp
                                                         : InputEvent::Type::TouchMove;
    return input(kind, finger.windowID, static_cast<int>(finger.x * static_cast<float>(width)),
                 static_cast<int>(finger.y * static_cast<float>(height)));
}

}  // namespace

DeviceEvent readDeviceEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            return input(InputEvent::Type::Quit, 0);
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_EXPOSED:
                    return ofKind(DeviceEvent::Kind::Exposed, event.window.windowID);
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    return ofKind(DeviceEvent::Kind::Resized, event.window.windowID);
                case SDL_WINDOWEVENT_LEAVE:
                    return ofKind(DeviceEvent::Kind::PointerLeft, event.window.windowID);
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    return ofKind(DeviceEvent::Kind::Focused, event.window.windowID);
                case SDL_WINDOWEVENT_CLOSE:
                    return input(InputEvent::Type::CloseRequest, event.window.windowID);
                default:
                    return {};
            }
        case SDL_MOUSEMOTION:
            // SDL makes mouse events of every touch: the finger's own come as touches.
            if (event.motion.which == SDL_TOUCH_MOUSEID) return {};
            return input(InputEvent::Type::MouseMove, event.motion.windowID, event.motion.x,
                         event.motion.y);
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (event.button.button != SDL_BUTTON_LEFT || event.button.which == SDL_TOUCH_MOUSEID)
                return {};
            return input(event.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Type::MouseDown
                                                           : InputEvent::Type::MouseUp,
                         event.button.windowID, event.button.x, event.button.y);
        case SDL_MOUSEWHEEL: {
            DeviceEvent wheel = input(InputEvent::Type::Wheel, event.wheel.windowID);
            wheel.input.wheel =
                event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
            return wheel;
        }
        case SDL_KEYDOWN:
            return readKey(event.key);
        case SDL_FINGERDOWN:
        case SDL_FINGERMOTION:
        case SDL_FINGERUP:
            return readFinger(event.tfinger, event.type);
        default:
            return {};
    }
}

}  // namespace orval
