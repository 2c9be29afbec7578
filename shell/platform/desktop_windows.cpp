// The Windows desktop.
#include <SDL.h>

#include "shell/platform/desktop_system.h"

namespace orval {

struct DesktopSystem::State {};

DesktopSystem::DesktopSystem() {
    // A scene shown again comes to the front: without it (seen under wine) an open window stays
    // behind the one that was clicked.
    SDL_SetHint(SDL_HINT_FORCE_RAISEWINDOW, "1");
}

DesktopSystem::~DesktopSystem() = default;

// Windows keeps no font resolution of its own for the game to follow.
std::optional<std::string> DesktopSystem::fontDpi() const { return std::nullopt; }

// Topmost windows stay above the others there without being raised.
bool DesktopSystem::raisesFloatingWindows() const { return false; }

bool DesktopSystem::waitEvent(SDL_Event& event, std::optional<int> timeoutMs) const {
    return (timeoutMs ? SDL_WaitEventTimeout(&event, *timeoutMs) : SDL_WaitEvent(&event)) != 0;
}

std::string DesktopSystem::clipFile(const std::string& wavFile) const { return wavFile; }

// The window system has the pixels as soon as they are handed over.
void DesktopSystem::showDrawnFrame() const {}

void DesktopSystem::showPlainError(const std::string& title, const std::string& text) const {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr);
}

int endProgram(int status) { return status; }

}  // namespace orval
