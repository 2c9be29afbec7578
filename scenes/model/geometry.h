// Points, rectangles and colours in logical pixels: what every layer, the platform too, may know.
#pragma once

#include <cstdint>

namespace orval {

struct Colour {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

// A pixel: where the pointer is, where the keyboard's mark puts it, a spot of a window.
struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// A rectangle in logical pixels, relative to its container's client area.
struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    bool contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The part two rectangles share (empty, with zero size, when they do not meet).
inline Rect intersect(const Rect& a, const Rect& b) {
    const int left = a.x > b.x ? a.x : b.x;
    const int top = a.y > b.y ? a.y : b.y;
    const int right = a.x + a.w < b.x + b.w ? a.x + a.w : b.x + b.w;
    const int bottom = a.y + a.h < b.y + b.h ? a.y + a.h : b.y + b.h;
    return {left, top, right > left ? right - left : 0, bottom > top ? bottom - top : 0};
}

// Whether two rectangles share at least one pixel.
inline bool overlaps(const Rect& a, const Rect& b) {
    const Rect shared = intersect(a, b);
    return shared.w > 0 && shared.h > 0;
}

// The smallest rectangle that holds both.
inline Rect hull(const Rect& a, const Rect& b) {
    const int left = a.x < b.x ? a.x : b.x;
    const int top = a.y < b.y ? a.y : b.y;
    const int right = a.x + a.w > b.x + b.w ? a.x + a.w : b.x + b.w;
    const int bottom = a.y + a.h > b.y + b.h ? a.y + a.h : b.y + b.h;
    return {left, top, right - left, bottom - top};
}

// The rectangle moved just enough to lie on `area`; one larger than the area starts at its
// upper-left corner. Windows stay within reach on a screen smaller than the arrangement.
inline Rect movedOnto(const Rect& r, const Rect& area) {
    Rect moved = r;
    if (moved.x > area.x + area.w - moved.w) moved.x = area.x + area.w - moved.w;
    if (moved.y > area.y + area.h - moved.h) moved.y = area.y + area.h - moved.h;
    if (moved.x < area.x) moved.x = area.x;
    if (moved.y < area.y) moved.y = area.y;
    return moved;
}

// `value` / `divisor` rounded down, for negative values too (a pixel left of a window belongs
// to the logical pixel left of it, not to the first one); `divisor` is positive.
inline constexpr long long floorDivision(long long value, long long divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

}  // namespace orval
