#include "shell/platform/sdl_platform.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>

#include "scenes/model/utf8_path.h"
#include "shell/platform/display_scale.h"

#ifdef ORVAL_HAVE_X11
// Last: Xlib's macros (None, Bool, Status) must not meet the headers above.
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/Xresource.h>
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

// The desktop's font resolution, which the desktop sets to 192 and so on for a screen it
// shows at 200 %. SDL does not read it; it lies in the X resource database.
std::optional<std::string> xftDpi() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return std::nullopt;
    std::optional<std::string> dpi;
    if (const char* resources = XResourceManagerString(display)) {
        XrmInitialize();
        if (XrmDatabase database = XrmGetStringDatabase(resources)) {
            char* type = nullptr;
            XrmValue value{};
            if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr)
                dpi = std::string(value.addr);
            XrmDestroyDatabase(database);
        }
    }
    XCloseDisplay(display);
    return dpi;
}

}  // namespace
#endif

namespace {

std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

}  // namespace

std::filesystem::path executableDirectory() {
    char* base = SDL_GetBasePath();
    if (!base) return std::filesystem::current_path();
    std::filesystem::path dir = pathFromUtf8(base);
    SDL_free(base);
    return dir.has_filename() ? dir : dir.parent_path();  // SDL ends it with a separator
}

// ---- sound -------------------------------------------------------------------------------

SdlAudio::~SdlAudio() {
    close();
    if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudio::open() {
    if (open_) return true;
    if (!subsystem_) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        subsystem_ = true;
    }
    // No format change allowed: SDL converts in its own thread if the device differs, and a
    // clip loads without resampling on the click that plays it.
    if (Mix_OpenAudioDevice(kClipRate, AUDIO_S16SYS, 1, 1024, nullptr, 0) != 0) return false;
    Mix_AllocateChannels(1);
    if (alertSamples_.empty()) {
        // A short soft 880 Hz beep stands for the desktop's alert sound.
        constexpr int kSamples = kClipRate / 6;
        alertSamples_.resize(kSamples);
        for (int i = 0; i < kSamples; ++i) {
            const double envelope = std::min(1.0, std::min(i, kSamples - i) / 200.0);
            alertSamples_[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(
                6000.0 * envelope * std::sin(2.0 * M_PI * 880.0 * i / kClipRate));
        }
    }
    alert_ = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(alertSamples_.data()),
                               static_cast<Uint32>(alertSamples_.size() * sizeof(std::int16_t)));
    open_ = true;
    return true;
}

void SdlAudio::close() {
    if (!open_) return;
    stopAndFree();
    if (alert_) Mix_FreeChunk(alert_);
    alert_ = nullptr;
    Mix_CloseAudio();
    open_ = false;
    quietSince_.reset();
}

void SdlAudio::stopAndFree() {
    // Halting on this thread first means the mixer no longer reads the chunk we free.
    Mix_HaltChannel(0);
    if (current_ && current_ != alert_) Mix_FreeChunk(current_);
    current_ = nullptr;
}

SdlAudio::Outcome SdlAudio::play(const std::string& file) noexcept {
    if (!open()) return Outcome::Silent;
    stopAndFree();
    quietSince_.reset();
    // Only a regular file is read: a FIFO in its place would freeze the click that plays it.
    std::error_code error;
    Mix_Chunk* chunk = std::filesystem::is_regular_file(pathFromUtf8(file), error)
                           ? Mix_LoadWAV(file.c_str())
                           : nullptr;
    const Outcome outcome = chunk ? Outcome::Played : Outcome::AlertTone;
    if (!chunk) chunk = alert_;
    if (!chunk) return Outcome::Silent;
    current_ = chunk;
    if (Mix_PlayChannel(0, chunk, 0) < 0) return Outcome::Silent;
    return outcome;
}

void SdlAudio::stop() noexcept {
    if (open_) stopAndFree();
}

std::optional<std::uint64_t> SdlAudio::nextCheck(std::uint64_t now) {
    if (!open_) return std::nullopt;
    if (Mix_Playing(0)) return now + 500;  // still speaking: look again soon
    if (!quietSince_) quietSince_ = now;
    return *quietSince_ + kQuietBeforeClosing;
}

void SdlAudio::closeIfQuiet(std::uint64_t now) {
    if (!open_) return;
    if (Mix_Playing(0)) {
        quietSince_.reset();
        return;
    }
    if (!quietSince_) quietSince_ = now;
    if (now >= *quietSince_ + kQuietBeforeClosing) close();
}

// ---- windows and input --------------------------------------------------------------------

void SdlPlatform::WindowDeleter::operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
void SdlPlatform::CursorDeleter::operator()(SDL_Cursor* cursor) const { SDL_FreeCursor(cursor); }

