#include "shell/platform/sdl_platform.h"

#include <stdexcept>

#include <SDL.h>

#include "shell/platform/display_scale.h"
#include "shell/platform/sdl_events.h"

namespace orval {

void SdlPlatform::WindowDeleter::operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }

std::optional<Rect> SdlPlatform::tooSmallFor(const WindowPlan& plan) const {
    if (!session_->videoError().empty()) return std::nullopt;
    const Rect usable = session_->usableArea();
    if (fitsTogether(1, usable, plan)) return std::nullopt;
    return usable;
}

int SdlPlatform::fitScale(const WindowPlan& plan) {
    if (session_->videoError().empty()) scale_ = fittingScale(scale_, session_->usableArea(), plan);
    arrangement_ = arrange(usableBounds(), plan);
    return scale_;
}

Rect SdlPlatform::usableBounds() { return logicalArea(session_->usableArea(), scale_); }

Rect SdlPlatform::arrangement() { return arrangement_.value_or(arrange(usableBounds(), {})); }

std::optional<WindowId> SdlPlatform::idOf(std::uint32_t sdlWindowId) const {
    for (const auto& [id, w] : windows_)
        if (SDL_GetWindowID(w.window.get()) == sdlWindowId) return id;
    return std::nullopt;
}

WindowId SdlPlatform::openWindow(const WindowRequest& request, WindowPainter& painter) {
    if (!session_->videoError().empty()) throw std::runtime_error(session_->videoError());
    Uint32 flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN;
    if (request.kind == WindowKind::MessageBox || request.kind == WindowKind::Notebook)
        flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    // On X11 a tooltip is a window the window manager leaves alone: it takes no focus, has no
    // place in the task bar and stays where it is put.
    if (request.kind == WindowKind::Subtitles)
        flags |= SDL_WINDOW_TOOLTIP | SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR;
    const Rect placed = placeOnScreen(request, session_->usableArea(), scale_);
    SDL_Window* window =
        SDL_CreateWindow(request.title.c_str(), placed.x, placed.y, placed.w, placed.h, flags);
    if (!window)
        throw std::runtime_error("cannot open the window " + request.title + ": " + SDL_GetError());
    OpenWindow open{std::unique_ptr<SDL_Window, WindowDeleter>(window), &painter,
                    request.kind != WindowKind::Subtitles};
    if (!request.iconFile.empty()) setWindowIcon(window, request.iconFile);
    const WindowId id = nextWindow_++;
    windows_.emplace(id, std::move(open));
    return id;
}

void SdlPlatform::showWindow(WindowId window) {
    OpenWindow& w = windows_.at(window);
    if (w.takesFocus) {
        front_ = window;
        SDL_ShowWindow(w.window.get());
        SDL_RaiseWindow(w.window.get());
    } else if (!(SDL_GetWindowFlags(w.window.get()) & SDL_WINDOW_SHOWN)) {
        // Shown without taking the focus from the scene the player is in (Windows would give
        // it; an X11 window manager never sees this window).
        SDL_SetHint(SDL_HINT_WINDOW_NO_ACTIVATION_WHEN_SHOWN, "1");
        SDL_ShowWindow(w.window.get());
        SDL_SetHint(SDL_HINT_WINDOW_NO_ACTIVATION_WHEN_SHOWN, "0");
    } else if (session_->system().raisesFloatingWindows()) {
        // Restacked above a scene the player brought forward.
        SDL_RaiseWindow(w.window.get());
    }
    SDL_UpdateWindowSurface(w.window.get());
}

void SdlPlatform::closeWindow(WindowId window) {
    windows_.erase(window);
    if (front_ == window) front_.reset();
    if (pointer_ && pointer_->window == window) pointer_.reset();
}

void SdlPlatform::movePointer(WindowId window, int x, int y) {
    pointer_ = WindowPoint{window, {x, y}};
    // Into the middle of the logical pixel, which the pointer's move then reports again.
    SDL_WarpMouseInWindow(windows_.at(window).window.get(), x * scale_ + scale_ / 2,
                          y * scale_ + scale_ / 2);
}

