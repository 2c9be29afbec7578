// ORVAL KESK: starts the scene runtime on the desktop with the main menu.
#include <cstdio>
#include <exception>

#include "scenes/game.h"
#include "shell/platform/sdl_platform.h"
#include "shell/runtime.h"
#include "shell/scene_files.h"

int main() {
    const std::filesystem::path base = orval::executableDirectory();
    orval::HandlerRegistry handlers;
    orval::registerAllHandlers(handlers);

    std::unique_ptr<orval::SdlPlatform> platform;
    std::unique_ptr<orval::Runtime> runtime;
    try {
        platform = std::make_unique<orval::SdlPlatform>();
        runtime = std::make_unique<orval::Runtime>(
            *platform, base, handlers, orval::loadGameDescriptions(base / "data", handlers));
    } catch (const std::exception& error) {
        // The one fatal path: stderr always, the game's own box when a display is there.
        if (platform) {
            platform->reportFatal(error.what());
        } else {
            std::fprintf(stderr, "orval-kesk: %s\n", error.what());
        }
        return 1;
    }
    const int status = runtime->run();
    runtime.reset();  // its windows close before the platform goes
    return status;
}
