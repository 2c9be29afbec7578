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

bool DesktopSystem::framesWindows() const { return true; }

// Windows itself covers the screen with a fullscreen window.
bool DesktopSystem::coversScreenWhenFullscreen() const { return true; }

}  // namespace orval
