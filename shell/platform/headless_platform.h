// The headless twin of the desktop: a virtual clock, scripted input, and a record of every
// window, sound, message box and web link, as a player would have seen and heard them.
// A window's pixels are drawn only when something asks for them.
#pragma once

#include <algorithm>

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "shell/platform/game_pad.h"
#include "shell/platform/platform.h"
#include "shell/platform/speech.h"
#include "shell/platform/window_stack.h"

namespace orval {

// What a player reads in a window besides its pixels: the words of a box or of the subtitles.
// The twin records them as it records sounds; the runtime's read-only views answer it
// (tests/test_game.h joins the two), so the platform interface carries no text.
class WindowReader {
  public:
    struct Box {
        std::string title, text;
        Rect okButton;  // in the box's logical pixels
    };
    struct Words {
        std::string speaker, text;
        friend bool operator==(const Words&, const Words&) = default;
    };
    virtual ~WindowReader() = default;
    virtual std::optional<Box> boxIn(WindowId window) const = 0;
    virtual std::optional<Words> wordsIn(WindowId window) const = 0;
};

class HeadlessPlatform final : public Platform {
  public:
    struct Window {
        WindowRequest request;
        Rect placed;  // where it lies on the screen, in screen pixels
        WindowPainter* painter = nullptr;
        bool visible = false;
        bool open = true;
        std::optional<Canvas> pixels;  // kept once asked for; redrawn when asked after a change
        bool stale = true;
    };
    struct Sound {
        std::uint64_t at = 0;
        std::string file;  // absolute path as handed to the platform
        std::optional<std::uint64_t> stoppedAt;
    };
    // Words a subtitle window showed, from `at` until `until` (still showing: none).
    struct Subtitle {
        WindowId window = 0;
        std::string speaker, text;
        std::uint64_t at = 0;
        std::optional<std::uint64_t> until;
    };
    struct Message {
        std::string title, text;
        std::uint64_t at = 0;
        Rect okButton;                 // where the player pressed OK
        std::optional<Canvas> pixels;  // the box as shown, when asked to keep them
        bool plain = false;            // the window system's own box, not the game's
    };

    // A screen whose usable area is `screen` (screen pixels), showing the game at `scale`
    // unless its windows do not fit there.
    explicit HeadlessPlatform(Rect screen = {0, 0, 1280, 1024}, int scale = 1)
        : screen_(screen), scale_(scale) {}

    // Platform
    std::uint64_t now() override { return clock_; }
    std::optional<InputEvent> waitEvent(std::optional<std::uint64_t> deadline) override;
    int fitScale(const WindowPlan& plan) override;
    Rect usableBounds() override;
    Rect arrangement() override;
    WindowId openWindow(const WindowRequest& request, WindowPainter& painter) override;
    void showWindow(WindowId window) override;
    void closeWindow(WindowId window) override;
    void invalidate(WindowId window) override;
    void setCursor(const std::string& cursorFile) override { cursor_ = cursorFile; }
    void movePointer(WindowId window, int x, int y) override {
        pointer_ = WindowPoint{window, {x, y}};
    }
    // The twin's windows are the desktop's: its window manager would do both.
    void toggleFullscreen() override {}
    void nextWindow() override {}
    void playSound(const std::string& file) override;
    void stopSound() override;
    FontFiles fontFiles() override;
    void openUrl(const std::string& url) override { urls_.push_back(url); }
    // Recorded, and spoken as the desktop speaks them when the game asks for speech.
    void announce(const Announcement& announcement) override {
        announcements_.push_back(announcement);
        speech_.announce(announcement);
    }
    void speakAnnouncements(bool on) override { speech_.turn(on); }
    bool dataArrived() override { return dataArrived_; }
    void showPlainError(std::string_view title, std::string_view text) override {
        messages_.push_back(
            {std::string(title), std::string(text), clock_, {}, std::nullopt, true});
    }

    // Where the twin reads the words of boxes and subtitles (none: it records no words, and
    // answers every box with Enter at once).
    void readWith(const WindowReader* reader) { reader_ = reader; }

    // Scripting: input handed out in order; `at` (virtual ms) makes it wait for that moment.
    // The pointer is given in screen pixels of the window, as a player's hand gives it.
    void queue(const InputEvent& event, std::optional<std::uint64_t> at = std::nullopt) {
        input_.push_back({event, at});
    }
    // How long the player reads a message box before pressing its OK button (0: at once).
    void setReadingTime(std::uint64_t ms) { readingTime_ = ms; }
    // Time passes with nothing asked of the platform, as while a page's loop rests between the
    // browser's frames.
    void restUntil(std::uint64_t moment) { clock_ = std::max(clock_, moment); }
    // The places' pictures still on their way, as to a page, until let in.
    void holdData(bool held) { dataArrived_ = !held; }
    // Keeps each message box's pixels in its record.
    void keepMessagePixels() { keepMessagePixels_ = true; }
    // The player answers each box with Enter, as one without a mouse does, not a click on OK.
    void answerBoxesWithEnter() { boxesByKey_ = true; }

