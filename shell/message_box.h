// The game's own modal message box: its window, its OK button and what answers it. While it is
// open the runtime hands it every input and no timer ticks.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "scenes/model/controls_card.h"
#include "scenes/model/language.h"
#include "scenes/model/render.h"
#include "scenes/model/text.h"
#include "shell/platform/platform.h"

namespace orval {

class MessageBoxWindow final : private WindowPainter {
  public:
    // Opens the box's window, hidden, centred on the usable screen. Throws when its text cannot
    // be laid out (no font) or its window cannot be opened.
    // `ok` is the word on its button.
    MessageBoxWindow(Platform& platform, Fonts& fonts, std::string_view title,
                     std::string_view text, std::string_view ok);
    // The card of the controls, in a box of its own answered as the message box is, and by F1.
    MessageBoxWindow(Platform& platform, Fonts& fonts, ControlsCard card, std::string_view ok);
    ~MessageBoxWindow() override;
    MessageBoxWindow(const MessageBoxWindow&) = delete;
    MessageBoxWindow& operator=(const MessageBoxWindow&) = delete;

    // Brings it to the front, drawn, with the plain arrow as the pointer.
    void show();
    // Takes one input of the whole game: only the box answers while it is open.
    void handle(const InputEvent& event);
    // OK, Enter, Space, Escape or closing a window answered it.
    bool answered() const { return answered_; }
    // The player or the system asked to end the program while it was open.
    bool quitRequested() const { return quit_; }
    // Gives up on the box (it cannot be drawn, so it cannot hold the game).
    void abandon() { answered_ = true; }

    WindowId window() const { return window_; }
    const std::string& title() const { return title_; }
    const std::string& text() const { return text_; }
    // The OK button in the box's own pixels.
    const Rect& okButton() const { return layout_.okButton; }

  private:
    void open();
    void paint(WindowId window, Canvas& canvas) override;

    Platform& platform_;
    Fonts& fonts_;
    std::string title_, text_;
    std::string ok_;
    std::optional<ControlsCard> card_;  // what the box shows instead of a text
    MessageBoxLayout layout_;
    WindowId window_ = 0;
    bool pressed_ = false;  // the OK button is held down
    bool answered_ = false;
    bool quit_ = false;
};

// Throws, naming the catalogue's file and line, for a message box of the language larger than the
// game's largest window: it would reach off a screen that holds the game.
void checkMessageBoxesFit(const Language& words, Fonts& fonts, int widest, int tallest);

}  // namespace orval
