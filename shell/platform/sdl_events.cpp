#include "shell/platform/sdl_events.h"

namespace orval {
namespace {

DeviceEvent input(InputEvent::Type type, std::uint32_t window, int x = 0, int y = 0, char key = 0) {
    DeviceEvent event;
    event.kind = DeviceEvent::Kind::Input;
    event.input = InputEvent{type, 0, x, y, key};
    event.sdlWindow = window;
    return event;
}

DeviceEvent focus(FocusStep step, std::uint32_t window) {
    DeviceEvent event = input(InputEvent::Type::Focus, window);
    event.input.focus = step;
    return event;
}

DeviceEvent ofKind(DeviceEvent::Kind kind, std::uint32_t window) {
    DeviceEvent event;
    event.kind = kind;
    event.sdlWindow = window;
    return event;
}

DeviceEvent readKey(const SDL_KeyboardEvent& key) {
    if (key.repeat) return {};
    const SDL_Keycode code = key.keysym.sym;
    const bool alt = (key.keysym.mod & KMOD_ALT) != 0;
    const bool ctrl = (key.keysym.mod & KMOD_CTRL) != 0;
    if (code == SDLK_F11 || (alt && (code == SDLK_RETURN || code == SDLK_KP_ENTER)))
        return ofKind(DeviceEvent::Kind::ToggleFullscreen, key.windowID);
    if (ctrl && code == SDLK_TAB) return ofKind(DeviceEvent::Kind::CycleWindows, key.windowID);
    if (code == SDLK_RETURN || code == SDLK_KP_ENTER)
        return input(InputEvent::Type::KeyActivate, key.windowID);
    if (code == SDLK_ESCAPE) return input(InputEvent::Type::KeyCancel, key.windowID);
    if (code == SDLK_F1) return input(InputEvent::Type::Help, key.windowID);
    if (code == SDLK_TAB)
        return focus((key.keysym.mod & KMOD_SHIFT) ? FocusStep::Previous : FocusStep::Next,
                     key.windowID);
    if (code == SDLK_LEFT) return focus(FocusStep::Left, key.windowID);
    if (code == SDLK_RIGHT) return focus(FocusStep::Right, key.windowID);
    if (code == SDLK_UP) return focus(FocusStep::Up, key.windowID);
    if (code == SDLK_DOWN) return focus(FocusStep::Down, key.windowID);
    if (code == SDLK_SPACE || code == SDLK_t || code == SDLK_m || code == SDLK_h)
        return input(InputEvent::Type::Key, key.windowID, 0, 0, static_cast<char>(code));
    return {};
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
            return input(InputEvent::Type::MouseMove, event.motion.windowID, event.motion.x,
                         event.motion.y);
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (event.button.button != SDL_BUTTON_LEFT) return {};
            return input(event.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Type::MouseDown
                                                           : InputEvent::Type::MouseUp,
                         event.button.windowID, event.button.x, event.button.y);
        case SDL_KEYDOWN:
            return readKey(event.key);
        default:
            return {};
    }
}

}  // namespace orval
