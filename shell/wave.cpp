#include "shell/wave.h"

#include <string>

namespace orval {

void playWave(Platform& platform, const std::filesystem::path& baseDir,
              std::string_view path) noexcept {
    try {
        const std::filesystem::path file = baseDir / std::string(path);
        platform.playSound(file.string());
    } catch (...) {
        // The guard covers exactly the sound call; the handler goes on with its next step.
    }
}

}  // namespace orval
