// Rules of the code base that a reviewer would otherwise have to check by hand.
#include <regex>

#include "tests/test_support.h"

namespace orval::testing {
namespace {

// Only the platform layer may reach SDL's windows, events, audio and cursors.
TEST(Architecture, OnlyThePlatformLayerIncludesSdlWindowEventAudioOrCursorHeaders) {
    const std::regex forbidden(
        R"(#include\s*[<"](SDL2/)?(SDL|SDL_video|SDL_events|SDL_mixer|SDL_mouse|SDL_audio)\.h[>"])");
    int checked = 0;
    for (const std::string folder : {"scenes", "shell", "tools"}) {
        for (const auto& item : fs::recursive_directory_iterator(sourceDir() / folder)) {
            const fs::path& file = item.path();
            if (file.extension() != ".cpp" && file.extension() != ".h") continue;
            if (file.parent_path().filename() == "platform" && file.stem() == "sdl_platform")
                continue;
            // The floor the benchmark compares with is a whole SDL program, not game code.
            if (file.parent_path().filename() == "bench" && file.stem() == "floor") continue;
            ++checked;
            EXPECT_FALSE(std::regex_search(readFile(file), forbidden)) << file;
        }
    }
    EXPECT_GT(checked, 30);
}

}  // namespace
}  // namespace orval::testing
