#include "tests/test_game.h"

#include <stdexcept>

#include "scenes/model/hit_test.h"
#include "shell/scene_files.h"

namespace orval::testing {

std::filesystem::path sourceDir() { return ORVAL_SOURCE_DIR; }

std::optional<WindowReader::Box> RuntimeReader::boxIn(WindowId window) const {
    const Runtime* runtime = runtime_();
    const MessageBoxWindow* box = runtime ? runtime->view().openBox() : nullptr;
    if (!box || box->window() != window) return std::nullopt;
    return Box{box->title(), box->text(), box->okButton()};
}

std::optional<WindowReader::Words> RuntimeReader::wordsIn(WindowId window) const {
    const Runtime* runtime = runtime_();
    const auto shown = runtime ? runtime->view().subtitleShown() : std::nullopt;
    if (!shown || shown->window != window) return std::nullopt;
    return Words{shown->speaker, shown->words};
}

TestGame::TestGame(std::string_view firstScene, Rect screen, int scale, std::string language)
    : TestGame(firstScene, screen, scale, [&] {
          StartOptions options;
          options.language = std::move(language);
          return options;
      }()) {}

TestGame::TestGame(StartOptions options)
    : TestGame("ORVAL", {0, 0, 1280, 1024}, 1, std::move(options)) {}

TestGame::TestGame(std::string_view firstScene, Rect screen, int scale, StartOptions options)
    : platform(screen, scale) {
    platform.readWith(&reader);
    registerAllHandlers(handlers);
    const std::string& language = options.language;
    const std::filesystem::path captions = language == "cs"
                                               ? sourceDir() / "data" / "captions.tsv"
                                               : sourceDir() / "data" / language / "captions.tsv";
    runtime = std::make_unique<Runtime>(platform, sourceDir(), handlers,
                                        loadGameDescriptions(sourceDir() / "data", handlers),
                                        loadCaptions(captions, soundClips()), std::move(options));
    runtime->show(firstScene);
    runtime->runFor(0);
}

WindowId TestGame::windowOf(std::string_view scene) const {
    const std::optional<WindowId> window = runtime->view().windowOf(scene);
    if (!window) throw std::logic_error("the scene " + std::string(scene) + " is not loaded");
    return *window;
}

void TestGame::click(std::string_view scene, int x, int y) {
    platform.queue({InputEvent::Type::MouseMove, windowOf(scene), x, y});
    press(scene, x, y);
}

void TestGame::press(std::string_view scene, int x, int y) {
    const WindowId window = windowOf(scene);
    platform.queue({InputEvent::Type::MouseDown, window, x, y});
    platform.queue({InputEvent::Type::MouseUp, window, x, y});
    runtime->runFor(0);
}

void TestGame::clickControl(std::string_view scene, std::string_view control) {
    const SceneDescription& d = runtime->view().description(scene);
    const int index = d.find(control);
    if (index < 0) throw std::logic_error("no control " + std::string(control));
    const Rect r = visibleRect(d, index);
    click(scene, r.x + r.w / 2, r.y + r.h / 2);
}

void TestGame::clickAt(std::string_view scene, std::string_view control, int dx, int dy) {
    const SceneDescription& d = runtime->view().description(scene);
    const int index = d.find(control);
    if (index < 0) throw std::logic_error("no control " + std::string(control));
    const Rect r = absoluteRect(d, index);
    click(scene, r.x + dx, r.y + dy);
}

void TestGame::move(std::string_view scene, int x, int y) {
    platform.queue({InputEvent::Type::MouseMove, windowOf(scene), x, y});
    runtime->runFor(0);
}

void TestGame::pressEnter(std::string_view scene) {
    platform.pressKey(Key::Enter, windowOf(scene));
    runtime->runFor(0);
}

void TestGame::pressKey(Key key, Modifiers held) {
    platform.pressKey(key, platform.visibleWindows().front(), held);
    runtime->runFor(0);
}

void TestGame::closeWindow(std::string_view scene) {
    platform.queue({InputEvent::Type::CloseRequest, windowOf(scene), 0, 0});
    runtime->runFor(0);
}

void TestGame::wait(std::uint64_t ms) { runtime->runFor(ms); }

std::vector<std::string> TestGame::windows() const {
    std::vector<std::string> names;
    for (const WindowId id : platform.visibleWindows())
        if (const auto scene = runtime->view().sceneOfWindow(id)) names.push_back(*scene);
    return names;
}

int TestGame::windowsOpened() const {
    // The subtitle window comes and goes with every clip: only scenes and boxes count.
    int count = 0;
    for (const auto& [id, window] : platform.allWindows())
        count += window.request.kind != WindowKind::Subtitles;
    return count;
}

std::vector<std::string> TestGame::takeSounds() {
    std::vector<std::string> paths;
    // The game's folder and the separator the system puts after it (a backslash on Windows).
    const std::string prefix = (sourceDir() / "").string();
    for (const auto& sound : platform.sounds())
        paths.push_back(sound.file.rfind(prefix, 0) == 0 ? sound.file.substr(prefix.size())
                                                         : sound.file);
    platform.clearSounds();
    return paths;
}

Rect TestGame::windowRect(std::string_view scene) const {
    return platform.window(windowOf(scene)).placed;
}

Colour TestGame::pixel(std::string_view scene, int x, int y) {
    return platform.pixels(windowOf(scene)).pixel(x, y);
}

}  // namespace orval::testing
