// Speech where the game has no speech service to reach (Windows, the browser, whose page tells
// the screen reader itself): turned on, it says so once.
#include <cstdio>

#include "shell/platform/speech.h"

namespace orval {

struct Speech::Service {};

Speech::Speech() = default;
Speech::~Speech() = default;

void Speech::reach() {
    std::fprintf(stderr, "orval-kesk: no speech on this system\n");
}

void Speech::announce(const Announcement&) {}

}  // namespace orval
