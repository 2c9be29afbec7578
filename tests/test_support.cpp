#include "tests/test_support.h"

#include <stdlib.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <fstream>
#include <sstream>

#include "shell/scene_files.h"

namespace orval::testing {

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "orval-test-XXXXXX").string();
#ifdef _WIN32
    // Windows has no mkdtemp: a name not yet taken, then the folder made only if still new.
    if (_mktemp_s(pattern.data(), pattern.size() + 1) != 0 || !fs::create_directory(pattern))
        throw std::runtime_error("no temporary folder could be made");
#else
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
#endif
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& file, std::string_view text) {
    std::ofstream(file, std::ios::binary) << text;
}

void makeFifo(const fs::path& file) {
#if defined(_WIN32) || defined(__EMSCRIPTEN__)
    fs::create_directory(file);
#else
    ::mkfifo(file.c_str(), 0600);
#endif
}

#ifdef ORVAL_TEST_UNREADABLE_FILES
void makeUnreadable(const fs::path& file) {
    fs::create_symlink(file.filename(), file);  // a link to itself: every look at it fails
}
#endif

void copyData(const fs::path& to) {
    fs::copy(sourceDir() / "data", to / "data", fs::copy_options::recursive);
}

::testing::AssertionResult mentions(const std::string& message, const std::string& word) {
    if (message.find(word) != std::string::npos) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "\"" << message << "\" does not mention \"" << word << "\"";
}

const HandlerRegistry& gameHandlers() {
    static const HandlerRegistry handlers = [] {
        HandlerRegistry all;
        registerAllHandlers(all);
        return all;
    }();
    return handlers;
}

std::vector<SceneDescription> gameDescriptions(const fs::path& base) {
    return loadGameDescriptions(base / "data", gameHandlers());
}

void RecordingPlatform::closeWindow(WindowId window) {
    closed.push_back(window);
    inner.closeWindow(window);
}

void RecordingPlatform::openUrl(const std::string& url) {
    inner.openUrl(url);
    if (linksFail) throw std::runtime_error("no browser");
}

int countColour(const Canvas& canvas, const Rect& area, Colour colour) {
    const Rect inside = intersect(area, canvas.bounds());
    int count = 0;
    for (int y = inside.y; y < inside.y + inside.h; ++y)
        for (int x = inside.x; x < inside.x + inside.w; ++x)
            if (canvas.pixel(x, y) == colour) ++count;
    return count;
}

int mismatches(const Canvas& canvas, const Rect& area, const Canvas& picture, int px, int py) {
    int wrong = 0;
    for (int y = 0; y < area.h; ++y)
        for (int x = 0; x < area.w; ++x)
            if (canvas.pixel(area.x + x, area.y + y) != picture.pixel(px + x, py + y)) ++wrong;
    return wrong;
}

Canvas canvasOf(const std::string& file) {
    const SurfacePtr picture = PictureStore(sourceDir() / "data").load(file);
    Canvas canvas(picture->w, picture->h);
    canvas.draw(picture.get(), 0, 0, canvas.bounds());
    return canvas;
}

