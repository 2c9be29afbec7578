#include "shell/message_box.h"

#include <stdexcept>
#include <utility>

#include "scenes/game.h"
#include "shell/bindings.h"

namespace orval {

MessageBoxWindow::MessageBoxWindow(Platform& platform, Fonts& fonts, std::string_view title,
                                   std::string_view text, std::string_view ok)
    : platform_(platform),
      fonts_(fonts),
      title_(title),
      text_(text),
      ok_(ok),
      layout_(layoutMessageBox(title, text, fonts)) {
    open();
}

MessageBoxWindow::MessageBoxWindow(Platform& platform, Fonts& fonts, ControlsCard card,
                                   std::string_view ok)
    : platform_(platform),
      fonts_(fonts),
      title_(card.title),
      ok_(ok),
      card_(std::move(card)),
      layout_(layoutControlsCard(*card_, fonts)) {
    open();
}

void MessageBoxWindow::open() {
    const Rect screen = platform_.usableBounds();
    WindowRequest request;
    request.kind = WindowKind::MessageBox;
    request.title = title_;
    request.width = layout_.width;
    request.height = layout_.height;
    request.x = screen.x + (screen.w - request.width) / 2;
    request.y = screen.y + (screen.h - request.height) / 2;
    window_ = platform_.openWindow(request, *this);
}

void MessageBoxWindow::show() {
    platform_.invalidate(window_);
    platform_.showWindow(window_);
    platform_.setCursor("");
}

MessageBoxWindow::~MessageBoxWindow() { platform_.closeWindow(window_); }

void MessageBoxWindow::paint(WindowId, Canvas& canvas) {
    if (card_)
        renderControlsCard(*card_, fonts_, canvas, pressed_, ok_);
    else
        renderMessageBox(title_, text_, fonts_, canvas, pressed_, ok_);
}

void MessageBoxWindow::handle(const InputEvent& event) {
    const bool onBox = event.window == window_;
    const bool onOk = onBox && layout_.okButton.contains(event.x, event.y);
    switch (event.type) {
        case InputEvent::Type::MouseMove:
            platform_.setCursor("");
            return;
        case InputEvent::Type::Wheel:  // nothing in it scrolls
            return;
        case InputEvent::Type::MouseDown:
            if (!onBox) {
                platform_.showWindow(window_);  // the box stays in front until answered
            } else if (onOk) {
                pressed_ = true;
                platform_.invalidate(window_);
            }
            return;
        case InputEvent::Type::MouseUp:
            if (!onBox) return;
            if (pressed_ && onOk) answered_ = true;
            if (pressed_) {
                pressed_ = false;
                platform_.invalidate(window_);
            }
            return;
        case InputEvent::Type::TouchDown:
        case InputEvent::Type::TouchUp: {
            // The box's words are its OK's: a finger presses it at once, as the mouse does.
            InputEvent asMouse = event;
            asMouse.type = event.type == InputEvent::Type::TouchDown ? InputEvent::Type::MouseDown
                                                                     : InputEvent::Type::MouseUp;
            handle(asMouse);
            return;
        }
        case InputEvent::Type::TouchMove:
            return;
        case InputEvent::Type::Key:
        case InputEvent::Type::Pad: {
            // Enter, Escape, Space and Start answer it as its OK does; F1 closes the card it
            // opened.
            const std::optional<Action> action = actionOf(event);
            if (action == Action::Activate || action == Action::Cancel ||
                action == Action::SkipLine || action == Action::Start ||
                (card_ && action == Action::ShowControls))
                answered_ = true;
            return;
        }
        case InputEvent::Type::CloseRequest:
            // Closing the box answers it; closing a scene window behind it ends the game.
            answered_ = true;
            quit_ = !onBox;
            return;
        case InputEvent::Type::Quit:
            answered_ = true;
            quit_ = true;
            return;
    }
}

void checkMessageBoxesFit(const Language& words, Fonts& fonts, int widest, int tallest) {
    // A box larger than the game's largest window would reach off a screen that holds the game.
    for (const GameMessage& m : gameMessages()) {
        const std::string title = words.text(messageContext(m.id, "title"), m.title);
        const std::string text = words.text(messageContext(m.id, "text"), m.text);
        const MessageBoxLayout box = layoutMessageBox(title, text, fonts);
        if (box.width <= widest && box.height <= tallest) continue;
        std::string where = words.whereIs(messageContext(m.id, "text"), m.text);
        if (where.empty()) where = words.whereIs(messageContext(m.id, "title"), m.title);
        throw std::runtime_error((where.empty() ? std::string("the game") : where) +
                                 ": the box of " + std::string(m.id) + " is " +
                                 std::to_string(box.width) + " x " + std::to_string(box.height) +
                                 " pixels, larger than the game's " + std::to_string(widest) +
                                 " x " + std::to_string(tallest) + " window");
    }
}

}  // namespace orval