SdlPlatform::SdlPlatform() {
#ifdef _WIN32
    // A scene shown again comes to the front: without it (seen under wine) an open window
    // stays behind the one that was clicked.
    SDL_SetHint(SDL_HINT_FORCE_RAISEWINDOW, "1");
#else
    // X11 places windows where we ask; native Wayland cannot. SDL_VIDEODRIVER still wins.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,wayland");
#endif
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
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
        videoError_ = std::string("no display to open windows on: ") + SDL_GetError();
        return;
    }
    // Native Wayland gives a window no framebuffer of its own: SDL then presents the window
    // surface through a texture, which it makes only when allowed to.
    if (std::string_view(SDL_GetCurrentVideoDriver()) == "wayland")
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "1");

    // SDL scales nothing on X11: a screen the desktop shows at 200 % gets the game at 2x from us.
    ScaleSettings settings;
    settings.orvalScale = environment("ORVAL_SCALE");
#ifdef ORVAL_HAVE_X11
    if ((!settings.orvalScale || settings.orvalScale->empty()) &&
        std::string_view(SDL_GetCurrentVideoDriver()) == "x11")
        settings.xftDpi = xftDpi();
#endif
    settings.gdkScale = environment("GDK_SCALE");
    const ScaleChoice asked = requestedScale(settings);
    if (!asked.error.empty()) std::fprintf(stderr, "orval-kesk: %s\n", asked.error.c_str());
    scale_ = asked.scale;
}

SdlPlatform::~SdlPlatform() {
    audio_.reset();  // before SDL goes
    cursors_.clear();
    windows_.clear();
    SDL_Quit();
}

std::uint64_t SdlPlatform::now() { return SDL_GetTicks64(); }

Rect SdlPlatform::screenArea() const {
    SDL_Rect r{0, 0, 1024, 768};
    SDL_GetDisplayUsableBounds(0, &r);
    return {r.x, r.y, r.w, r.h};
}

int SdlPlatform::fitScale(const WindowPlan& plan) {
    if (videoError_.empty()) scale_ = fittingScale(scale_, screenArea(), plan);
    return scale_;
}

Rect SdlPlatform::usableBounds() { return logicalArea(screenArea(), scale_); }

std::optional<WindowId> SdlPlatform::idOf(unsigned sdlWindowId) const {
    for (const auto& [id, w] : windows_)
        if (SDL_GetWindowID(w.window.get()) == sdlWindowId) return id;
    return std::nullopt;
}

WindowId SdlPlatform::openWindow(const WindowRequest& request, WindowPainter& painter) {
    if (!videoError_.empty()) throw std::runtime_error(videoError_);
    Uint32 flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN;
    if (request.kind == WindowKind::MessageBox) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    // On X11 a tooltip is a window the window manager leaves alone: it takes no focus, has no
    // place in the task bar and stays where it is put.
    if (request.kind == WindowKind::Subtitles)
        flags |= SDL_WINDOW_TOOLTIP | SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR;
    const Rect placed = placeOnScreen(request, screenArea(), scale_);
    SDL_Window* window =
        SDL_CreateWindow(request.title.c_str(), placed.x, placed.y, placed.w, placed.h, flags);
    if (!window)
        throw std::runtime_error("cannot open the window " + request.title + ": " + SDL_GetError());
    OpenWindow open{std::unique_ptr<SDL_Window, WindowDeleter>(window), &painter,
                    request.kind != WindowKind::Subtitles};
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
    if (w.takesFocus) {
        SDL_ShowWindow(w.window.get());
        SDL_RaiseWindow(w.window.get());
    } else if (!(SDL_GetWindowFlags(w.window.get()) & SDL_WINDOW_SHOWN)) {
        // Shown without taking the focus from the scene the player is in (Windows would give
        // it; an X11 window manager never sees this window).
        SDL_SetHint(SDL_HINT_WINDOW_NO_ACTIVATION_WHEN_SHOWN, "1");
        SDL_ShowWindow(w.window.get());
        SDL_SetHint(SDL_HINT_WINDOW_NO_ACTIVATION_WHEN_SHOWN, "0");
    } else {
#ifndef _WIN32
        // Restacked above a scene the player brought forward; on Windows it stays topmost.
        SDL_RaiseWindow(w.window.get());
#endif
    }
    SDL_UpdateWindowSurface(w.window.get());
}

void SdlPlatform::closeWindow(WindowId window) { windows_.erase(window); }

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

void SdlPlatform::invalidate(WindowId window) { paint(window, windows_.at(window)); }

