// What the native desktops (X11, Windows) do alike; the browser has its own of each.
#include <SDL.h>

#include "shell/platform/desktop_system.h"

namespace orval {

bool DesktopSystem::waitEvent(SDL_Event& event, std::optional<int> timeoutMs) const {
    return (timeoutMs ? SDL_WaitEventTimeout(&event, *timeoutMs) : SDL_WaitEvent(&event)) != 0;
}

std::string DesktopSystem::clipFile(const std::string& wavFile) const { return wavFile; }

// The window system has the pixels as soon as they are handed over.
void DesktopSystem::showDrawnFrame() const {}

void DesktopSystem::showPlainError(const std::string& title, const std::string& text) const {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr);
}

// A desktop's screen reader is spoken to elsewhere; nothing beside its windows shows switches.
void DesktopSystem::announce(const Announcement&) const {}
void DesktopSystem::showSwitches(const Switches&) const {}

// A desktop shows the whole stage, however small its window.
bool DesktopSystem::showsFrontAlone() const { return false; }

int endProgram(int status) { return status; }

}  // namespace orval
