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

// A preprocessor test of the system, the compiler or the headers it has: a name the compiler
// defines (_WIN32, __linux__, __APPLE__, __EMSCRIPTEN__, _MSC_VER), __has_include, or
// ORVAL_HAVE_X11.
const std::regex kSystemTest(
    R"(#\s*(if|elif)\w*\s.*(\b(_WIN\d\d|_MSC_VER|ORVAL_HAVE_X11)\b|\b__\w+__\b|__has_include))");

TEST(Architecture, EveryFormOfASystemTestIsRecognised) {
    for (const char* line : {"#ifdef _WIN32", "#if defined(__linux__) || x", "#elif __APPLE__",
                             "#  if _MSC_VER >= 1900", "#if __has_include(<malloc.h>)",
                             "#ifndef __EMSCRIPTEN__", "#if ORVAL_HAVE_X11"})
        EXPECT_TRUE(std::regex_search(std::string(line), kSystemTest)) << line;
    for (const char* line : {"#ifndef ORVAL_RELATIVE_DATADIR", "#pragma once",
                             "#include <malloc.h>", "// on __linux__ the pad watch"})
        EXPECT_FALSE(std::regex_search(std::string(line), kSystemTest)) << line;
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
        {"shell/platform", std::regex(R"(#include\s*"shell/(?!platform/))"),
         "the platform knows nothing of the shell above it, the binding table included"},
        // A letter or a space as a char, a key of SDL's named by its letter (but the ends of the
        // alphabet's range), an event carrying a char: a key the platform gave a meaning.
        {"shell/platform", std::regex(R"('[ b-yB-Y]'|\bSDLK_(?!a\b|z\b)[a-z]\b|\bchar\s+key\b)"),
         "the platform hands up keys and buttons as they are: the binding table says what they "
         "ask"},
        {"shell", kSystemTest,
         "what differs between systems lives in a file per system, chosen by the build"},
        {"scenes", kSystemTest, "the game is the same on every system"},
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
