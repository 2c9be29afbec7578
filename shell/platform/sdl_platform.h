// The desktop platform: SDL2 windows drawn through their window surfaces, SDL_mixer sound,
// the desktop's URL opener. The only code of the game that talks to SDL's window, event,
// audio and cursor APIs.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shell/platform/platform.h"

struct SDL_Window;
struct SDL_Cursor;
struct Mix_Chunk;

namespace orval {

// The directory the executable lies in (where data/ and zvuky/ are installed beside it).
std::filesystem::path executableDirectory();

// One clip at a time on one mixer channel; a new clip cuts off the one playing. The device is
// opened by the first clip, at the clips' own format (so loading a clip converts nothing), and
// closed again once it has been quiet a while, so that a game at rest costs no wake-ups.
class SdlAudio {
  public:
    enum class Outcome { Played, AlertTone, Silent };

    // Every clip of the game is 16-bit mono PCM at this rate.
    static constexpr int kClipRate = 22050;
    // How long the device stays open after the last clip ended.
    static constexpr std::uint64_t kQuietBeforeClosing = 3000;

    SdlAudio() = default;
    ~SdlAudio();
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    // Starts the file, or the alert tone when it cannot be read; never throws.
    Outcome play(const std::string& file) noexcept;
    // Cuts off the clip playing; the device closes when it has been quiet long enough.
    void stop() noexcept;
    // When the device should next be looked at (`now` on SDL's clock), or nothing while closed.
    std::optional<std::uint64_t> nextCheck(std::uint64_t now);
    // Closes the device if it has been quiet long enough.
    void closeIfQuiet(std::uint64_t now);
    bool isOpen() const { return open_; }

  private:
    bool open();
    void close();
    void stopAndFree();

    bool open_ = false;
    bool subsystem_ = false;        // SDL's audio subsystem, kept once started
    Mix_Chunk* current_ = nullptr;  // owned unless it is the alert tone
    Mix_Chunk* alert_ = nullptr;    // made when the device opens
    std::optional<std::uint64_t> quietSince_;
    std::vector<std::int16_t> alertSamples_;
};

class SdlPlatform final : public Platform {
  public:
    // Starts SDL's video and timer subsystems. Without a display it still constructs, and the
    // first window it is asked for fails with the reason.
    SdlPlatform();
    ~SdlPlatform() override;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    std::uint64_t now() override;
    std::optional<InputEvent> waitEvent(std::optional<std::uint64_t> deadline) override;
    int fitScale(const WindowPlan& plan) override;
    Rect usableBounds() override;
    WindowId openWindow(const WindowRequest& request, WindowPainter& painter) override;
    void showWindow(WindowId window) override;
    void closeWindow(WindowId window) override;
    void invalidate(WindowId window) override;
    void setCursor(const std::string& cursorFile) override;
    void playSound(const std::string& file) override;
    void stopSound() override { audio_->stop(); }
    void openUrl(const std::string& url) override;
    void showPlainError(std::string_view title, std::string_view text) override;

  private:
    struct WindowDeleter {
        void operator()(SDL_Window* window) const;
    };
    struct CursorDeleter {
        void operator()(SDL_Cursor* cursor) const;
    };
    struct OpenWindow {
        std::unique_ptr<SDL_Window, WindowDeleter> window;
        WindowPainter* painter = nullptr;
        bool takesFocus = true;  // all but the subtitle window
    };

    // The primary display's usable area in screen pixels.
    Rect screenArea() const;
    std::optional<WindowId> idOf(unsigned sdlWindowId) const;
    std::optional<InputEvent> translate(const void* sdlEvent);
    void paint(WindowId id, OpenWindow& window);
    SDL_Cursor* cursorFor(const std::string& file);

    std::string videoError_;  // why there is no display, or empty
    int scale_ = 1;           // screen pixels per logical pixel, across and down
    std::map<WindowId, OpenWindow> windows_;
    WindowId nextWindow_ = 1;
    std::map<std::string, std::unique_ptr<SDL_Cursor, CursorDeleter>> cursors_;
    std::string currentCursor_ = "?";
    std::unique_ptr<SdlAudio> audio_ = std::make_unique<SdlAudio>();
};

}  // namespace orval