void SdlPlatform::paint(WindowId id, OpenWindow& window) {
    // The painter draws straight into the window's own pixels: no copy of them is kept.
    SDL_Surface* surface = SDL_GetWindowSurface(window.window.get());
    if (!surface)  // a window nobody would ever see: better a clear error than a silent game
        throw std::runtime_error(std::string("a window cannot be drawn on this display (the ") +
                                 SDL_GetCurrentVideoDriver() +
                                 " video driver gives it no pixels) " + SDL_GetError());
    Canvas canvas(surface, scale_);
    window.painter->paint(id, canvas);
    if (SDL_GetWindowFlags(window.window.get()) & SDL_WINDOW_SHOWN)
        SDL_UpdateWindowSurface(window.window.get());
}

std::optional<WindowId> SdlPlatform::frontWindow() const {
    if (SDL_Window* focused = SDL_GetKeyboardFocus())
        if (const std::optional<WindowId> id = idOf(SDL_GetWindowID(focused));
            id && windows_.at(*id).takesFocus)
            return id;
    return front_;
}

std::optional<InputEvent> SdlPlatform::fromPad(InputEvent input) {
    if (input.type == InputEvent::Type::MouseDown || input.type == InputEvent::Type::MouseUp) {
        if (!pointer_) return std::nullopt;  // the pointer is on none of the game's windows
        input.window = pointer_->window;
        input.x = pointer_->point.x;
        input.y = pointer_->point.y;
        return input;
    }
    const std::optional<WindowId> front = frontWindow();
    if (!front) return std::nullopt;
    input.window = *front;
    return input;
}

std::optional<InputEvent> SdlPlatform::glide() {
    SdlGamePads& pads = *session_->pads();
    const std::uint64_t now = session_->now();
    const bool inGame = pointer_ && windows_.at(pointer_->window).takesFocus;
    const std::optional<WindowId> in = inGame ? pointer_->window : frontWindow();
    if (!in) {
        pads.glide({}, {}, now);  // its time goes on all the same
        return std::nullopt;
    }
    int w = 0, h = 0;
    SDL_GetWindowSize(windows_.at(*in).window.get(), &w, &h);
    const Rect area{0, 0, w / scale_, h / scale_};
    const bool there = pointer_ && pointer_->window == *in;
    const Point from = there ? pointer_->point : Point{area.w / 2, area.h / 2};
    const Point to = pads.glide(from, area, now);
    if (there && to == from) return std::nullopt;
    movePointer(*in, to.x, to.y);
    return InputEvent{InputEvent::Type::MouseMove, *in, to.x, to.y};
}

std::optional<InputEvent> SdlPlatform::waitEvent(std::optional<std::uint64_t> deadline) {
    while (true) {
        const Waited waited = waitDevices(deadline);
        if (!waited.event) return waited.padInput;
        DeviceEvent device = readDeviceEvent(*waited.event);
        if (device.kind == DeviceEvent::Kind::Nothing) continue;
        if (device.kind == DeviceEvent::Kind::Input && device.input.type == InputEvent::Type::Quit)
            return device.input;
        const std::optional<WindowId> id = idOf(device.sdlWindow);
        if (!id) continue;
        OpenWindow& w = windows_.at(*id);
        switch (device.kind) {
            case DeviceEvent::Kind::Exposed:
                // The window surface still holds the pixels: show them again.
                SDL_UpdateWindowSurface(w.window.get());
                continue;
            case DeviceEvent::Kind::Resized:
                paint(*id, w);  // SDL made a new surface: its pixels are drawn anew
                continue;
            case DeviceEvent::Kind::PointerLeft:
                if (pointer_ && pointer_->window == *id) pointer_.reset();
                continue;
            case DeviceEvent::Kind::Focused:
                if (w.takesFocus) front_ = *id;
                continue;
            case DeviceEvent::Kind::Input: {
                InputEvent& input = device.input;
                input.window = *id;
                input.x = toLogical(input.x, scale_);
                input.y = toLogical(input.y, scale_);
                // The slop in logical pixels: the scale asked for is the screen's pixels to a
                // CSS pixel.
                input.reach = fingerReach(scale_, session_->requestedScale());
                if (input.type == InputEvent::Type::MouseMove ||
                    input.type == InputEvent::Type::MouseDown ||
                    input.type == InputEvent::Type::MouseUp)
                    pointer_ = WindowPoint{*id, {input.x, input.y}};
                return input;
            }
            default:
                continue;
        }
    }
}

}  // namespace orval
