// What every SDL platform of the game shares, whether it opens a window per scene or one stage:
// SDL itself, the display scale asked for, the sound, the cursors, the wait for the next event,
// the web link and the plain error box.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include <SDL_events.h>

#include "scenes/model/font_files.h"
#include "scenes/model/geometry.h"
#include "shell/platform/desktop_system.h"
#include "shell/platform/platform.h"
#include "shell/platform/quit_signals.h"
#include "shell/platform/sdl_audio.h"
#include "shell/platform/sdl_game_pads.h"
#include "shell/platform/speech.h"

struct SDL_Cursor;
struct SDL_Window;

namespace orval {

// The directory the executable lies in (where data/ and zvuky/ are installed beside it).
std::filesystem::path executableDirectory();

// A variable of the environment, or nothing where it is unset: an empty one is not unset.
std::optional<std::string> environment(const char* name);

// Gives the window the game's icon from its PNG (a UTF-8 path, as SDL opens it), a desktop
// window's own or the stage's; throws naming the file when SDL cannot read it.
void setWindowIcon(SDL_Window* window, const std::string& iconFile);

class SdlSession {
  public:
    // Starts SDL's video and timer subsystems. Without a display it still constructs, and
    // `videoError` says why there is none. With `signals`, a quit signal is a quit event.
    explicit SdlSession(QuitSignals* signals = nullptr);
    ~SdlSession();
    SdlSession(const SdlSession&) = delete;
    SdlSession& operator=(const SdlSession&) = delete;

    // Why there is no display, or empty.
    const std::string& videoError() const { return videoError_; }
    // The display scale the player and the desktop ask for (ORVAL_SCALE, Xft.dpi, GDK_SCALE).
    int requestedScale() const { return requestedScale_; }
    // The primary display's usable area, and its whole area, in screen pixels.
    Rect usableArea() const;
    Rect displayArea() const;
    const DesktopSystem& system() const { return system_; }

    std::uint64_t now() const;
    // The game controllers (none without a display).
    SdlGamePads* pads() { return pads_.get(); }
    // The announcements read aloud when the player asked for it (S, --speak).
    Speech& speech() { return speech_; }
    // The next SDL event, at most until `deadline` (on now()'s clock), or forever without one;
    // nothing when the deadline came first. Closes the quiet sound device meanwhile. A quit
    // signal, even one that came before SDL started, is an SDL_QUIT.
    std::optional<SDL_Event> waitEvent(std::optional<std::uint64_t> deadline);

    // Shows the cursor of this PNG drawn at `scale` (empty: the arrow).
    void setCursor(const std::string& cursorFile, int scale);
    // Starts the clip, or, where it is still to come (a page fetches it), as soon as it has.
    void playSound(const std::string& file);
    void stopSound();
    // When the sound device is next looked at (to close once quiet); nothing while closed.
    std::optional<std::uint64_t> ownDeadline() { return audio_->nextCheck(now()); }
    FontFiles fontFiles() const;
    void openUrl(const std::string& url);
    void showPlainError(std::string_view title, std::string_view text);

  private:
    struct CursorDeleter {
        void operator()(SDL_Cursor* cursor) const;
    };
    SDL_Cursor* cursorFor(const std::string& file, int scale);

    DesktopSystem system_;  // first made, last gone: it outlives SDL's video
    QuitSignals* signals_ = nullptr;
    std::string videoError_;
    int requestedScale_ = 1;
    std::unique_ptr<SdlAudio> audio_ = std::make_unique<SdlAudio>();
    std::unique_ptr<SdlGamePads> pads_;
    Speech speech_;
    std::map<std::pair<std::string, int>, std::unique_ptr<SDL_Cursor, CursorDeleter>> cursors_;
    std::optional<std::pair<std::string, int>> currentCursor_;
    std::optional<std::string> comingClip_;  // asked for, still on its way to the page
    // Plays the clip asked for once it has come.
    void playComingClip();
};

// The members every SDL platform answers alike, from its session: made first, gone last, so SDL
// outlives every window of the platform built on it.
class SdlPlatformBase : public Platform {
  public:
    explicit SdlPlatformBase(std::unique_ptr<SdlSession> session) : session_(std::move(session)) {}

    std::uint64_t now() override { return session_->now(); }
    void playSound(const std::string& file) override { session_->playSound(file); }
    void stopSound() override { session_->stopSound(); }
    std::optional<std::uint64_t> ownDeadline() override { return session_->ownDeadline(); }
    FontFiles fontFiles() override { return session_->fontFiles(); }
    void openUrl(const std::string& url) override { session_->openUrl(url); }
    void speakAnnouncements(bool on) override { session_->speech().turn(on); }
    void showPlainError(std::string_view title, std::string_view text) override {
        session_->showPlainError(title, text);
    }
    // Speech where the player asked for it (a desktop's), and the page's live region and its
    // buttons for fingers (nothing on a desktop).
    void announce(const Announcement& announcement) override {
        session_->speech().announce(announcement);
        session_->system().announce(announcement);
    }
    void showSwitches(const Switches& switches) override {
        session_->system().showSwitches(switches);
    }
    bool dataArrived() override { return session_->system().dataArrived(); }

    // Hands SDL on to the platform that takes over before any window opened; this one is
    // only destroyed after.
    std::unique_ptr<SdlSession> handOverSession() { return std::move(session_); }

  protected:
    // What a wait brought: an SDL event to read, a controller's input already made this
    // platform's own (a glide of the pointer, a button), or neither once the deadline passed.
    struct Waited {
        std::optional<SDL_Event> event;
        std::optional<InputEvent> padInput;
    };
    // The wait of every SDL platform: while a stick is held the pointer glides at frame rate,
    // otherwise it sleeps until an event comes or the deadline passes.
    Waited waitDevices(std::optional<std::uint64_t> deadline);
    // A controller's input addressed as a key's or the mouse's would be; nothing to hand on.
    virtual std::optional<InputEvent> fromPad(InputEvent input) = 0;
    // The stick's next move of the pointer, where this platform lets it go.
    virtual std::optional<InputEvent> glide() = 0;

    std::unique_ptr<SdlSession> session_;
};

}  // namespace orval
