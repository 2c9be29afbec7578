#include "shell/platform/headless_platform.h"

#include <algorithm>
#include <stdexcept>

#include "shell/platform/display_scale.h"
#include "shell/platform/font_files.h"

namespace orval {

std::optional<InputEvent> HeadlessPlatform::waitEvent(std::optional<std::uint64_t> deadline) {
    while (true) {
        // Input scripted for later waits for its moment; the gliding pointer moves meanwhile.
        std::optional<std::uint64_t> inputAt, glideAt = pads_.nextGlide();
        if (!input_.empty()) inputAt = std::max(clock_, input_.front().at.value_or(clock_));
        if (glideAt) glideAt = std::max(clock_, *glideAt);
        const bool glideFirst = glideAt && (!inputAt || *glideAt < *inputAt);
        const std::optional<std::uint64_t> next = glideFirst ? glideAt : inputAt;
        if (!next || (deadline && *deadline < *next)) {
            // Nothing scripted: time passes at once up to the deadline.
            if (deadline) clock_ = std::max(clock_, *deadline);
            return std::nullopt;
        }
        clock_ = *next;
        if (glideFirst) {
            if (auto moved = glidePointer()) return moved;
            // Held against the window's edge, with nothing else to come: nothing can happen.
            if (!inputAt && !deadline) return std::nullopt;
            continue;
        }
        const Queued queued = input_.front();
        input_.pop_front();
        if (queued.pad) {
            if (auto input = padInput(*queued.pad)) return input;
            continue;
        }
        InputEvent event = queued.event;
        event.x = toLogical(event.x, scale_);
        event.y = toLogical(event.y, scale_);
        // The twin's screen is a desktop's: a CSS pixel takes as many screen pixels as the scale.
        if (event.type == InputEvent::Type::TouchDown ||
            event.type == InputEvent::Type::TouchMove || event.type == InputEvent::Type::TouchUp)
            event.reach = fingerReach(scale_, scale_);
        if (event.type == InputEvent::Type::MouseMove ||
            event.type == InputEvent::Type::MouseDown || event.type == InputEvent::Type::MouseUp)
            pointer_ = WindowPoint{event.window, {event.x, event.y}};
        return event;
    }
}

std::optional<InputEvent> HeadlessPlatform::padInput(const PadEvent& pad) {
    std::optional<InputEvent> input = pads_.take(pad, clock_);
    if (!input) return std::nullopt;
    if (input->type == InputEvent::Type::MouseDown || input->type == InputEvent::Type::MouseUp) {
        // The button is the mouse's, where the pointer is.
        if (!pointer_ || !windows_.at(pointer_->window).open) return std::nullopt;
        input->window = pointer_->window;
        input->x = pointer_->point.x;
        input->y = pointer_->point.y;
        return input;
    }
    const std::vector<WindowId> front = visibleWindows();
    if (front.empty()) return std::nullopt;
    input->window = front.front();  // the keys' window
    return input;
}

std::optional<InputEvent> HeadlessPlatform::glidePointer() {
    const auto shown = [&](WindowId id) {
        const Window& w = windows_.at(id);
        return w.open && w.visible && w.request.kind != WindowKind::Subtitles;
    };
    if (pointer_ && !shown(pointer_->window)) {
        // Its window went: the pointer is where it was on the screen, over what lies there.
        const Rect& was = windows_.at(pointer_->window).placed;
        const auto under =
            stack_.at(was.x + pointer_->point.x * scale_, was.y + pointer_->point.y * scale_);
        if (under && shown(under->window))
            pointer_ =
                WindowPoint{under->window, {under->point.x / scale_, under->point.y / scale_}};
    }
    std::optional<WindowId> in;
    if (pointer_ && shown(pointer_->window)) {
        in = pointer_->window;
    } else if (const std::vector<WindowId> front = visibleWindows(); !front.empty()) {
        in = front.front();
    }
    if (!in) {
        pads_.glide({}, {}, clock_);  // the time goes on all the same
        return std::nullopt;
    }
    const WindowRequest& w = windows_.at(*in).request;
    const bool there = pointer_ && pointer_->window == *in;
    const Point from = there ? pointer_->point : Point{w.width / 2, w.height / 2};
    const Point to = pads_.glide(from, {0, 0, w.width, w.height}, clock_);
    if (there && to == from) return std::nullopt;
    pointer_ = WindowPoint{*in, to};
    return InputEvent{InputEvent::Type::MouseMove, *in, to.x, to.y};
}

// The twin draws real text: the system's own face.
FontFiles HeadlessPlatform::fontFiles() { return systemFontFiles(); }

int HeadlessPlatform::fitScale(const WindowPlan& plan) {
    scale_ = fittingScale(scale_, screen_, plan);
    arrangement_ = arrange(usableBounds(), plan);
    return scale_;
}

Rect HeadlessPlatform::usableBounds() { return logicalArea(screen_, scale_); }

Rect HeadlessPlatform::arrangement() { return arrangement_.value_or(arrange(usableBounds(), {})); }

WindowId HeadlessPlatform::openWindow(const WindowRequest& request, WindowPainter& painter) {
    const WindowId id = nextWindow_++;
    const Rect placed = placeOnScreen(request, screen_, scale_);
    windows_.emplace(id, Window{request, placed, &painter, false, true, std::nullopt, true});
    stack_.add(id, request.kind, placed);
    return id;
}

void HeadlessPlatform::showWindow(WindowId window) {
    Window& w = windows_.at(window);
    w.visible = true;
    stack_.raise(window);
    if (w.request.kind == WindowKind::Subtitles) noteWords(window);
    if (w.request.kind != WindowKind::MessageBox) return;

    // The player reads the box and presses its OK button, before anything else happens.
    const std::uint64_t at = clock_ + readingTime_;
    const std::optional<WindowReader::Box> box =
        reader_ ? reader_->boxIn(window) : std::optional<WindowReader::Box>();
    if (!box) {
        input_.push_front(
            {{.type = InputEvent::Type::Key, .window = window, .key = Key::Enter}, at});
        return;
    }
    Message message{box->title, box->text, clock_, box->okButton, std::nullopt, false};
    if (keepMessagePixels_) {
        Canvas canvas(w.request.width, w.request.height, scale_);
        w.painter->paint(window, canvas);
        message.pixels.emplace(std::move(canvas));
    }
    messages_.push_back(std::move(message));
    if (boxesByKey_) {
        input_.push_front(
            {{.type = InputEvent::Type::Key, .window = window, .key = Key::Enter}, at});
        return;
    }
    const Rect& ok = box->okButton;
    const int x = (ok.x + ok.w / 2) * scale_;
    const int y = (ok.y + ok.h / 2) * scale_;
    input_.push_front({{InputEvent::Type::MouseUp, window, x, y}, at});
    input_.push_front({{InputEvent::Type::MouseDown, window, x, y}, at});
}

void HeadlessPlatform::closeWindow(WindowId window) {
    Window& w = windows_.at(window);
    if (w.request.kind == WindowKind::Subtitles) endWords(window);
    w.open = false;
    w.visible = false;
    w.painter = nullptr;
    w.pixels.reset();  // a closed window shows nothing, and long explorations stay small
    stack_.remove(window);
}

void HeadlessPlatform::invalidate(WindowId window) {
    Window& w = windows_.at(window);
    if (!w.open) throw std::logic_error("drawing into a closed window");
    w.stale = true;
    if (w.request.kind == WindowKind::Subtitles && w.visible) noteWords(window);
}

const Canvas& HeadlessPlatform::pixels(WindowId id) {
    Window& w = windows_.at(id);
    if (!w.open) throw std::logic_error("a closed window shows nothing");
    if (!w.pixels) w.pixels.emplace(w.request.width, w.request.height, scale_);
    if (w.stale) {
        w.painter->paint(id, *w.pixels);
        w.stale = false;
    }
    return *w.pixels;
}

void HeadlessPlatform::playSound(const std::string& file) {
    if (audioBroken_) throw std::runtime_error("the audio layer is broken");
    sounds_.push_back({clock_, file, std::nullopt});
}

void HeadlessPlatform::stopSound() {
    if (!sounds_.empty() && !sounds_.back().stoppedAt) sounds_.back().stoppedAt = clock_;
}

void HeadlessPlatform::endWords(WindowId window) {
    for (Subtitle& shown : subtitles_)
        if (shown.window == window && !shown.until) shown.until = clock_;
}

void HeadlessPlatform::noteWords(WindowId window) {
    if (!reader_) return;
    const std::optional<WindowReader::Words> words = reader_->wordsIn(window);
    for (const Subtitle& shown : subtitles_)
        if (shown.window == window && !shown.until && words &&
            WindowReader::Words{shown.speaker, shown.text} == *words)
            return;  // drawn again, the same words
    endWords(window);
    if (words && !words->text.empty())
        subtitles_.push_back({window, words->speaker, words->text, clock_, {}});
}

std::vector<WindowId> HeadlessPlatform::visibleWindows() const {
    std::vector<WindowId> result;
    for (const WindowId id : stack_.frontToBack())
        if (windows_.at(id).request.kind != WindowKind::Subtitles) result.push_back(id);
    return result;
}

std::optional<WindowId> HeadlessPlatform::subtitleWindow() const {
    for (const auto& [id, w] : windows_)
        if (w.open && w.visible && w.request.kind == WindowKind::Subtitles) return id;
    return std::nullopt;
}

}  // namespace orval
