// Rectangles and colours in logical pixels: what every layer, the platform too, may know.
#pragma once

#include <cstdint>

namespace orval {

struct Colour {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
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

}  // namespace orval
