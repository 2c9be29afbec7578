// A browser page (emscripten): one canvas, the page's own events, clips fetched from beside it.
#include <SDL.h>
#include <emscripten.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <system_error>

#include "shell/platform/desktop_system.h"

namespace {

// The page's side in JavaScript, which clang-format would take for C++.
// clang-format off

// The loop's rest: until input reaches the page or `timeoutMs` passes (for ever when
// negative), then the loop runs again from the next frame, by when SDL's own listeners have
// turned the input into its events. A clip's arrival ends the rest too.
EM_JS(void, orval_rest, (int timeoutMs), {
    const kinds = [ "mousedown", "mouseup", "mousemove", "wheel", "keydown", "keyup",
                    "touchstart", "touchmove", "touchend", "resize", "focus", "blur",
                    "visibilitychange", "fullscreenchange", "gamepadconnected",
                    "gamepaddisconnected", "orval-wake" ];
    let timer = 0;
    const wake = () => {
        clearTimeout(timer);
        for (const kind of kinds) window.removeEventListener(kind, wake, true);
        Module["orvalWake"] = null;
        _orval_wake();
    };
    Module["orvalWake"] = wake;
    for (const kind of kinds) window.addEventListener(kind, wake, true);
    if (timeoutMs >= 0) timer = setTimeout(wake, timeoutMs);
});

// Keeps the program alive while its loop rests: emscripten would end it when the loop pauses.
EM_JS(void, orval_keep_alive, (int keep), {
    if (keep)
        runtimeKeepalivePush();
    else
        runtimeKeepalivePop();
});

// How the fetch of the file at `url` (relative to the page) into `file` goes: 0 on its way
// (started by the first ask), 1 come, 2 failed. Its end wakes the resting loop.
EM_JS(int, orval_fetch_state, (const char* url, const char* file), {
    const path = UTF8ToString(file);
    const fetches = Module["orvalFetches"] || (Module["orvalFetches"] = {});
    if (path in fetches) return fetches[path];
    fetches[path] = 0;
    const ended = (state) => {
        fetches[path] = state;
        if (Module["orvalWake"]) Module["orvalWake"]();
    };
    fetch(UTF8ToString(url))
        .then((response) => {
            if (!response.ok) throw new Error(response.status);
            return response.arrayBuffer();
        })
        .then((bytes) => {
            FS.mkdirTree(path.substring(0, path.lastIndexOf("/")));
            FS.writeFile(path, new Uint8Array(bytes));
            ended(1);
        })
        .catch(() => ended(2));
    return 0;
});

// The page shows it over its canvas; the browser's own message boxes are never used.
EM_JS(void, orval_show_error, (const char* title, const char* text), {
    const shown = Module["showError"];
    if (shown)
        shown(UTF8ToString(title), UTF8ToString(text));
    else
        console.error(UTF8ToString(title) + ": " + UTF8ToString(text));
});

// The page's live region, its buttons for fingers and its choice of the phone's layout
// (tools/web/fingers.js); a page without them hears nothing.
EM_JS(void, orval_announce, (const char* text, const char* language), {
    const page = window["orvalFingers"];
    if (page) page.announce(UTF8ToString(text), UTF8ToString(language));
});
EM_JS(void, orval_show_switches, (int subtitles, int sound, int names, int hotspots), {
    const page = window["orvalFingers"];
    if (page)
        page.showSwitches({ subtitles: !!subtitles, sound: !!sound, names: !!names,
                            hotspots: !!hotspots });
});
EM_JS(int, orval_shows_front_alone, (), {
    const page = window["orvalFingers"];
    return page && page.showsFrontAlone() ? 1 : 0;
});

// The size of the page's canvas in the screen's own pixels: its CSS size times the device's
// pixel ratio, as the page lays it out.
EM_JS(int, orval_canvas_device_width, (), {
    const canvas = Module["canvas"];
    return Math.round(canvas.getBoundingClientRect().width * (window.devicePixelRatio || 1));
});
EM_JS(int, orval_canvas_device_height, (), {
    const canvas = Module["canvas"];
    return Math.round(canvas.getBoundingClientRect().height * (window.devicePixelRatio || 1));
});
EM_JS(int, orval_data_arrived, (), {
    const page = window["orvalPage"];
    return !page || !page.dataArrived || page.dataArrived() ? 1 : 0;
});

EM_JS(int, orval_pointer_pixel_ratio, (), {
    return Math.max(1, Math.round(window.devicePixelRatio || 1));
});

// How the game ended, kept for the page's closing words (Module.onExit).
EM_JS(void, orval_tell_ending, (int askedToEnd, const char* language), {
    Module["orvalEnding"] = { askedToEnd: !!askedToEnd, language: UTF8ToString(language) };
});

// clang-format on

// SDL sizes the window in the page's CSS pixels, each drawn as several of the screen's on a
// sharp screen: whenever it sizes it so (the page resized), and when the window first shows
// (while SDL opens it, it is not yet found by its id), the window is made as large as the
// screen's pixels under the canvas instead. The canvas keeps its CSS size, so SDL scales the
// pointer's position by the same ratio. Fullscreen stays as the browser makes it.
int fitToDevicePixels(void*, SDL_Event* event) {
    if (event->type != SDL_WINDOWEVENT || (event->window.event != SDL_WINDOWEVENT_SHOWN &&
                                           event->window.event != SDL_WINDOWEVENT_RESIZED &&
                                           event->window.event != SDL_WINDOWEVENT_SIZE_CHANGED))
        return 0;
    SDL_Window* window = SDL_GetWindowFromID(event->window.windowID);
    if (!window || (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0) return 0;
    const int w = orval_canvas_device_width(), h = orval_canvas_device_height();
    int now = 0, nowH = 0;
    SDL_GetWindowSize(window, &now, &nowH);
    if (w <= 0 || h <= 0 || (w == now && h == nowH)) return 0;
    SDL_SetWindowSize(window, w, h);
    return 0;
}

// The address of a packed file, relative to the page: each part of its path escaped, as the
// clips' names hold spaces and Czech letters.
std::string urlOf(const std::string& file) {
    std::string url;
    for (const unsigned char c : file.substr(file.front() == '/' ? 1 : 0)) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '/' || c == '.' || c == '-' || c == '_') {
            url += static_cast<char>(c);
        } else {
            constexpr char kHex[] = "0123456789ABCDEF";
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

}  // namespace

// A button of the page's bar for fingers pressed: to the game it is the key it stands for
// (SDL's code of it), read through the binding table as that key is.
extern "C" EMSCRIPTEN_KEEPALIVE void orval_press_key(int keyCode) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = keyCode;
    SDL_PushEvent(&event);
}

namespace orval {

struct DesktopSystem::State {};

// SDL would otherwise yield to the page after every frame it hands over (with Asyncify, which
// the game does without): the game's loop gives the page its turn itself.
DesktopSystem::DesktopSystem() {
    SDL_SetHint(SDL_HINT_EMSCRIPTEN_ASYNCIFY, "0");
    SDL_AddEventWatch(fitToDevicePixels, nullptr);
}
DesktopSystem::~DesktopSystem() { SDL_DelEventWatch(fitToDevicePixels, nullptr); }

// The page asks for its scale itself (ORVAL_SCALE), from the size of the browser's window.
std::optional<std::string> DesktopSystem::fontDpi() const { return std::nullopt; }

// Only the stage runs in a page: it raises its windows itself.
bool DesktopSystem::raisesFloatingWindows() const { return false; }

bool DesktopSystem::framesWindows() const { return false; }

// The browser covers the screen with the canvas through its own fullscreen.
bool DesktopSystem::coversScreenWhenFullscreen() const { return true; }

// A page never waits: what has come is there, and the loop rests between frames instead.
bool DesktopSystem::waitEvent(SDL_Event& event, std::optional<int>) const {
    return SDL_PollEvent(&event) != 0;
}

// The clips travel as Ogg Vorbis, a seventh of their WAV size, and come when first played, so
// that the menu does not wait for them; the game goes on meanwhile.
std::optional<std::string> DesktopSystem::clipFile(const std::string& wavFile) const {
    const std::filesystem::path wav(wavFile);
    if (wav.extension() != ".wav") return wavFile;
    const std::string ogg = std::filesystem::path(wav).replace_extension(".ogg").string();
    std::error_code error;
    if (std::filesystem::exists(ogg, error)) return ogg;
    if (orval_fetch_state(urlOf(ogg).c_str(), ogg.c_str()) == 0) return std::nullopt;
    return ogg;  // come, or failed: a missing file gives the alert tone
}

void DesktopSystem::showPlainError(const std::string& title, const std::string& text) const {
    orval_show_error(title.c_str(), text.c_str());
}

void DesktopSystem::announce(const Announcement& announcement) const {
    orval_announce(announcement.text.c_str(), announcement.language.c_str());
}

void DesktopSystem::showSwitches(const Switches& switches) const {
    orval_show_switches(switches.subtitles, switches.sound, switches.names, switches.hotspots);
}

// A phone: the page says so from its size and its coarse pointer.
bool DesktopSystem::showsFrontAlone() const { return orval_shows_front_alone() != 0; }

// The page fetches the places' pack once the menu shows (page.js) and says when it is in.
bool DesktopSystem::dataArrived() const { return orval_data_arrived() != 0; }

int DesktopSystem::pointerPixelRatio() const { return orval_pointer_pixel_ratio(); }

// The page chose it (tools/web/page.js).
bool DesktopSystem::choosesScale() const { return true; }

namespace {

// The game between the browser's frames.
struct PageLoop {
    std::unique_ptr<SteppedGame> game;
    bool menuShown = false;
};

// One frame: everything that has come and is due, then a rest until the next thing is.
void frame(void* argument) {
    PageLoop& loop = *static_cast<PageLoop*>(argument);
    // main drew the menu; this first frame lets the browser show it before the rest of the
    // start-up runs, in the next.
    if (!loop.menuShown) {
        loop.menuShown = true;
        return;
    }
    const std::uint64_t now = loop.game->now();
    while (loop.game->step(now)) {
    }
    if (loop.game->ended()) {
        emscripten_cancel_main_loop();
        std::unique_ptr<PageLoop> ending(&loop);  // the page's loop owned it until now
        const int status = ending->game->finish();
        ending.reset();  // every resource of the game gone, as when a desktop's main returns
        orval_keep_alive(0);
        emscripten_force_exit(status);
        return;
    }
    const std::optional<std::uint64_t> due = loop.game->nextDue();
    if (due && *due <= loop.game->now()) return;  // due already: the next frame
    emscripten_pause_main_loop();
    const std::uint64_t rest = due ? *due - loop.game->now() : 0;
    orval_rest(due ? static_cast<int>(std::min<std::uint64_t>(rest, 1u << 30)) : -1);
}

}  // namespace

// main returns at once: the page calls the loop from its frames; the loop owns the game until
// its end, when the page is told (Module.onExit).
int runGame(std::unique_ptr<SteppedGame> game) {
    orval_keep_alive(1);
    auto loop = std::make_unique<PageLoop>(PageLoop{std::move(game)});
    emscripten_set_main_loop_arg(frame, loop.release(), 0, false);  // owned by it from now on
    return 0;
}

void tellHowTheGameEnded(bool askedToEnd, const std::string& language) {
    orval_tell_ending(askedToEnd ? 1 : 0, language.c_str());
}

}  // namespace orval

// The page's rest ends: the loop runs again from the next frame.
extern "C" EMSCRIPTEN_KEEPALIVE void orval_wake() { emscripten_resume_main_loop(); }