Path operator+(Path a, const Path& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Path operator+(Path a, const Step& b) {
    a.push_back(b);
    return a;
}

void play(TestGame& game, const Step& step) {
    if (step.scene.empty())
        game.wait(step.ms);
    else
        game.click(step.scene, step.x, step.y);
}

void play(TestGame& game, const Path& path) {
    for (const Step& step : path) play(game, step);
}

Flags flagsOf(const TestGame& game) {
    Flags flags;
    for (const std::string& scene : sceneNames()) {
        if (!game.loaded(scene)) continue;
        for (const ControlDescription& c : game.runtime->view().description(scene).controls) {
            flags[scene + "." + c.name + ".Visible"] = game.visible(scene, c.name);
            flags[scene + "." + c.name + ".Enabled"] = game.enabled(scene, c.name);
        }
    }
    return flags;
}

std::set<std::string> loadedScenes(const TestGame& game) {
    std::set<std::string> scenes;
    for (const std::string& scene : sceneNames())
        if (game.loaded(scene)) scenes.insert(scene);
    return scenes;
}

GameState stateOf(const TestGame& game) {
    return {flagsOf(game),
            game.windows(),
            game.platform.sounds().size(),
            game.platform.messages().size(),
            game.platform.urls().size(),
            game.ended()};
}

std::vector<Message> messagesOf(const TestGame& game, std::size_t first) {
    std::vector<Message> messages;
    const auto& all = game.platform.messages();
    for (std::size_t i = first; i < all.size(); ++i)
        messages.push_back({all[i].title, all[i].text});
    return messages;
}

namespace {

// "scene.control=1" as the key flagsOf uses for the flag that matters for its kind of control.
std::pair<std::string, bool> flagOf(const TestGame& game, const std::string& word) {
    const std::size_t dot = word.find('.'), equals = word.find('=');
    const std::string scene = word.substr(0, dot);
    const std::string control = word.substr(dot + 1, equals - dot - 1);
    const bool value = word.substr(equals + 1) == "1";
    const SceneDescription& d = game.runtime->view().description(scene);
    const int index = d.find(control);
    if (index < 0 || equals == std::string::npos) return {word + " (no such control)", value};
    const ControlKind kind = d.controls[static_cast<std::size_t>(index)].kind;
    const bool visibility = kind == ControlKind::PictureBox || kind == ControlKind::Label;
    return {scene + "." + control + (visibility ? ".Visible" : ".Enabled"), value};
}

std::string frontOf(const TestGame& game) {
    const std::vector<std::string> windows = game.windows();
    return windows.empty() ? std::string() : windows.front();
}

}  // namespace

void expectStep(TestGame& game, const Expect& e) {
    SCOPED_TRACE(e.what);
    ASSERT_FALSE(e.steps.empty());
    play(game, Path(e.steps.begin(), e.steps.end() - 1));
    ASSERT_FALSE(game.ended()) << game.runtime->view().fatalMessage();
    game.takeSounds();
    const Flags before = flagsOf(game);
    std::set<std::string> loaded = loadedScenes(game);
    std::string front = frontOf(game);
    const std::size_t messages = game.platform.messages().size();
    const std::size_t urls = game.platform.urls().size();

    play(game, e.steps.back());

    ASSERT_FALSE(game.ended()) << game.runtime->view().fatalMessage();
    std::vector<std::string> sounds;
    std::istringstream clips(e.sounds);
    // A language of its own speaks from its own folder.
    const std::string& language = game.runtime->view().language();
    const std::string folder = language == "cs" ? "zvuky/" : "zvuky/" + language + "/";
    for (std::string clip; std::getline(clips, clip, ',');)
        sounds.push_back(folder + clip + ".wav");
    EXPECT_EQ(game.takeSounds(), sounds);
    const Flags after = flagsOf(game);
    std::istringstream flagWords(e.flags);
    std::set<std::string> named;
    for (std::string word; flagWords >> word;) {
        const auto [key, value] = flagOf(game, word);
        named.insert(key);
        const auto it = after.find(key);
        EXPECT_TRUE(it != after.end()) << key << ": no such flag of a loaded scene";
        if (it != after.end()) {
            EXPECT_EQ(it->second, value) << key;
        }
    }
    for (const auto& [key, value] : before) {
        const auto it = after.find(key);
        if (it != after.end() && !named.contains(key)) {
            EXPECT_EQ(it->second, value) << key << " changed";
        }
    }
    std::istringstream windowWords(e.windows);
    for (std::string word; windowWords >> word;) {
        if (word[0] == '+')
            loaded.insert(word.substr(1));
        else if (word[0] == '-')
            loaded.erase(word.substr(1));
        else
            front = word;
    }
    EXPECT_EQ(loadedScenes(game), loaded);
    EXPECT_EQ(frontOf(game), front);
    std::vector<Message> expected;
    if (e.message) expected.push_back(*e.message);
    EXPECT_EQ(messagesOf(game, messages), expected);
    EXPECT_EQ(game.platform.urls().size(), urls);
}

void expectRows(const std::vector<Expect>& rows) {
    for (const Expect& row : rows) {
        TestGame game;
        expectStep(game, row);
    }
}

}  // namespace orval::testing
