#include "shell/platform/sdl_session.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include <SDL.h>
#include <SDL_image.h>

#include "scenes/model/canvas.h"
#include "scenes/model/utf8_path.h"
#include "shell/platform/display_scale.h"
#include "shell/platform/font_files.h"

namespace orval {

std::filesystem::path executableDirectory() {
    const std::unique_ptr<char, decltype(&SDL_free)> base(SDL_GetBasePath(), &SDL_free);
    if (!base) return std::filesystem::current_path();
    const std::filesystem::path dir = pathFromUtf8(base.get());
    return dir.has_filename() ? dir : dir.parent_path();  // SDL ends it with a separator
}

std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

void setWindowIcon(SDL_Window* window, const std::string& iconFile) {
    const SurfacePtr icon(IMG_Load(iconFile.c_str()));
    if (!icon) throw std::runtime_error(iconFile + ": not a readable picture: " + IMG_GetError());
    SDL_SetWindowIcon(window, icon.get());
}

void SdlSession::CursorDeleter::operator()(SDL_Cursor* cursor) const { SDL_FreeCursor(cursor); }

SdlSession::SdlSession(QuitSignals* signals) : signals_(signals) {
    if (signals_ && signals_->watching()) SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Each window draws through its surface in software; no GL context per window.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Without it the click that activates a window is dropped.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
        videoError_ = std::string("no display to open windows on: ") + SDL_GetError();
        return;
    }
    // Native Wayland gives a window no framebuffer of its own: SDL then presents the window
    // surface through a texture, which it makes only when allowed to.
    if (std::string_view(SDL_GetCurrentVideoDriver()) == "wayland")
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "1");
    // An event no one reads, only so that a wait wakes and reads the controllers.
    pads_ = std::make_unique<SdlGamePads>([] {
        SDL_Event wake{};
        wake.type = SDL_USEREVENT;
        SDL_PushEvent(&wake);
    });
    // An event no one reads, only so that a wait wakes and looks at the signals again.
    if (signals_)
        signals_->wakeWith([] {
            SDL_Event wake{};
            wake.type = SDL_USEREVENT;
            SDL_PushEvent(&wake);
        });

    // SDL scales nothing on X11: a screen the desktop shows at 200 % gets the game at 2x from us.
    ScaleSettings settings;
    settings.orvalScale = environment("ORVAL_SCALE");
    if (!settings.orvalScale || settings.orvalScale->empty()) settings.xftDpi = system_.fontDpi();
    settings.gdkScale = environment("GDK_SCALE");
    const ScaleChoice asked = orval::requestedScale(settings);
    if (!asked.error.empty()) std::fprintf(stderr, "orval-kesk: %s\n", asked.error.c_str());
    requestedScale_ = asked.scale;
}

SdlSession::~SdlSession() {
    if (signals_) signals_->wakeWith({});  // no event pushed while SDL goes
    pads_.reset();
    audio_.reset();  // before SDL goes
    cursors_.clear();
    SDL_Quit();
}

std::uint64_t SdlSession::now() const { return SDL_GetTicks64(); }

Rect SdlSession::usableArea() const {
    SDL_Rect r{0, 0, 1024, 768};
    SDL_GetDisplayUsableBounds(0, &r);
    return {r.x, r.y, r.w, r.h};
}

Rect SdlSession::displayArea() const {
    SDL_Rect r{0, 0, 1024, 768};
    SDL_GetDisplayBounds(0, &r);
    return {r.x, r.y, r.w, r.h};
}

void SdlSession::playSound(const std::string& file) {
    comingClip_ = file;
    playComingClip();
}

void SdlSession::stopSound() {
    comingClip_.reset();  // a clip still on its way is not wanted any more either
    audio_->stop();
}

void SdlSession::playComingClip() {
    if (!comingClip_) return;
    const std::optional<std::string> ready = system_.clipFile(*comingClip_);
    if (!ready) return;
    comingClip_.reset();
    audio_->play(*ready);
}

std::optional<SDL_Event> SdlSession::waitEvent(std::optional<std::uint64_t> deadline) {
    if (!videoError_.empty()) return std::nullopt;
    playComingClip();  // the page's loop was woken by its arrival
    while (true) {
        if (signals_ && signals_->take()) {
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            return quit;
        }
        // The sound device, while open, is looked at now and then, so that it closes once quiet.
        const std::uint64_t current = now();
        audio_->closeIfQuiet(current);
        std::optional<std::uint64_t> wake = deadline;
        if (const auto check = audio_->nextCheck(current); check && (!wake || *check < *wake))
            wake = check;

        if (pads_) pads_->read();
        SDL_Event event;
        bool got = false;
        if (!wake) {
            got = system_.waitEvent(event, std::nullopt);
        } else if (*wake <= current) {
            got = SDL_PollEvent(&event) != 0;
        } else {
            const std::uint64_t wait = std::min<std::uint64_t>(*wake - current, 1u << 30);
            got = system_.waitEvent(event, static_cast<int>(wait));
        }
        if (got) return event;
        if (deadline && now() >= *deadline) return std::nullopt;
    }
}

SDL_Cursor* SdlSession::cursorFor(const std::string& file, int scale) {
    const auto key = std::make_pair(file, scale);
    if (const auto it = cursors_.find(key); it != cursors_.end()) return it->second.get();
    SDL_Cursor* cursor = nullptr;
    if (file.empty()) {
        cursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    } else {
        // Drawn for the scale like every picture, so that it is as large and as sharp.
        const SurfacePtr picture = loadPicture(pathFromUtf8(file), scale);
        cursor = SDL_CreateColorCursor(picture.get(), 0, 0);  // the hotspot is the upper-left pixel
    }
    if (!cursor) return nullptr;
    cursors_.emplace(key, std::unique_ptr<SDL_Cursor, CursorDeleter>(cursor));
    return cursor;
}

void SdlSession::setCursor(const std::string& cursorFile, int scale) {
    const auto key = std::make_pair(cursorFile, scale);
    if (currentCursor_ == key || !videoError_.empty()) return;
    if (SDL_Cursor* cursor = cursorFor(cursorFile, scale)) SDL_SetCursor(cursor);
    currentCursor_ = key;
}

FontFiles SdlSession::fontFiles() const { return systemFontFiles(); }

void SdlSession::openUrl(const std::string& url) { SDL_OpenURL(url.c_str()); }

void SdlSession::showPlainError(std::string_view title, std::string_view text) {
    system_.showPlainError(std::string(title), std::string(text));
}

SdlPlatformBase::Waited SdlPlatformBase::waitDevices(std::optional<std::uint64_t> deadline) {
    SdlGamePads* pads = session_->pads();
    while (true) {
        const std::optional<std::uint64_t> glideAt = pads ? pads->nextGlide() : std::nullopt;
        const bool glideFirst = glideAt && (!deadline || *glideAt < *deadline);
        const std::optional<SDL_Event> event = session_->waitEvent(glideFirst ? glideAt : deadline);
        if (!event) {
            if (!glideFirst) return {};
            if (std::optional<InputEvent> moved = glide()) return {std::nullopt, moved};
            continue;
        }
        if (pads)
            if (const std::optional<InputEvent> input = pads->take(*event, session_->now())) {
                if (std::optional<InputEvent> addressed = fromPad(*input))
                    return {std::nullopt, addressed};
                continue;
            }
        return {event, std::nullopt};
    }
}

}  // namespace orval
