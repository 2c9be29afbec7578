#include "shell/platform/sdl_platform.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <stdexcept>

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>

#include "scenes/model/render.h"

#ifdef ORVAL_HAVE_X11
// Last: Xlib's macros (None, Bool, Status) must not meet the headers above.
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#endif

namespace orval {

#ifdef ORVAL_HAVE_X11
namespace {

// Xlib keeps one error handler per process and gives it no context, so the one it had
// before ours must live here; it is set once, before SDL opens its displays.
XErrorHandler previousXErrorHandler = nullptr;

// SDL 2.26 wakes its own event wait by sending a client message, over a second display
// connection, to the most recently created window. When a handler destroys that window at
// once (Unload, End), the server may get the message after the window is gone and answers
// BadWindow, which Xlib's default handler turns into exit(1) when SDL closes that connection.
int ignoreStaleWakeup(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
    return previousXErrorHandler ? previousXErrorHandler(display, error) : 0;
}

}  // namespace
#endif

std::filesystem::path executableDirectory() {
    char* base = SDL_GetBasePath();
    if (!base) return std::filesystem::current_path();
    std::filesystem::path dir(base);
    SDL_free(base);
    return dir;
}

// ---- sound -------------------------------------------------------------------------------

SdlAudio::SdlAudio() {
    // A short soft 880 Hz beep stands for the desktop's alert sound.
    constexpr int kRate = 44100;
    constexpr int kSamples = kRate / 6;
    alertSamples_.resize(2 * kSamples);
    for (int i = 0; i < kSamples; ++i) {
        const double envelope = std::min(1.0, std::min(i, kSamples - i) / 400.0);
        const auto value =
            static_cast<std::int16_t>(6000.0 * envelope * std::sin(2.0 * M_PI * 880.0 * i / kRate));
        alertSamples_[2 * static_cast<std::size_t>(i)] = value;
        alertSamples_[2 * static_cast<std::size_t>(i) + 1] = value;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    if (Mix_OpenAudio(kRate, AUDIO_S16SYS, 2, 1024) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    Mix_AllocateChannels(1);
    alert_ = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(alertSamples_.data()),
                               static_cast<Uint32>(alertSamples_.size() * sizeof(std::int16_t)));
    open_ = true;
}

SdlAudio::~SdlAudio() {
    if (!open_) return;
    stopAndFree();
    if (alert_) Mix_FreeChunk(alert_);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudio::stopAndFree() {
    // Halting on this thread first means the mixer no longer reads the chunk we free.
    Mix_HaltChannel(0);
    if (current_ && current_ != alert_) Mix_FreeChunk(current_);
    current_ = nullptr;
}

SdlAudio::Outcome SdlAudio::play(const std::string& file) noexcept {
    if (!open_) return Outcome::Silent;
    stopAndFree();
    Mix_Chunk* chunk = Mix_LoadWAV(file.c_str());
    const Outcome outcome = chunk ? Outcome::Played : Outcome::AlertTone;
    if (!chunk) chunk = alert_;
    if (!chunk) return Outcome::Silent;
    current_ = chunk;
    if (Mix_PlayChannel(0, chunk, 0) < 0) return Outcome::Silent;
    return outcome;
}

// ---- windows and input --------------------------------------------------------------------

void SdlPlatform::WindowDeleter::operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
void SdlPlatform::CursorDeleter::operator()(SDL_Cursor* cursor) const { SDL_FreeCursor(cursor); }

SdlPlatform::SdlPlatform() {
    // X11 places windows where we ask; native Wayland cannot. SDL_VIDEODRIVER still wins.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,wayland");
    // Each window draws through its surface in software; no GL context per window.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Without it the click that activates a window is dropped.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
#ifdef ORVAL_HAVE_X11
    // Before SDL opens its displays: SDL keeps the handler it finds and puts it back before
    // it closes them, which is when such a late error is reported.
    if (!previousXErrorHandler) previousXErrorHandler = XSetErrorHandler(ignoreStaleWakeup);
#endif
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0)
        throw std::runtime_error(std::string("no display to open windows on: ") + SDL_GetError());
    audio_ = std::make_unique<SdlAudio>();
    fonts_ = std::make_unique<Fonts>();  // ready before the first message box is needed
}

SdlPlatform::~SdlPlatform() {
    audio_.reset();
    cursors_.clear();
    windows_.clear();
    fonts_.reset();
    SDL_Quit();
}

std::uint64_t SdlPlatform::now() { return SDL_GetTicks64(); }

Rect SdlPlatform::usableBounds() {
    SDL_Rect r{0, 0, 1024, 768};
    SDL_GetDisplayUsableBounds(0, &r);
    return {r.x, r.y, r.w, r.h};
}

std::optional<WindowId> SdlPlatform::idOf(unsigned sdlWindowId) const {
    for (const auto& [id, w] : windows_)
        if (SDL_GetWindowID(w.window.get()) == sdlWindowId) return id;
    return std::nullopt;
}

WindowId SdlPlatform::openWindow(const WindowRequest& request) {
    SDL_Window* window =
        SDL_CreateWindow(request.title.c_str(), request.x, request.y, request.width, request.height,
                         SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
    if (!window)
        throw std::runtime_error("cannot open the window " + request.title + ": " + SDL_GetError());
    OpenWindow open{std::unique_ptr<SDL_Window, WindowDeleter>(window), nullptr};
    if (!request.iconFile.empty()) {
        SurfacePtr icon(IMG_Load(request.iconFile.c_str()));
        if (!icon)
            throw std::runtime_error(request.iconFile +
                                     ": not a readable picture: " + IMG_GetError());
        SDL_SetWindowIcon(window, icon.get());
    }
    const WindowId id = nextWindow_++;
    windows_.emplace(id, std::move(open));
    return id;
}

void SdlPlatform::showWindow(WindowId window) {
    OpenWindow& w = windows_.at(window);
    SDL_ShowWindow(w.window.get());
    SDL_RaiseWindow(w.window.get());
    redraw(w);
}

void SdlPlatform::closeWindow(WindowId window) { windows_.erase(window); }

void SdlPlatform::redraw(OpenWindow& window) {
    if (!window.content) return;
    SDL_Surface* surface = SDL_GetWindowSurface(window.window.get());
    if (!surface) return;
    SDL_BlitSurface(window.content->surface(), nullptr, surface, nullptr);
    SDL_UpdateWindowSurface(window.window.get());
}

void SdlPlatform::redrawAll() {
    for (auto& [id, w] : windows_) redraw(w);
}

void SdlPlatform::present(WindowId window, const Canvas& canvas) {
    OpenWindow& w = windows_.at(window);
    if (!w.content || w.content->width() != canvas.width() ||
        w.content->height() != canvas.height())
        w.content = std::make_unique<Canvas>(canvas.width(), canvas.height());
    w.content->draw(canvas.surface(), 0, 0, w.content->bounds());
    if (SDL_GetWindowFlags(w.window.get()) & SDL_WINDOW_SHOWN) redraw(w);
}

std::optional<InputEvent> SdlPlatform::waitEvent(std::optional<std::uint64_t> deadline) {
    while (true) {
        SDL_Event event;
        int got = 0;
        if (deadline) {
            const std::uint64_t current = now();
            if (*deadline <= current) {
                got = SDL_PollEvent(&event);
            } else {
                const std::uint64_t wait = std::min<std::uint64_t>(*deadline - current, 1u << 30);
                got = SDL_WaitEventTimeout(&event, static_cast<int>(wait));
            }
            if (!got && now() >= *deadline) return std::nullopt;
            if (!got) continue;
        } else if (!SDL_WaitEvent(&event)) {
            continue;
        }

        InputEvent input;
        switch (event.type) {
            case SDL_QUIT:
                input.type = InputEvent::Type::CloseRequest;
                input.window = windows_.empty() ? 0 : windows_.begin()->first;
                return input;
            case SDL_WINDOWEVENT: {
                const auto id = idOf(event.window.windowID);
                if (!id) break;
                if (event.window.event == SDL_WINDOWEVENT_EXPOSED) {
                    redraw(windows_.at(*id));
                } else if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                    input.type = InputEvent::Type::CloseRequest;
                    input.window = *id;
                    return input;
                }
                break;
            }
            case SDL_MOUSEMOTION: {
                const auto id = idOf(event.motion.windowID);
                if (!id) break;
                return InputEvent{InputEvent::Type::MouseMove, *id, event.motion.x, event.motion.y};
            }
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                const auto id = idOf(event.button.windowID);
                if (!id || event.button.button != SDL_BUTTON_LEFT) break;
                const auto type = event.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Type::MouseDown
                                                                    : InputEvent::Type::MouseUp;
                return InputEvent{type, *id, event.button.x, event.button.y};
            }
            case SDL_KEYDOWN: {
                const SDL_Keycode key = event.key.keysym.sym;
                if (event.key.repeat ||
                    (key != SDLK_SPACE && key != SDLK_RETURN && key != SDLK_KP_ENTER))
                    break;
                const auto id = idOf(event.key.windowID);
                if (!id) break;
                return InputEvent{InputEvent::Type::KeyActivate, *id, 0, 0};
            }
            default:
                break;
        }
    }
}

SDL_Cursor* SdlPlatform::cursorFor(const std::string& file) {
    if (const auto it = cursors_.find(file); it != cursors_.end()) return it->second.get();
    SDL_Cursor* cursor = nullptr;
    if (file.empty()) {
        cursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    } else {
        SurfacePtr picture(IMG_Load(file.c_str()));
        if (!picture)
            throw std::runtime_error(file + ": not a readable cursor picture: " + IMG_GetError());
        cursor = SDL_CreateColorCursor(picture.get(), 0, 0);  // the hotspot is the upper-left pixel
    }
    if (!cursor) return nullptr;
    cursors_.emplace(file, std::unique_ptr<SDL_Cursor, CursorDeleter>(cursor));
    return cursor;
}

void SdlPlatform::setCursor(const std::string& cursorFile) {
    if (cursorFile == currentCursor_) return;
    if (SDL_Cursor* cursor = cursorFor(cursorFile)) SDL_SetCursor(cursor);
    currentCursor_ = cursorFile;
}

// ---- the message box ------------------------------------------------------------------------

void SdlPlatform::messageBox(std::string_view title, std::string_view text) {
    const MessageBoxLayout layout = layoutMessageBox(title, text, *fonts_);
    const Rect screen = usableBounds();
    const std::string caption(title);
    std::unique_ptr<SDL_Window, WindowDeleter> box(
        SDL_CreateWindow(caption.c_str(), screen.x + (screen.w - layout.width) / 2,
                         screen.y + (screen.h - layout.height) / 2, layout.width, layout.height,
                         SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALWAYS_ON_TOP));
    if (!box) throw std::runtime_error(std::string("cannot open a message box: ") + SDL_GetError());
    Canvas canvas(layout.width, layout.height);
    bool pressed = false;
    const auto draw = [&] {
        renderMessageBox(title, text, *fonts_, canvas, pressed);
        if (SDL_Surface* surface = SDL_GetWindowSurface(box.get())) {
            SDL_BlitSurface(canvas.surface(), nullptr, surface, nullptr);
            SDL_UpdateWindowSurface(box.get());
        }
    };
    SDL_ShowWindow(box.get());
    SDL_RaiseWindow(box.get());
    const std::string previousCursor = currentCursor_;
    setCursor("");
    draw();
    const Uint32 boxId = SDL_GetWindowID(box.get());
    const auto onOk = [&](int x, int y) { return layout.okButton.contains(x, y); };

    // A loop of its own: scene windows get no input and the game's timers wait meanwhile.
    bool open = true;
    while (open) {
        SDL_Event event;
        if (!SDL_WaitEvent(&event)) continue;
        switch (event.type) {
            case SDL_WINDOWEVENT:
                if (event.window.windowID == boxId) {
                    if (event.window.event == SDL_WINDOWEVENT_EXPOSED) draw();
                    if (event.window.event == SDL_WINDOWEVENT_CLOSE) open = false;
                } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED) {
                    if (const auto id = idOf(event.window.windowID)) redraw(windows_.at(*id));
                }
                break;
            case SDL_MOUSEBUTTONDOWN:
                if (event.button.windowID != boxId) {
                    SDL_RaiseWindow(box.get());  // the box stays in front until answered
                } else if (event.button.button == SDL_BUTTON_LEFT &&
                           onOk(event.button.x, event.button.y)) {
                    pressed = true;
                    draw();
                }
                break;
            case SDL_MOUSEBUTTONUP:
                if (event.button.windowID == boxId && event.button.button == SDL_BUTTON_LEFT) {
                    if (pressed && onOk(event.button.x, event.button.y)) open = false;
                    pressed = false;
                    draw();
                }
                break;
            case SDL_MOUSEMOTION:
                setCursor("");
                break;
            case SDL_KEYDOWN: {
                const SDL_Keycode key = event.key.keysym.sym;
                if (key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_SPACE ||
                    key == SDLK_ESCAPE)
                    open = false;
                break;
            }
            default:
                break;
        }
    }
    box.reset();
    setCursor(previousCursor == "?" ? "" : previousCursor);
    redrawAll();
}

// ---- sound, link, fatal report ----------------------------------------------------------------

void SdlPlatform::playSound(const std::string& file) {
    if (audio_) audio_->play(file);
}

void SdlPlatform::openUrl(const std::string& url) { SDL_OpenURL(url.c_str()); }

void SdlPlatform::reportFatal(std::string_view message) {
    std::fprintf(stderr, "orval-kesk: %.*s\n", static_cast<int>(message.size()), message.data());
    try {
        messageBox("ORVAL KESK – chyba", message);
    } catch (...) {
        // No way left to show it; stderr has it.
    }
}

}  // namespace orval
