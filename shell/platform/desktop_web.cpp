// A browser page (emscripten): one canvas, the page's own events, clips fetched from beside it.
#include <SDL.h>
#include <emscripten.h>

#include <filesystem>
#include <system_error>

#include "shell/platform/desktop_system.h"

namespace {

// The page's side in JavaScript, which clang-format would take for C++.
// clang-format off

// Sleeps, letting the page run, until input reaches the page or `timeoutMs` passes (for ever
// when negative). The wake comes a task later, once SDL's own listeners have turned the input
// into its events.
EM_ASYNC_JS(void, orval_sleep_until_input, (int timeoutMs), {
    await new Promise((resolve) => {
        const kinds = [ "mousedown", "mouseup", "mousemove", "wheel", "keydown", "keyup",
                        "touchstart", "touchmove", "touchend", "resize", "focus", "blur",
                        "visibilitychange", "fullscreenchange", "orval-wake" ];
        let timer = 0;
        const wake = () => {
            clearTimeout(timer);
            for (const kind of kinds) window.removeEventListener(kind, wake, true);
            setTimeout(resolve, 0);
        };
        for (const kind of kinds) window.addEventListener(kind, wake, true);
        if (timeoutMs >= 0) timer = setTimeout(wake, timeoutMs);
    });
});

// Fetches the file at `url`, relative to the page, into `file`: 1 when it came.
EM_ASYNC_JS(int, orval_fetch_file, (const char* url, const char* file), {
    try {
        const response = await fetch(UTF8ToString(url));
        if (!response.ok) return 0;
        const bytes = new Uint8Array(await response.arrayBuffer());
        const path = UTF8ToString(file);
        FS.mkdirTree(path.substring(0, path.lastIndexOf("/")));
        FS.writeFile(path, bytes);
        return 1;
    } catch (error) {
        return 0;
    }
});

// Sleeps until the browser has drawn a frame.
EM_ASYNC_JS(void, orval_sleep_until_drawn, (), {
    await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
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

// clang-format on

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

// SDL would otherwise yield to the page after every frame it hands over, in the middle of the
// game's work: input dispatched then reached the game only with the next input (a click on
// NOVÁ HRA answered when the mouse next moved). The game yields in its own wait instead.
DesktopSystem::DesktopSystem() { SDL_SetHint(SDL_HINT_EMSCRIPTEN_ASYNCIFY, "0"); }
DesktopSystem::~DesktopSystem() = default;

// The page asks for its scale itself (ORVAL_SCALE), from the size of the browser's window.
std::optional<std::string> DesktopSystem::fontDpi() const { return std::nullopt; }

// Only the stage runs in a page: it raises its windows itself.
bool DesktopSystem::raisesFloatingWindows() const { return false; }

bool DesktopSystem::framesWindows() const { return false; }

// The browser covers the screen with the canvas through its own fullscreen.
bool DesktopSystem::coversScreenWhenFullscreen() const { return true; }

bool DesktopSystem::waitEvent(SDL_Event& event, std::optional<int> timeoutMs) const {
    const Uint64 until = SDL_GetTicks64() + static_cast<Uint64>(timeoutMs.value_or(0));
    while (true) {
        if (SDL_PollEvent(&event)) return true;
        if (!timeoutMs) {
            orval_sleep_until_input(-1);
            continue;
        }
        const Uint64 now = SDL_GetTicks64();
        if (now >= until) return false;
        orval_sleep_until_input(static_cast<int>(until - now));
    }
}

// The clips travel as Ogg Vorbis, a seventh of their WAV size, and come when first played, so
// that the menu does not wait for them.
std::string DesktopSystem::clipFile(const std::string& wavFile) const {
    const std::filesystem::path wav(wavFile);
    if (wav.extension() != ".wav") return wavFile;
    const std::string ogg = std::filesystem::path(wav).replace_extension(".ogg").string();
    std::error_code error;
    if (!std::filesystem::exists(ogg, error)) orval_fetch_file(urlOf(ogg).c_str(), ogg.c_str());
    return ogg;
}

void DesktopSystem::showDrawnFrame() const { orval_sleep_until_drawn(); }

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

// A main that slept returns into no caller that would end the program: it is ended here, so
// that the page hears of it (Module.onExit) and shows the end instead of a canvas left standing.
int endProgram(int status) {
    emscripten_force_exit(status);
    return status;
}

}  // namespace orval
