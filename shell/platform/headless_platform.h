// The headless twin of the desktop: a virtual clock, scripted input, and a record of every
// window, sound, message box and web link, as a player would have seen and heard them.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "shell/platform/platform.h"

namespace orval {

class HeadlessPlatform final : public Platform {
  public:
    struct Window {
        WindowRequest request;
        bool visible = false;
        bool open = true;
        std::optional<Canvas> content;  // the last presented picture
    };
    struct Sound {
        std::uint64_t at = 0;
        std::string file;  // absolute path as handed to the platform
    };
    struct Message {
        std::string title, text;
        std::uint64_t at = 0;
    };

    explicit HeadlessPlatform(Rect screen = {0, 0, 1280, 1024}) : screen_(screen) {}

    // Platform
    std::uint64_t now() override { return clock_; }
    std::optional<InputEvent> waitEvent(std::optional<std::uint64_t> deadline) override;
    Rect usableBounds() override { return screen_; }
    WindowId openWindow(const WindowRequest& request) override;
    void showWindow(WindowId window) override;
    void closeWindow(WindowId window) override;
    void present(WindowId window, const Canvas& canvas) override;
    void setCursor(const std::string& cursorFile) override { cursor_ = cursorFile; }
    void messageBox(std::string_view title, std::string_view text) override;
    void playSound(const std::string& file) override;
    void openUrl(const std::string& url) override { urls_.push_back(url); }
    void reportFatal(std::string_view message) override { fatal_ = std::string(message); }

    // Scripting and inspection.
    void queue(const InputEvent& event) { input_.push_back(event); }
    const Window& window(WindowId id) const { return windows_.at(id); }
    // Open visible windows, front first.
    std::vector<WindowId> visibleWindows() const;
    const std::vector<Sound>& sounds() const { return sounds_; }
    const std::vector<Message>& messages() const { return messages_; }
    const std::vector<std::string>& urls() const { return urls_; }
    const std::string& cursor() const { return cursor_; }
    const std::string& fatal() const { return fatal_; }
    void clearSounds() { sounds_.clear(); }
    // Makes every later playSound throw, as a broken audio layer would.
    void breakAudio() { audioBroken_ = true; }

  private:
    Rect screen_;
    std::uint64_t clock_ = 0;
    std::deque<InputEvent> input_;
    std::map<WindowId, Window> windows_;
    std::vector<WindowId> stacking_;  // open windows, front first
    WindowId nextWindow_ = 1;
    std::vector<Sound> sounds_;
    std::vector<Message> messages_;
    std::vector<std::string> urls_;
    std::string cursor_;
    std::string fatal_;
    bool audioBroken_ = false;
};

}  // namespace orval
