// The desktop platform: SDL2 windows drawn through their window surfaces, SDL_mixer sound,
// the desktop's URL opener. The only code of the game that talks to SDL's window, event,
// audio and cursor APIs.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "scenes/model/text.h"
#include "shell/platform/platform.h"

struct SDL_Window;
struct SDL_Cursor;
struct Mix_Chunk;

namespace orval {

// The directory the executable lies in (where data/ and zvuky/ are installed beside it).
std::filesystem::path executableDirectory();

// One clip at a time on one mixer channel; a new clip cuts off the one playing.
class SdlAudio {
  public:
    enum class Outcome { Played, AlertTone, Silent };

    // Opens the audio device; without one the game stays silent.
    SdlAudio();
    ~SdlAudio();
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    // Starts the file, or the alert tone when it cannot be read; never throws.
    Outcome play(const std::string& file) noexcept;
    bool hasDevice() const { return open_; }

  private:
    void stopAndFree();

    bool open_ = false;
    Mix_Chunk* current_ = nullptr;  // owned unless it is the alert tone
    Mix_Chunk* alert_ = nullptr;
    std::vector<std::int16_t> alertSamples_;
};

class SdlPlatform final : public Platform {
  public:
    // Starts SDL's video and timer subsystems; throws std::runtime_error without a display.
    SdlPlatform();
    ~SdlPlatform() override;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    std::uint64_t now() override;
    std::optional<InputEvent> waitEvent(std::optional<std::uint64_t> deadline) override;
    Rect usableBounds() override;
    WindowId openWindow(const WindowRequest& request) override;
    void showWindow(WindowId window) override;
    void closeWindow(WindowId window) override;
    void present(WindowId window, const Canvas& canvas) override;
    void setCursor(const std::string& cursorFile) override;
    void messageBox(std::string_view title, std::string_view text) override;
    void playSound(const std::string& file) override;
    void openUrl(const std::string& url) override;
    void reportFatal(std::string_view message) override;

  private:
    struct WindowDeleter {
        void operator()(SDL_Window* window) const;
    };
    struct CursorDeleter {
        void operator()(SDL_Cursor* cursor) const;
    };
    struct OpenWindow {
        std::unique_ptr<SDL_Window, WindowDeleter> window;
        std::unique_ptr<Canvas> content;  // kept to draw again when the system asks
    };

    std::optional<WindowId> idOf(unsigned sdlWindowId) const;
    void redraw(OpenWindow& window);
    void redrawAll();
    SDL_Cursor* cursorFor(const std::string& file);

    std::map<WindowId, OpenWindow> windows_;
    WindowId nextWindow_ = 1;
    std::map<std::string, std::unique_ptr<SDL_Cursor, CursorDeleter>> cursors_;
    std::string currentCursor_ = "?";
    std::unique_ptr<Fonts> fonts_;  // for the message box, made when first needed
    std::unique_ptr<SdlAudio> audio_;
};

}  // namespace orval
