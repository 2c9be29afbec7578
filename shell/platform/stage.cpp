#include "shell/platform/stage.h"

#include <algorithm>
#include <utility>

namespace orval {
namespace {

// a * b / c rounded down, for pixels left of the stage too.
int scaleDown(int a, int b, int c) {
    return static_cast<int>(floorDivision(static_cast<long long>(a) * b, c));
}

int scaleUp(int a, int b, int c) { return -scaleDown(-a, b, c); }

constexpr Rect kWhole{0, 0, Stage::kWidth, Stage::kHeight};
// More separate areas than this are composed as the one area around them.
constexpr std::size_t kMostDirtyAreas = 8;

}  // namespace

Stage::Presentation Stage::present(int scale, int windowWidth, int windowHeight) {
    const int width = kWidth * scale, height = kHeight * scale;
    if (windowWidth >= width && windowHeight >= height)
        return {{(windowWidth - width) / 2, (windowHeight - height) / 2, width, height}, true};
    // Scaled down to the window's narrower side, keeping the stage's shape.
    int w = windowWidth, h = scaleDown(windowWidth, kHeight, kWidth);
    if (h > windowHeight) {
        h = windowHeight;
        w = scaleDown(windowHeight, kWidth, kHeight);
    }
    w = std::max(w, 1);
    h = std::max(h, 1);
    return {{(windowWidth - w) / 2, (windowHeight - h) / 2, w, h}, false};
}

Stage::Presentation Stage::presentAlone(const Rect& view, int windowWidth, int windowHeight) {
    const int vw = std::max(view.w, 1), vh = std::max(view.h, 1);
    int w = windowWidth, h = scaleDown(windowWidth, vh, vw);
    if (h > windowHeight) {
        h = windowHeight;
        w = scaleDown(windowHeight, vw, vh);
    }
    w = std::max(w, 1);
    h = std::max(h, 1);
    return {{(windowWidth - w) / 2, (windowHeight - h) / 2, w, h}, false};
}

int Stage::fittingScale(int largest, int width, int height) {
    for (int k = largest; k > 1; --k)
        if (kWidth * k <= width && kHeight * k <= height) return k;
    return 1;
}

void Stage::resize(int windowWidth, int windowHeight) {
    windowWidth_ = windowWidth;
    windowHeight_ = windowHeight;
    presentation_ = frontAlone_ ? presentAlone(view_, windowWidth, windowHeight)
                                : present(scale_, windowWidth, windowHeight);
    dirty(kWhole);
}

void Stage::showFrontAlone(bool alone) {
    if (alone == frontAlone_) return;
    frontAlone_ = alone;
    view_ = kWhole;
    follow();
    resize(windowWidth_, windowHeight_);
}

Rect Stage::frontGroup() const {
    std::vector<const WindowStack::Window*> shown;
    for (const WindowId id : stack_.frontToBack())
        if (const WindowStack::Window* w = stack_.find(id);
            w->kind != WindowKind::Subtitles &&
            (std::find(aside_.begin(), aside_.end(), id) == aside_.end() || broughtAside_ == id))
            shown.push_back(w);
    if (shown.empty()) return kWhole;
    // A window a quarter the size of a scene that holds it opened over that scene: it is shown
    // with it (the map over the home is a place of its own).
    Rect group = shown.front()->place;
    for (const WindowStack::Window* w : shown) {
        const long long inside = 1LL * group.w * group.h, around = 1LL * w->place.w * w->place.h;
        if (w->kind == WindowKind::Scene && intersect(w->place, group) == group &&
            4 * inside < around)
            group = w->place;
    }
    return group;
}

void Stage::follow() {
    if (frontAlone_) {
        const Rect group = frontGroup();
        if (group != view_) {
            view_ = group;
            presentation_ = presentAlone(view_, windowWidth_, windowHeight_);
            dirty(kWhole);
        }
    }
    // The subtitles lie over the lower edge of the window shown alone, where they are read
    // with it; on the whole stage where they were opened, below the scene that spoke.
    for (const auto& [id, given] : subtitlesPlace_) {
        const Rect place = frontAlone_ ? Rect{view_.x + (view_.w - given.w) / 2,
                                              view_.y + view_.h - given.h, given.w, given.h}
                                       : given;
        const WindowStack::Window* w = stack_.find(id);
        if (!w || w->place == place) continue;
        if (w->visible) {
            dirty(w->place);
            dirty(place);
        }
        stack_.move(id, place);
    }
}

void Stage::open(WindowId id, WindowKind kind, const Rect& place, bool aside) {
    stack_.add(id, kind, place);
    if (aside) aside_.push_back(id);
    if (kind == WindowKind::Scene) opened_.push_back(id);
    if (kind == WindowKind::Subtitles) {
        subtitlesPlace_.emplace_back(id, place);
        follow();
    }
}

void Stage::close(WindowId id) {
    if (const WindowStack::Window* w = stack_.find(id); w && w->visible) {
        dirty(w->place);
        stripChanged();
    }
    stack_.remove(id);
    std::erase(opened_, id);
    std::erase_if(subtitlesPlace_, [&](const auto& given) { return given.first == id; });
    std::erase(aside_, id);
    if (broughtAside_ == id) broughtAside_.reset();
    if (grab_ == id) grab_.reset();
    follow();
}

void Stage::raise(WindowId id) {
    const WindowStack::Window* w = stack_.find(id);
    if (!w) return;
    const Rect place = w->place;  // raising moves it in the stack
    stack_.raise(id);
    if (broughtAside_ != id) broughtAside_.reset();
    dirty(place);
    stripChanged();
    follow();
}

void Stage::changed(WindowId id) {
    const WindowStack::Window* w = stack_.find(id);
    if (!w || !w->visible) return;
    dirty(w->place);
    for (const Thumbnail& t : thumbnails())
        if (t.window == id) dirty(t.place);
}

std::vector<Stage::Thumbnail> Stage::thumbnails() const {
    std::vector<const WindowStack::Window*> shown;
    for (const WindowId id : opened_)
        if (const WindowStack::Window* w = stack_.find(id); w && w->visible) shown.push_back(w);
    std::vector<Thumbnail> strip;
    constexpr int kGap = 8;
    const int count = static_cast<int>(shown.size());
    int x = (kWidth - count * kThumbWidth - std::max(count - 1, 0) * kGap) / 2;
    const int y = kHeight - kStripHeight + (kStripHeight - kThumbHeight) / 2;
    const std::optional<WindowId> front = stack_.focused();
    for (const WindowStack::Window* w : shown) {
        const Rect place{x, y, kThumbWidth, kThumbHeight};
        // The window's shape kept, inside a margin of 2 pixels for the frame.
        const int room = kThumbWidth - 4, tall = kThumbHeight - 4;
        int pw = room, ph = std::max(1, scaleDown(room, w->place.h, std::max(w->place.w, 1)));
        if (ph > tall) {
            ph = tall;
            pw = std::max(1, scaleDown(tall, w->place.w, std::max(w->place.h, 1)));
        }
        strip.push_back({w->id, place,
                         Rect{x + (kThumbWidth - pw) / 2, y + (kThumbHeight - ph) / 2, pw, ph},
                         front == w->id});
        x += kThumbWidth + kGap;
    }
    return strip;
}

std::vector<Stage::Thumbnail> Stage::handles() const {
    std::vector<Thumbnail> handles;
    if (!frontAlone_) return handles;
    constexpr int kMargin = 6;
    int y = kMargin;
    for (const WindowId id : opened_) {
        const WindowStack::Window* w = stack_.find(id);
        if (!w || !w->visible || intersect(w->place, view_) == w->place) continue;
        const Rect place{kMargin, y, kHandleWidth, kHandleHeight};
        const int room = kHandleWidth - 4, tall = kHandleHeight - 4;
        int pw = room, ph = std::max(1, scaleDown(room, w->place.h, std::max(w->place.w, 1)));
        if (ph > tall) {
            ph = tall;
            pw = std::max(1, scaleDown(tall, w->place.w, std::max(w->place.h, 1)));
        }
        handles.push_back(
            {id, place,
             Rect{place.x + (kHandleWidth - pw) / 2, place.y + (kHandleHeight - ph) / 2, pw, ph},
             false});
        y += kHandleHeight + kMargin;
    }
    return handles;
}

Point Stage::toStage(int windowX, int windowY) const {
    const Rect& a = presentation_.area;
    return {view_.x + scaleDown(windowX - a.x, view_.w, a.w),
            view_.y + scaleDown(windowY - a.y, view_.h, a.h)};
}

Rect Stage::toWindow(const Rect& logical) const {
    const Rect& a = presentation_.area;
    // Scaled down, a window pixel mixes its neighbours: one more on each side.
    const int margin = presentation_.exact ? 0 : 1;
    const int x = logical.x - view_.x, y = logical.y - view_.y;
    const int left = a.x + scaleDown(x, a.w, view_.w) - margin;
    const int top = a.y + scaleDown(y, a.h, view_.h) - margin;
    const int right = a.x + scaleUp(x + logical.w, a.w, view_.w) + margin;
    const int bottom = a.y + scaleUp(y + logical.h, a.h, view_.h) + margin;
    return intersect({left, top, right - left, bottom - top}, a);
}

Stage::Pointed Stage::pointAt(int windowX, int windowY) const {
    const auto [x, y] = toStage(windowX, windowY);
    Pointed pointed;
    if (!grab_)
        for (const Thumbnail& handle : handles())
            if (handle.place.contains(windowX, windowY)) {
                pointed.thumbnailOf = handle.window;
                return pointed;
            }
    if (grab_) {
        const WindowStack::Window* w = stack_.find(*grab_);
        if (w) pointed.hit = WindowPoint{w->id, {x - w->place.x, y - w->place.y}};
        return pointed;
    }
    if (!kWhole.contains(x, y) || !view_.contains(x, y)) return pointed;
    pointed.hit = stack_.at(x, y);
    if (!pointed.hit)
        for (const Thumbnail& t : thumbnails())
            if (t.place.contains(x, y)) pointed.thumbnailOf = t.window;
    return pointed;
}

Stage::Pointed Stage::pointerMoved(int windowX, int windowY) { return pointAt(windowX, windowY); }

Stage::Pointed Stage::pointerPressed(int windowX, int windowY) {
    const Pointed pointed = pointAt(windowX, windowY);
    if (pointed.hit) {
        // A click raises the window it lands in; the subtitles stay where they float.
        if (const WindowStack::Window* w = stack_.find(pointed.hit->window);
            w && w->kind != WindowKind::Subtitles)
            raise(w->id);
        grab_ = pointed.hit->window;
    } else if (pointed.thumbnailOf) {
        broughtAside_ = *pointed.thumbnailOf;
        raise(*pointed.thumbnailOf);
    }
    return pointed;
}

Stage::Pointed Stage::pointerReleased(int windowX, int windowY) {
    const Pointed pointed = pointAt(windowX, windowY);
    grab_.reset();
    return pointed;
}

std::optional<WindowId> Stage::cycle() {
    const std::optional<WindowId> next = stack_.rearmostScene();
    if (next) raise(*next);
    return next;
}

void Stage::stripChanged() { dirty({0, kHeight - kStripHeight, kWidth, kStripHeight}); }

void Stage::dirty(const Rect& area) {
    Rect grown = intersect(area, kWhole);
    if (grown.w <= 0 || grown.h <= 0) return;
    // Areas that meet become one, so that no pixel is composed twice.
    for (bool merged = true; merged;) {
        merged = false;
        for (auto it = dirty_.begin(); it != dirty_.end(); ++it) {
            if (!overlaps(*it, grown)) continue;
            grown = hull(*it, grown);
            dirty_.erase(it);
            merged = true;
            break;
        }
    }
    dirty_.push_back(grown);
    if (dirty_.size() > kMostDirtyAreas) {
        Rect all = dirty_.front();
        for (const Rect& r : dirty_) all = hull(all, r);
        dirty_ = {all};
    }
}

std::vector<Rect> Stage::takeDirty() { return std::exchange(dirty_, {}); }

}  // namespace orval
