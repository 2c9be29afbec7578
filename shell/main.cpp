// ORVAL KESK: starts the scene runtime on the desktop with the main menu.
#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

#include "scenes/game.h"
#include "shell/platform/sdl_platform.h"
#include "shell/runtime.h"

int main() {
#ifdef M_MMAP_THRESHOLD
    // Decoded pictures (up to 1.3 MB) live only while a window is drawn. A fixed threshold
    // keeps them in their own mappings, returned on free, instead of growing the heap for good.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
    orval::HandlerRegistry handlers;
    orval::registerAllHandlers(handlers);
    // Every failure from here on, no display included, takes the runtime's one fatal path.
    orval::SdlPlatform platform;
    orval::Runtime runtime(platform, orval::executableDirectory(), handlers);
    return runtime.run();
}
