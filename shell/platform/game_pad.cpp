#include "shell/platform/game_pad.h"

#include <algorithm>
#include <cmath>

namespace orval {
namespace {

// A stick at rest never lies quite in its middle: a quarter of its way is nothing yet.
constexpr double kDeadZone = 0.25;
// Logical pixels a second with the stick pushed all the way: slow enough to aim at first,
// across the whole stage within a second once held for a while.
constexpr double kSlowest = 240, kFastest = 1100;
constexpr double kRampMs = 1200;
// A late frame (a handler that took long) moves the pointer no further than this one would.
constexpr std::uint64_t kLongestFrameMs = 50;

// Past the dead zone, rescaled so that the zone's edge is 0 and the stick's end 1.
double beyondRest(double length) {
    return std::clamp((length - kDeadZone) / (1 - kDeadZone), 0.0, 1.0);
}

}  // namespace

std::optional<InputEvent> GamePads::take(const PadEvent& event, std::uint64_t now) {
    switch (event.kind) {
        case PadEvent::Kind::Plugged:
            sticks_.try_emplace(event.pad);
            return std::nullopt;
        case PadEvent::Kind::Unplugged:
            sticks_.erase(event.pad);
            return std::nullopt;
        case PadEvent::Kind::Pressed:
            if (!sticks_.contains(event.pad)) return std::nullopt;
            if (event.button == PadButton::A) return InputEvent{InputEvent::Type::MouseDown};
            return InputEvent{.type = InputEvent::Type::Pad, .button = event.button};
        case PadEvent::Kind::Released:
            if (!sticks_.contains(event.pad) || event.button != PadButton::A) return std::nullopt;
            return InputEvent{InputEvent::Type::MouseUp};
        case PadEvent::Kind::Stick: {
            const auto it = sticks_.find(event.pad);
            if (it == sticks_.end()) return std::nullopt;
            Stick& stick = it->second;
            const double x = std::clamp(event.x / 32767.0, -1.0, 1.0);
            const double y = std::clamp(event.y / 32767.0, -1.0, 1.0);
            const double length = std::hypot(x, y);
            const double beyond = beyondRest(length);
            const bool wasHeld = nextGlide().has_value();
            if (beyond <= 0) {
                stick = Stick{};
            } else {
                // Gently near the rest, for aiming; the direction is the stick's own.
                stick.x = x / length * beyond * beyond;
                stick.y = y / length * beyond * beyond;
                if (!stick.since) stick.since = now;
            }
            if (!wasHeld && nextGlide()) {
                lastGlide_ = now;
                carryX_ = carryY_ = 0;
            }
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<std::uint64_t> GamePads::nextGlide() const {
    for (const auto& [pad, stick] : sticks_)
        if (stick.since) return lastGlide_.value_or(0) + kFrameMs;
    return std::nullopt;
}

Point GamePads::glide(Point from, const Rect& area, std::uint64_t now) {
    const std::uint64_t last = lastGlide_.value_or(now);
    const double seconds =
        static_cast<double>(std::min(now - std::min(now, last), kLongestFrameMs)) / 1000;
    lastGlide_ = now;
    double dx = carryX_, dy = carryY_;
    for (const auto& [pad, stick] : sticks_) {
        if (!stick.since) continue;
        const double held = static_cast<double>(now - std::min(now, *stick.since));
        const double speed = kSlowest + (kFastest - kSlowest) * std::min(1.0, held / kRampMs);
        dx += stick.x * speed * seconds;
        dy += stick.y * speed * seconds;
    }
    const double wholeX = std::trunc(dx), wholeY = std::trunc(dy);
    carryX_ = dx - wholeX;
    carryY_ = dy - wholeY;
    const int right = area.x + std::max(area.w, 1) - 1, bottom = area.y + std::max(area.h, 1) - 1;
    return {std::clamp(from.x + static_cast<int>(wholeX), area.x, right),
            std::clamp(from.y + static_cast<int>(wholeY), area.y, bottom)};
}

}  // namespace orval