std::optional<InputEvent> SdlPlatform::translate(const void* sdlEvent) {
    const SDL_Event& event = *static_cast<const SDL_Event*>(sdlEvent);
    switch (event.type) {
        case SDL_QUIT:
            return InputEvent{InputEvent::Type::Quit, 0, 0, 0};
        case SDL_WINDOWEVENT: {
            const auto id = idOf(event.window.windowID);
            if (!id) return std::nullopt;
            OpenWindow& w = windows_.at(*id);
            switch (event.window.event) {
                case SDL_WINDOWEVENT_EXPOSED:
                    // The window surface still holds the pixels: show them again.
                    SDL_UpdateWindowSurface(w.window.get());
                    return std::nullopt;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    paint(*id, w);  // SDL made a new surface: its pixels are drawn anew
                    return std::nullopt;
                case SDL_WINDOWEVENT_CLOSE:
                    return InputEvent{InputEvent::Type::CloseRequest, *id, 0, 0};
                default:
                    return std::nullopt;
            }
        }
        case SDL_MOUSEMOTION: {
            const auto id = idOf(event.motion.windowID);
            if (!id) return std::nullopt;
            return InputEvent{InputEvent::Type::MouseMove, *id, toLogical(event.motion.x, scale_),
                              toLogical(event.motion.y, scale_)};
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const auto id = idOf(event.button.windowID);
            if (!id || event.button.button != SDL_BUTTON_LEFT) return std::nullopt;
            const auto type = event.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Type::MouseDown
                                                                : InputEvent::Type::MouseUp;
            return InputEvent{type, *id, toLogical(event.button.x, scale_),
                              toLogical(event.button.y, scale_)};
        }
        case SDL_KEYDOWN: {
            const SDL_Keycode key = event.key.keysym.sym;
            if (event.key.repeat) return std::nullopt;
            const auto id = idOf(event.key.windowID);
            if (!id) return std::nullopt;
            if (key == SDLK_RETURN || key == SDLK_KP_ENTER)
                return InputEvent{InputEvent::Type::KeyActivate, *id, 0, 0};
            if (key == SDLK_ESCAPE) return InputEvent{InputEvent::Type::KeyCancel, *id, 0, 0};
            if (key == SDLK_SPACE || key == SDLK_t || key == SDLK_m || key == SDLK_h)
                return InputEvent{InputEvent::Type::Key, *id, 0, 0, static_cast<char>(key)};
            return std::nullopt;
        }
        default:
            return std::nullopt;
    }
}

std::optional<InputEvent> SdlPlatform::waitEvent(std::optional<std::uint64_t> deadline) {
    if (!videoError_.empty()) return std::nullopt;
    while (true) {
        // The sound device, while open, is looked at now and then, so that it closes once quiet.
        const std::uint64_t current = now();
        audio_->closeIfQuiet(current);
        std::optional<std::uint64_t> wake = deadline;
        if (const auto check = audio_->nextCheck(current); check && (!wake || *check < *wake))
            wake = check;

        SDL_Event event;
        int got = 0;
        if (!wake) {
            got = SDL_WaitEvent(&event);
        } else if (*wake <= current) {
            got = SDL_PollEvent(&event);
        } else {
            const std::uint64_t wait = std::min<std::uint64_t>(*wake - current, 1u << 30);
            got = SDL_WaitEventTimeout(&event, static_cast<int>(wait));
        }
        if (got) {
            if (auto input = translate(&event)) return input;
            continue;
        }
        if (deadline && now() >= *deadline) return std::nullopt;
    }
}

SDL_Cursor* SdlPlatform::cursorFor(const std::string& file) {
    if (const auto it = cursors_.find(file); it != cursors_.end()) return it->second.get();
    SDL_Cursor* cursor = nullptr;
    if (file.empty()) {
        cursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    } else {
        // Drawn for the scale like every picture, so that it is as large and as sharp.
        const SurfacePtr picture = loadPicture(pathFromUtf8(file), scale_);
        cursor = SDL_CreateColorCursor(picture.get(), 0, 0);  // the hotspot is the upper-left pixel
    }
    if (!cursor) return nullptr;
    cursors_.emplace(file, std::unique_ptr<SDL_Cursor, CursorDeleter>(cursor));
    return cursor;
}

void SdlPlatform::setCursor(const std::string& cursorFile) {
    if (cursorFile == currentCursor_ || !videoError_.empty()) return;
    if (SDL_Cursor* cursor = cursorFor(cursorFile)) SDL_SetCursor(cursor);
    currentCursor_ = cursorFile;
}

// ---- sound and link -------------------------------------------------------------------------

void SdlPlatform::playSound(const std::string& file) { audio_->play(file); }

void SdlPlatform::openUrl(const std::string& url) { SDL_OpenURL(url.c_str()); }

void SdlPlatform::showPlainError(std::string_view title, std::string_view text) {
    const std::string titleText(title), messageText(text);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, titleText.c_str(), messageText.c_str(), nullptr);
}

}  // namespace orval