    // A key pressed in the window, as a player's keyboard gives it.
    void pressKey(Key key, WindowId window, Modifiers held = {}) {
        queue({.type = InputEvent::Type::Key, .window = window, .key = key, .modifiers = held});
    }
    // The twin's one game controller: plugged in or out, its left stick held (SDL's axis
    // values; 0, 0 lets it go), a button pressed and let go. While the stick is held the
    // pointer glides at frame rate in the window it is in (the one in front when in none).
    void plugPad(std::optional<std::uint64_t> at = std::nullopt) {
        queuePad({PadEvent::Kind::Plugged}, at);
    }
    void unplugPad(std::optional<std::uint64_t> at = std::nullopt) {
        queuePad({PadEvent::Kind::Unplugged}, at);
    }
    void tiltPad(int x, int y, std::optional<std::uint64_t> at = std::nullopt) {
        queuePad({PadEvent::Kind::Stick, 0, PadButton::A, x, y}, at);
    }
    void pressPad(PadButton button, std::optional<std::uint64_t> at = std::nullopt) {
        queuePad({PadEvent::Kind::Pressed, 0, button}, at);
        queuePad({PadEvent::Kind::Released, 0, button}, at);
    }

    // Inspection.
    int scale() const { return scale_; }
    const Window& window(WindowId id) const { return windows_.at(id); }
    // Every window opened so far, closed ones included.
    const std::map<WindowId, Window>& allWindows() const { return windows_; }
    // What the open window shows now, drawn if it changed since last asked.
    const Canvas& pixels(WindowId id);
    // Open visible scene windows and boxes, front first; a subtitle window floats above them.
    std::vector<WindowId> visibleWindows() const;
    const std::vector<Sound>& sounds() const { return sounds_; }
    const std::vector<Subtitle>& subtitles() const { return subtitles_; }
    // The subtitle window open now, if any.
    std::optional<WindowId> subtitleWindow() const;
    const std::vector<Message>& messages() const { return messages_; }
    const std::vector<std::string>& urls() const { return urls_; }
    // Everything told to the screen reader, in order.
    const std::vector<Announcement>& announcements() const { return announcements_; }
    const std::string& cursor() const { return cursor_; }
    // Where the game put the pointer last, or the player's hand moved it.
    const std::optional<WindowPoint>& pointer() const { return pointer_; }
    void clearSounds() { sounds_.clear(); }
    // Makes every later playSound throw, as a broken audio layer would.
    void breakAudio() { audioBroken_ = true; }

  private:
    struct Queued {
        InputEvent event;
        std::optional<std::uint64_t> at;
        std::optional<PadEvent> pad = std::nullopt;  // a controller's report instead of the event
    };
    void queuePad(const PadEvent& pad, std::optional<std::uint64_t> at) {
        input_.push_back({{}, at, pad});
    }
    // What the controller's report makes, addressed as the SDL platforms address it.
    std::optional<InputEvent> padInput(const PadEvent& pad);
    // The stick's next move of the pointer, if it moved.
    std::optional<InputEvent> glidePointer();

    Rect screen_;
    int scale_;
    std::optional<Rect> arrangement_;  // settled with the scale
    std::uint64_t clock_ = 0;
    bool dataArrived_ = true;
    std::deque<Queued> input_;
    std::map<WindowId, Window> windows_;
    // The twin's subtitle record follows what the window shows now.
    void noteWords(WindowId window);
    void endWords(WindowId window);

    WindowStack stack_;
    WindowId nextWindow_ = 1;
    std::vector<Sound> sounds_;
    std::vector<Subtitle> subtitles_;
    std::vector<Message> messages_;
    std::vector<std::string> urls_;
    std::vector<Announcement> announcements_;
    Speech speech_;
    std::string cursor_;
    std::optional<WindowPoint> pointer_;
    GamePads pads_;
    std::uint64_t readingTime_ = 0;
    bool keepMessagePixels_ = false;
    bool boxesByKey_ = false;
    bool audioBroken_ = false;
    const WindowReader* reader_ = nullptr;
};

}  // namespace orval
