#include "shell/platform/stage_platform.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include <SDL.h>

#include "shell/platform/display_scale.h"
#include "shell/platform/sdl_events.h"

namespace orval {
namespace {

// Around and behind the game's windows: the night of Mr. Black's world.
constexpr Colour kBackground{0x10, 0x10, 0x18};
constexpr Colour kFrontFrame{0x11, 0x74, 0xE1};
constexpr Colour kOtherFrame{0x55, 0x5A, 0x60};
// What a window manager's frame takes above a window, until it says what its frame takes.
constexpr int kTitleBarAllowance = 32;
// How long a shown window waits for the window manager to say what its frame takes.
constexpr std::uint64_t kFrameWaitMs = 100;

SDL_Rect times(const Rect& r, int k, int x0 = 0, int y0 = 0) {
    return {x0 + r.x * k, y0 + r.y * k, r.w * k, r.h * k};
}

void fill(SDL_Surface* surface, const SDL_Rect& area, Colour colour) {
    SDL_Rect r = area;
    SDL_FillRect(surface, &r, SDL_MapRGB(surface->format, colour.r, colour.g, colour.b));
}

// `part` of `from` (the whole without one) into `to` of `target`, filtered; where SDL cannot
// filter between the two formats, pixel for pixel.
void stretchSmoothly(SDL_Surface* from, SDL_Surface* target, SDL_Rect to,
                     const SDL_Rect* part = nullptr) {
    if (from->format->format != target->format->format ||
        SDL_SoftStretchLinear(from, part, target, &to) != 0)
        SDL_BlitScaled(from, part, target, &to);
}

}  // namespace

void StagePlatform::WindowDeleter::operator()(SDL_Window* window) const {
    SDL_DestroyWindow(window);
}

StagePlatform::StagePlatform(bool fullscreen, std::unique_ptr<SdlSession> session)
    : SdlPlatformBase(std::move(session)),
      fullscreen_(fullscreen),
      stage_(session_->requestedScale()) {}

StagePlatform::~StagePlatform() {
    windows_.clear();
    frame_.reset();
    window_.reset();
}

int StagePlatform::fitScale(const WindowPlan& plan) {
    if (!window_) title_ = plan.title;
    if (window_ || !session_->videoError().empty()) return stage_.scale();
    // Fullscreen takes the largest whole scale the screen holds; a window the largest up to
    // the one asked for that the usable screen holds. Every game window fits the stage itself.
    const Rect screen = fullscreen_ ? session_->displayArea() : session_->usableArea();
    const int largest = fullscreen_ ? kLargestScale : session_->requestedScale();
    stage_ = Stage(Stage::fittingScale(largest, screen.w, screen.h));
    return stage_.scale();
}

void StagePlatform::openStage(const std::string& firstTitle) {
    if (window_) return;
    if (!session_->videoError().empty()) throw std::runtime_error(session_->videoError());
    // Fullscreen, it is as large as the screen from the start: without a window manager no one
    // else would make it so. Windowed, its frame is guessed until the window manager says.
    windowed_ =
        windowedPlace({session_->system().framesWindows() ? kTitleBarAllowance : 0, 0, 0, 0});
    const Rect at = fullscreen_ ? session_->displayArea() : windowed_;
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
    if (fullscreen_) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    // The game's name; before the game named itself (its data missing or damaged), the title
    // of the window that opens it, the error box.
    const std::string& title = title_.empty() ? firstTitle : title_;
    SDL_Window* window = SDL_CreateWindow(title.c_str(), at.x, at.y, at.w, at.h, flags);
    if (!window)
        throw std::runtime_error(std::string("cannot open the window of the stage: ") +
                                 SDL_GetError());
    window_.reset(window);
    SDL_SetWindowMinimumSize(window, Stage::kWidth / 4, Stage::kHeight / 4);
    resized();
}

Rect StagePlatform::windowedPlace(const Frame& frame) const {
    const Rect usable = session_->usableArea();
    const int besideW = frame.left + frame.right, besideH = frame.top + frame.bottom;
    const Stage::Presentation fitted =
        Stage::present(stage_.scale(), usable.w - besideW, usable.h - besideH);
    const Rect& inside = fitted.area;
    return {usable.x + (usable.w - inside.w - besideW) / 2 + frame.left,
            usable.y + (usable.h - inside.h - besideH) / 2 + frame.top, inside.w, inside.h};
}

void StagePlatform::fitWindowed() {
    if (fullscreen_) return;
    // The window manager says what its frame takes a moment after the window shows; a screen
    // without one, or a frame of nothing, has the window as it is after a short wait.
    Frame frame;
    const std::uint64_t until = session_->now() + kFrameWaitMs;
    while (true) {
        if (SDL_GetWindowBordersSize(window_.get(), &frame.top, &frame.left, &frame.bottom,
                                     &frame.right) != 0)
            return;  // a system with no frames to tell (a page's canvas): it sizes the window
        if (frame.top || frame.left || frame.bottom || frame.right || session_->now() >= until)
            break;
        SDL_Delay(2);
        SDL_PumpEvents();
    }
    windowed_ = windowedPlace(frame);
    Rect now;
    SDL_GetWindowSize(window_.get(), &now.w, &now.h);
    if (now.w != windowed_.w || now.h != windowed_.h) {
        SDL_SetWindowSize(window_.get(), windowed_.w, windowed_.h);
        resized();
    }
    SDL_GetWindowPosition(window_.get(), &now.x, &now.y);
    if (now.x != windowed_.x || now.y != windowed_.y)
        SDL_SetWindowPosition(window_.get(), windowed_.x, windowed_.y);
}

void StagePlatform::resized() {
    int w = 0, h = 0;
    SDL_GetWindowSize(window_.get(), &w, &h);
    stage_.showFrontAlone(session_->system().showsFrontAlone());
    stage_.resize(w, h);
    newSurface_ = true;
}

WindowId StagePlatform::openWindow(const WindowRequest& request, WindowPainter& painter) {
    openStage(request.title);
    if (!request.iconFile.empty()) setWindowIcon(window_.get(), request.iconFile);
    // Placed as on a desktop of the stage's size: moved just enough to lie on it.
    const Rect place = placeOnScreen(request, usableBounds(), 1);
    const WindowId id = nextWindow_++;
    windows_.emplace(id, GameWindow{Canvas(place.w, place.h, stage_.scale()), &painter});
    stage_.open(id, request.kind, place, request.aside);
    return id;
}

void StagePlatform::showWindow(WindowId window) {
    stage_.raise(window);
    const bool first = !shown_;
    if (first) {
        shown_ = true;
        SDL_ShowWindow(window_.get());
        fitWindowed();
        SDL_RaiseWindow(window_.get());
    }
    present();
    // The menu shows while the rest of the start-up (the fonts, every picture checked) goes on.
    if (first) session_->system().showDrawnFrame();
}

void StagePlatform::closeWindow(WindowId window) {
    stage_.close(window);
    windows_.erase(window);
}

void StagePlatform::invalidate(WindowId window) {
    GameWindow& w = windows_.at(window);
    w.painter->paint(window, w.pixels);
    stage_.changed(window);
}

int StagePlatform::cursorScale() const {
    const Stage::Presentation& p = stage_.presentation();
    return p.exact ? stage_.scale() : std::max(1, p.area.w / Stage::kWidth);
}

void StagePlatform::setCursor(const std::string& cursorFile) {
    sceneCursor_ = cursorFile;
    if (!overBackground_) session_->setCursor(cursorFile, cursorScale());
}

void StagePlatform::movePointer(WindowId window, int x, int y) {
    const WindowStack::Window* w = stage_.stack().find(window);
    if (!w || !window_) return;
    const Rect pixel = stage_.toWindow({w->place.x + x, w->place.y + y, 1, 1});
    pointer_ = {pixel.x + pixel.w / 2, pixel.y + pixel.h / 2};
    SDL_WarpMouseInWindow(window_.get(), pointer_->x, pointer_->y);
}

std::optional<InputEvent> StagePlatform::fromPad(InputEvent input) {
    if (input.type == InputEvent::Type::MouseDown || input.type == InputEvent::Type::MouseUp) {
        if (!pointer_) return std::nullopt;  // the pointer is outside the stage
        input.x = pointer_->x;
        input.y = pointer_->y;
        return pointer(input);
    }
    const std::optional<WindowId> focused = stage_.stack().focused();
    if (!focused) return std::nullopt;
    input.window = *focused;
    return input;
}

std::optional<InputEvent> StagePlatform::glide() {
    SdlGamePads& pads = *session_->pads();
    const std::uint64_t now = session_->now();
    if (!window_) {
        pads.glide({}, {}, now);  // its time goes on all the same
        return std::nullopt;
    }
    const Rect area{0, 0, Stage::kWidth, Stage::kHeight};
    Point from{Stage::kWidth / 2, Stage::kHeight / 2};
    if (pointer_) {
        const Point on = stage_.toStage(pointer_->x, pointer_->y);
        from = {std::clamp(on.x, 0, Stage::kWidth - 1), std::clamp(on.y, 0, Stage::kHeight - 1)};
    }
    const Point to = pads.glide(from, area, now);
    if (pointer_ && to == from) return std::nullopt;
    const Rect pixel = stage_.toWindow({to.x, to.y, 1, 1});
    pointer_ = {pixel.x + pixel.w / 2, pixel.y + pixel.h / 2};
    SDL_WarpMouseInWindow(window_.get(), pointer_->x, pointer_->y);
    return pointer({InputEvent::Type::MouseMove, 0, pointer_->x, pointer_->y});
}

void StagePlatform::setOverBackground(bool over) {
    if (over == overBackground_) return;
    overBackground_ = over;
    session_->setCursor(over ? std::string() : sceneCursor_, cursorScale());
}

void StagePlatform::toggleFullscreen() {
    if (!window_) return;
    fullscreen_ = !fullscreen_;
    if (fullscreen_ && !session_->system().coversScreenWhenFullscreen()) {
        // Made as large as the screen first, where the state alone changes nothing.
        const Rect screen = session_->displayArea();
        SDL_SetWindowSize(window_.get(), screen.w, screen.h);
        SDL_SetWindowPosition(window_.get(), screen.x, screen.y);
    }
    if (fullscreen_) {
        SDL_SetWindowFullscreen(window_.get(), SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(window_.get(), 0);
        fitWindowed();  // where it was, or first is, in a window: SDL may not know that place
    }
    resized();
}

void StagePlatform::compose(SDL_Surface* target, int originX, int originY, const Rect& area) {
    const int k = stage_.scale();
    Rect whole = area;
    // A thumbnail is drawn whole, so what lies over it is composed again too.
    const std::vector<Stage::Thumbnail> strip = stage_.thumbnails();
    for (const Stage::Thumbnail& t : strip)
        if (overlaps(t.place, area))
            whole = intersect(hull(whole, t.place), {0, 0, Stage::kWidth, Stage::kHeight});
    fill(target, times(whole, k, originX, originY), kBackground);
    for (const Stage::Thumbnail& t : strip) {
        if (!overlaps(t.place, whole)) continue;
        fill(target, times(t.place, k, originX, originY), t.front ? kFrontFrame : kOtherFrame);
        const Rect inside{t.place.x + 1, t.place.y + 1, t.place.w - 2, t.place.h - 2};
        fill(target, times(inside, k, originX, originY), kBackground);
        stretchSmoothly(windows_.at(t.window).pixels.surface(), target,
                        times(t.picture, k, originX, originY));
    }
    for (const WindowStack::Window* w : stage_.stack().backToFrontIn(whole)) {
        const Rect shared = intersect(w->place, whole);
        SDL_Rect from =
            times({shared.x - w->place.x, shared.y - w->place.y, shared.w, shared.h}, k);
        SDL_Rect to = times(shared, k, originX, originY);
        SDL_BlitSurface(windows_.at(w->id).pixels.surface(), &from, target, &to);
    }
}

void StagePlatform::present() {
    if (!window_) return;
    const std::vector<Rect> dirty = stage_.takeDirty();
    if (dirty.empty()) return;
    SDL_Surface* surface = SDL_GetWindowSurface(window_.get());
    if (!surface)
        throw std::runtime_error(std::string("the stage cannot be drawn on this display: ") +
                                 SDL_GetError());
    const Stage::Presentation& p = stage_.presentation();
    // The window in front shown alone moves and sizes the picture with it: the dark around
    // it is drawn anew.
    if (p.area != shownArea_) newSurface_ = true;
    shownArea_ = p.area;
    if (newSurface_) fill(surface, {0, 0, surface->w, surface->h}, kBackground);
    if (p.exact) {
        frame_.reset();
        std::vector<SDL_Rect> updated;
        for (const Rect& area : dirty) {
            compose(surface, p.area.x, p.area.y, area);
            const Rect r = stage_.toWindow(area);
            updated.push_back({r.x, r.y, r.w, r.h});
        }
        if (std::exchange(newSurface_, false)) {
            updated = {{0, 0, surface->w, surface->h}};  // the dark around it was drawn too
        }
        SDL_UpdateWindowSurfaceRects(window_.get(), updated.data(),
                                     static_cast<int>(updated.size()));
        return;
    }
    // Scaled down: the stage is composed at its own scale, then the whole of it scaled smoothly,
    // so that no seam shows where one changed area meets the next.
    const int k = stage_.scale();
    if (!frame_)
        frame_.reset(SDL_CreateRGBSurfaceWithFormat(0, Stage::kWidth * k, Stage::kHeight * k, 32,
                                                    SDL_PIXELFORMAT_XRGB8888));
    if (!frame_) throw std::runtime_error(std::string("no room for the stage: ") + SDL_GetError());
    for (const Rect& area : dirty) compose(frame_.get(), 0, 0, area);
    newSurface_ = false;
    if (stage_.showsFrontAlone())  // where handles stood before
        fill(surface, {0, 0, 2 * Stage::kHandleWidth, surface->h}, kBackground);
    const SDL_Rect view = times(stage_.view(), k);
    stretchSmoothly(frame_.get(), surface, {p.area.x, p.area.y, p.area.w, p.area.h}, &view);
    drawHandles(surface);
    SDL_UpdateWindowSurface(window_.get());
}

void StagePlatform::drawHandles(SDL_Surface* surface) {
    for (const Stage::Thumbnail& handle : stage_.handles()) {
        fill(surface, times(handle.place, 1), kFrontFrame);
        const Rect& r = handle.place;
        fill(surface, {r.x + 1, r.y + 1, r.w - 2, r.h - 2}, kBackground);
        stretchSmoothly(windows_.at(handle.window).pixels.surface(), surface,
                        times(handle.picture, 1));
    }
}

std::optional<InputEvent> StagePlatform::pointer(InputEvent input) {
    Stage::Pointed pointed;
    switch (input.type) {
        case InputEvent::Type::MouseDown:
        case InputEvent::Type::TouchDown:
            pointed = stage_.pointerPressed(input.x, input.y);
            break;
        case InputEvent::Type::MouseUp:
        case InputEvent::Type::TouchUp:
            pointed = stage_.pointerReleased(input.x, input.y);
            break;
        default:
            pointed = stage_.pointerMoved(input.x, input.y);
            break;
    }
    setOverBackground(!pointed.hit);
    if (!pointed.hit) return std::nullopt;
    input.window = pointed.hit->window;
    input.x = pointed.hit->point.x;
    input.y = pointed.hit->point.y;
    return input;
}

std::optional<InputEvent> StagePlatform::waitEvent(std::optional<std::uint64_t> deadline) {
    while (true) {
        present();
        const Waited waited = waitDevices(deadline);
        if (!waited.event) return waited.padInput;
        DeviceEvent device = readDeviceEvent(*waited.event);
        switch (device.kind) {
            case DeviceEvent::Kind::Nothing:
            case DeviceEvent::Kind::Focused:
                continue;
            case DeviceEvent::Kind::PointerLeft:
                pointer_.reset();
                continue;
            case DeviceEvent::Kind::Exposed:
                if (window_) SDL_UpdateWindowSurface(window_.get());
                continue;
            case DeviceEvent::Kind::Resized:
                resized();
                continue;
            case DeviceEvent::Kind::Input:
                break;
        }
        InputEvent& input = device.input;
        switch (input.type) {
            case InputEvent::Type::Quit:
            case InputEvent::Type::CloseRequest:
                // Closing the stage ends the game, as closing any of its windows would.
                input.type = InputEvent::Type::Quit;
                return input;
            case InputEvent::Type::MouseMove:
            case InputEvent::Type::MouseDown:
            case InputEvent::Type::MouseUp:
                pointer_ = {input.x, input.y};
                if (auto routed = pointer(input)) return routed;
                continue;
            case InputEvent::Type::TouchDown:
            case InputEvent::Type::TouchMove:
            case InputEvent::Type::TouchUp:
                if (auto routed = pointer(input)) {
                    // The slop as this screen shows the stage: a page's canvas counts in CSS
                    // pixels, a desktop's window in the screen's, the scale asked for to a CSS
                    // pixel.
                    const double windowPerCss =
                        session_->system().framesWindows() ? session_->requestedScale() : 1.0;
                    routed->reach = fingerReach(
                        static_cast<double>(stage_.presentation().area.w) / Stage::kWidth,
                        windowPerCss);
                    return routed;
                }
                continue;
            default:
                // The keys go to the window in front, as the desktop gives them the focus; with
                // none, to no window, as the stage's own keys work all the same.
                input.window = stage_.stack().focused().value_or(0);
                return input;
        }
    }
}

}  // namespace orval
