// Rules of the code base that a reviewer would otherwise have to check by hand.
#include <regex>

#include "tests/test_support.h"

namespace orval::testing {
namespace {

// The C++ files under a folder of the source tree.
std::vector<fs::path> sourcesUnder(const std::string& folder) {
    std::vector<fs::path> files;
    for (const auto& item : fs::recursive_directory_iterator(sourceDir() / folder))
        if (item.path().extension() == ".cpp" || item.path().extension() == ".h")
            files.push_back(item.path());
    return files;
}

// The names joined by `between`.
std::string joined(const std::vector<std::string>& names, const std::string& between) {
    std::string all;
    for (const std::string& name : names) all += (all.empty() ? "" : between) + name;
    return all;
}

// Every dependency runs one way, shell/ -> scenes/ -> scenes/model/, and the platform layer
// knows pixels only: a rule broken here is how layers grow back together.
TEST(Architecture, EveryLayerIncludesOnlyWhatLiesBelowIt) {
    struct Rule {
        std::string folder;
        std::regex forbidden;
        const char* why;
    };
    const Rule rules[] = {
        {"scenes", std::regex(R"(#include\s*"shell/)"), "scenes/ never reaches up into shell/"},
        {"scenes/model", std::regex(R"(#include\s*"scenes/(front|places|game))"),
         "the model knows no handler"},
        {"shell/platform",
         std::regex(R"(#include\s*"scenes/(?!model/(geometry|canvas|utf8_path|font_files)\.h"))"),
         "the platform includes only geometry, canvases, file names and where fonts lie"},
        {"shell/platform",
         std::regex(R"(\b(TTF_\w+|Fonts|renderScene|renderMessageBox|SceneDescription)\b)"),
         "the platform draws no scene and no letter"},
        {"shell", std::regex(R"(#\s*if.*\b(_WIN32|__EMSCRIPTEN__|ORVAL_HAVE_X11)\b)"),
         "what differs between systems lives in a file per system, chosen by the build"},
        {"scenes", std::regex(R"(#\s*if.*\b(_WIN32|__EMSCRIPTEN__|ORVAL_HAVE_X11)\b)"),
         "the game is the same on every system"},
        {"shell", std::regex("\"(" + joined(sceneNames(), "|") + ")\""),
         "which scene opens first, is the menu or floats over the places is in the descriptions' "
         "Roles: the shell names no scene"},
    };
    for (const Rule& rule : rules) {
        SCOPED_TRACE(rule.why);
        const std::vector<fs::path> files = sourcesUnder(rule.folder);
        EXPECT_GE(files.size(), 4u);
        for (const fs::path& file : files)
            EXPECT_FALSE(std::regex_search(readFile(file), rule.forbidden)) << file;
    }
}

// Only the platform layer may reach SDL's windows, events, audio and cursors.
TEST(Architecture, OnlyThePlatformLayerIncludesSdlWindowEventAudioOrCursorHeaders) {
    const std::regex forbidden(
        R"(#include\s*[<"](SDL2/)?(SDL|SDL_video|SDL_events|SDL_mixer|SDL_mouse|SDL_audio)\.h[>"])");
    int checked = 0;
    for (const std::string folder : {"scenes", "shell", "tools"}) {
        for (const fs::path& file : sourcesUnder(folder)) {
            if (file.parent_path().filename() == "platform") continue;
            // The floors the benchmarks compare with are whole SDL programs, and the bench's
            // virtual pad a piece of SDL put into the game: none of them is game code.
            if (file.parent_path().filename() == "bench" &&
                (file.stem() == "floor" || file.stem() == "virtual_pad"))
                continue;
            if (file.parent_path().filename() == "web" && file.stem() == "floor_page") continue;
            ++checked;
            EXPECT_FALSE(std::regex_search(readFile(file), forbidden)) << file;
        }
    }
    EXPECT_GT(checked, 30);
}

TEST(Architecture, AHandlerRegisteredTwiceIsRefused) {
    HandlerRegistry registry;
    registry.add("doma", "Image4_Click", [](Game&) {});
    EXPECT_THROW(registry.add("doma", "Image4_Click", [](Game&) {}), std::logic_error);
    EXPECT_NO_THROW(registry.add("Sklad", "Image4_Click", [](Game&) {}));
}

}  // namespace
}  // namespace orval::testing
