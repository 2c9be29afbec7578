#include "shell/wave.h"

#include <string>

#include "scenes/model/utf8_path.h"
namespace orval {

void playWave(Platform& platform, const std::filesystem::path& baseDir,
              std::string_view path) noexcept {
    try {
        platform.playSound(utf8Of(baseDir / pathFromUtf8(path)));
    } catch (...) {
        // The guard covers exactly the sound call; the handler goes on with its next step.
    }
}

}  // namespace orval
