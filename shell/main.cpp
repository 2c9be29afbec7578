// ORVAL KESK: starts the scene runtime on the desktop with the main menu.
#include "scenes/game.h"
#include "shell/platform/sdl_platform.h"
#include "shell/runtime.h"

int main() {
    orval::HandlerRegistry handlers;
    orval::registerAllHandlers(handlers);
    // Every failure from here on, no display included, takes the runtime's one fatal path.
    orval::SdlPlatform platform;
    orval::Runtime runtime(platform, orval::executableDirectory(), handlers);
    return runtime.run();
}
