// Rules of the code base that a reviewer would otherwise have to check by hand.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "scenes/model/loader.h"
#include "shell/scene_files.h"
#include "tests/test_game.h"

namespace orval {
namespace {

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::filesystem::path> sourcesUnder(const std::string& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& item :
         std::filesystem::recursive_directory_iterator(testing::sourceDir() / folder))
        if (item.path().extension() == ".cpp" || item.path().extension() == ".h")
            files.push_back(item.path());
    return files;
}

// Only the platform layer may reach SDL's windows, events, audio and cursors.
TEST(Architecture, OnlyThePlatformLayerIncludesSdlWindowEventAudioOrCursorHeaders) {
    const std::regex forbidden(
        R"(#include\s*[<"](SDL2/)?(SDL|SDL_video|SDL_events|SDL_mixer|SDL_mouse|SDL_audio)\.h[>"])");
    std::vector<std::filesystem::path> checked;
    for (const std::string folder : {"scenes", "shell", "tools"}) {
        for (const auto& file : sourcesUnder(folder)) {
            if (file.parent_path().filename() == "platform" && file.stem() == "sdl_platform")
                continue;
            checked.push_back(file);
            EXPECT_FALSE(std::regex_search(readFile(file), forbidden)) << file;
        }
    }
    EXPECT_GT(checked.size(), 30u);
}

// Every clip a handler plays exists under exactly that name, and every clip is played.
TEST(Architecture, EverySoundPathInTheHandlersNamesAClipAndEveryClipIsUsed) {
    const std::regex soundPath(R"re("(zvuky/[^"]+)")re");
    std::set<std::string> played;
    for (const auto& file : sourcesUnder("scenes")) {
        const std::string text = readFile(file);
        for (std::sregex_iterator it(text.begin(), text.end(), soundPath), end; it != end; ++it)
            played.insert((*it)[1].str());
    }
    for (const std::string& path : played)
        EXPECT_TRUE(std::filesystem::is_regular_file(testing::sourceDir() / path))
            << path << " is played but missing";
    std::set<std::string> clips;
    for (const auto& item : std::filesystem::directory_iterator(testing::sourceDir() / "zvuky"))
        clips.insert("zvuky/" + item.path().filename().string());
    EXPECT_EQ(played, clips);
    EXPECT_EQ(played.size(), 34u);
}

void Unbound(Game&) {}

// Code that no description binds is dead; the loader refuses it.
TEST(Architecture, AHandlerThatNoDescriptionBindsIsRejected) {
    HandlerRegistry handlers;
    registerAllHandlers(handlers);
    EXPECT_NO_THROW(loadGameDescriptions(testing::sourceDir() / "data", handlers));
    handlers.add("doma", "Image9_Click", Unbound);
    try {
        loadGameDescriptions(testing::sourceDir() / "data", handlers);
        FAIL() << "an unbound handler was accepted";
    } catch (const DescriptionError& error) {
        EXPECT_NE(std::string(error.what()).find("Image9_Click"), std::string::npos)
            << error.what();
    }
}

}  // namespace
}  // namespace orval
