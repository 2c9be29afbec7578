#include "scenes/model/names.h"

#include <algorithm>
#include <array>

namespace orval {
namespace {

// Room between the hotspot and the plate: the focus ring (4 pixels) stays clear of it too.
constexpr int kGap = 6;
// The plate's room around its words.
constexpr int kPadX = 6, kPadY = 3;
// How close to the window's edge a plate may lie.
constexpr int kEdge = 2;

}  // namespace

std::optional<FixedText> verbOf(std::string_view cursor) {
    constexpr std::array<std::string_view, 5> kCursors = {"talk", "walk", "use", "look", "take"};
    for (std::size_t i = 0; i < kCursors.size(); ++i)
        if (cursor == kCursors[i]) return kVerbs[i];
    return std::nullopt;
}

NameLine nameLineOf(const ControlDescription& c, const Language& language) {
    const std::optional<FixedText> verb = verbOf(c.cursor);
    return {verb ? language.text(*verb) : std::string(), c.called};
}

Rect nameLinePlate(const NameLine& line, Fonts& fonts) {
    int width = fonts.measure(kNameFont, line.name);
    if (!line.verb.empty())
        width += fonts.measure(kNameVerbFont, line.verb + ":") + fonts.measure(kNameFont, " ");
    const int height = std::max(fonts.lineHeight(kNameFont), fonts.lineHeight(kNameVerbFont));
    return {0, 0, width + 2 * kPadX, height + 2 * kPadY};
}

Rect placeNameLine(int width, int height, const Rect& hotspot, const Rect& plate,
                   const std::optional<Rect>& avoid) {
    const Rect window{0, 0, width, height};
    const Rect spot = intersect(hotspot, window);
    const Rect kept{spot.x - kGap + 1, spot.y - kGap + 1, spot.w + 2 * kGap - 2,
                    spot.h + 2 * kGap - 2};
    const Rect inside{kEdge, kEdge, width - 2 * kEdge, height - 2 * kEdge};
    const int w = std::min(plate.w, inside.w), h = std::min(plate.h, inside.h);
    const int besideX = spot.x + (spot.w - w) / 2, besideY = spot.y + (spot.h - h) / 2;
    // Below reads first, as a caption does; then above; then beside; then the window's corners.
    const Rect candidates[] = {
        {besideX, spot.y + spot.h + kGap, w, h},
        {besideX, spot.y - kGap - h, w, h},
        {spot.x + spot.w + kGap, besideY, w, h},
        {spot.x - kGap - w, besideY, w, h},
        {inside.x, inside.y + inside.h - h, w, h},
        {inside.x + inside.w - w, inside.y + inside.h - h, w, h},
        {inside.x, inside.y, w, h},
        {inside.x + inside.w - w, inside.y, w, h},
    };
    for (const Rect& candidate : candidates) {
        const Rect place = movedOnto(candidate, inside);
        if (!overlaps(place, kept) && !(avoid && overlaps(place, *avoid))) return place;
    }
    for (const Rect& candidate : candidates) {
        const Rect place = movedOnto(candidate, inside);
        if (!overlaps(place, spot)) return place;
    }
    return movedOnto(candidates[0], inside);
}

void drawNameLine(const NameLine& line, const Rect& place, Fonts& fonts, Canvas& canvas) {
    const Rect all = canvas.bounds();
    canvas.fill(place, kNamePlate, all);
    canvas.outline(place, kNameFrame, all);
    const Rect words = intersect(place, all);
    const int top = place.y + kPadY;
    int x = place.x + kPadX;
    if (!line.verb.empty()) {
        const std::string verb = line.verb + ":";
        fonts.drawLine(canvas, kNameVerbFont, verb, kNameWords, x, top, words);
        x += fonts.measure(kNameVerbFont, verb) + fonts.measure(kNameFont, " ");
    }
    fonts.drawLine(canvas, kNameFont, line.name, kNameWords, x, top, words);
}

}  // namespace orval
