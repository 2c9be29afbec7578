// The real game on the headless platform, driven the way a player drives it: by pixels.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/platform/headless_platform.h"
#include "shell/runtime.h"

namespace orval::testing {

// The source tree, where data/ and zvuky/ lie.
std::filesystem::path sourceDir();

// The words of the runtime's boxes and subtitles, for the headless twin's record.
class RuntimeReader final : public WindowReader {
  public:
    explicit RuntimeReader(std::function<const Runtime*()> runtime)
        : runtime_(std::move(runtime)) {}
    explicit RuntimeReader(const Runtime& runtime) : runtime_([&runtime] { return &runtime; }) {}
    std::optional<Box> boxIn(WindowId window) const override;
    std::optional<Words> wordsIn(WindowId window) const override;

  private:
    std::function<const Runtime*()> runtime_;
};

class TestGame {
  public:
    // Loads every description and shows `firstScene` as the program does at start, on a
    // screen whose usable area is `screen`, at display scale `scale` if the game fits there,
    // speaking `language`.
    explicit TestGame(std::string_view firstScene = "ORVAL", Rect screen = {0, 0, 1280, 1024},
                      int scale = 1, std::string language = "cs");
    // The menu, begun as `options` ask (the choices of an earlier run, and who hears of them).
    explicit TestGame(StartOptions options);
    TestGame(const TestGame&) = delete;  // its reader points back at it
    TestGame& operator=(const TestGame&) = delete;

    // Moves the pointer to a pixel of the scene's window (a screen pixel, which is a logical one
    // at scale 1), presses and releases the left button there, then lets the game handle it
    // (and every timer due meanwhile).
    void click(std::string_view scene, int x, int y);
    // The same without the move first (as a tablet or a very fast hand gives it).
    void press(std::string_view scene, int x, int y);
    // A click at the centre of a control's visible area.
    void clickControl(std::string_view scene, std::string_view control);
    // A click at a pixel given relative to the control's upper-left corner.
    void clickAt(std::string_view scene, std::string_view control, int dx, int dy);
    void move(std::string_view scene, int x, int y);
    void pressEnter(std::string_view scene);
    // A key pressed in the window in front, which holds the keyboard's focus; the binding table
    // says what it does.
    void pressKey(Key key, Modifiers held = {});
    void closeWindow(std::string_view scene);
    // Lets `ms` milliseconds pass on the virtual clock.
    void wait(std::uint64_t ms);

    bool loaded(std::string_view scene) const { return runtime->view().isLoaded(scene); }
    bool visible(std::string_view scene, std::string_view control) const {
        return runtime->view().peekVisible(scene, control);
    }
    bool enabled(std::string_view scene, std::string_view control) const {
        return runtime->view().peekEnabled(scene, control);
    }
    // Scene names of the open visible windows, front first.
    std::vector<std::string> windows() const;
    // How many windows the game has opened so far, closed ones included.
    int windowsOpened() const;
    // The game paths ("zvuky/x.wav", "zvuky/en/x.wav") of the sounds started so far, then
    // forgets them.
    std::vector<std::string> takeSounds();
    bool ended() const { return runtime->view().finished(); }
    // Where the window lies on the screen, in screen pixels.
    Rect windowRect(std::string_view scene) const;
    // A logical pixel as the player sees it in the scene's window now.
    Colour pixel(std::string_view scene, int x, int y);

    HeadlessPlatform platform;
    HandlerRegistry handlers;
    std::unique_ptr<Runtime> runtime;
    // Reads whichever runtime the game has now (a test may put in another).
    RuntimeReader reader{[this] { return runtime.get(); }};

  private:
    TestGame(std::string_view firstScene, Rect screen, int scale, StartOptions options);
    WindowId windowOf(std::string_view scene) const;
};

}  // namespace orval::testing
