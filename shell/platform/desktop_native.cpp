// What the native desktops (X11, Windows) do alike; the browser has its own of each.
#include <SDL.h>

#include "shell/platform/desktop_system.h"

namespace orval {

bool DesktopSystem::waitEvent(SDL_Event& event, std::optional<int> timeoutMs) const {
    return (timeoutMs ? SDL_WaitEventTimeout(&event, *timeoutMs) : SDL_WaitEvent(&event)) != 0;
}

std::optional<std::string> DesktopSystem::clipFile(const std::string& wavFile) const {
    return wavFile;
}

void DesktopSystem::showPlainError(const std::string& title, const std::string& text) const {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr);
}

// A desktop's screen reader is spoken to elsewhere; nothing beside its windows shows switches.
void DesktopSystem::announce(const Announcement&) const {}
void DesktopSystem::showSwitches(const Switches&) const {}

// A desktop shows the whole stage, however small its window.
bool DesktopSystem::showsFrontAlone() const { return false; }

// Everything lies beside the program.
bool DesktopSystem::dataArrived() const { return true; }

// The window system has the pixels as soon as they are handed over: the game's own loop sleeps
// in each step's wait.
int runGame(std::unique_ptr<SteppedGame> game) {
    while (game->step(std::nullopt)) {
    }
    return game->finish();
}

// A window's pixels are the screen's, and so are a pointer's.
int DesktopSystem::pointerPixelRatio() const { return 1; }

bool DesktopSystem::choosesScale() const { return false; }

void tellHowTheGameEnded(bool, const std::string&) {}

}  // namespace orval
