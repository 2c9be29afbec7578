#include "shell/platform/display_scale.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace orval {
namespace {

// A whole number written plainly ("2"), or nothing.
std::optional<long> wholeNumber(const std::string& text) {
    if (text.empty() || text.size() > 6 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::strtol(text.c_str(), nullptr, 10);
}

std::optional<double> decimalNumber(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(value)) return std::nullopt;
    return value;
}

int withinRange(long scale) { return static_cast<int>(std::clamp<long>(scale, 1, kLargestScale)); }

// Where the arrangement starts along one side of the usable area.
int arrangementStart(int usableStart, int usableLength, int length, int hullStart, int hullLength) {
    const int centred = usableStart + (usableLength - length) / 2;
    if (hullLength <= 0) return centred;
    if (hullLength > usableLength) return usableStart + (usableLength - hullLength) / 2 - hullStart;
    return std::clamp(centred, usableStart - hullStart,
                      usableStart + usableLength - hullStart - hullLength);
}

int ceilingDivision(int value, int scale) { return -toLogical(-value, scale); }

}  // namespace

ScaleChoice requestedScale(const ScaleSettings& settings) {
    if (settings.orvalScale && !settings.orvalScale->empty()) {
        const std::optional<long> asked = wholeNumber(*settings.orvalScale);
        if (asked && *asked >= 1 && *asked <= kLargestScale) return {static_cast<int>(*asked), {}};
        return {1, "ORVAL_SCALE=\"" + *settings.orvalScale + "\" is not a whole number from 1 to " +
                       std::to_string(kLargestScale) + "; the game is shown at scale 1"};
    }
    if (settings.xftDpi)
        if (const std::optional<double> dpi = decimalNumber(*settings.xftDpi); dpi && *dpi > 0)
            return {withinRange(std::lround(*dpi / 96.0)), {}};
    if (settings.gdkScale)
        if (const std::optional<long> scale = wholeNumber(*settings.gdkScale); scale && *scale > 0)
            return {withinRange(*scale), {}};
    return {1, {}};
}

Rect planHull(const WindowPlan& plan) {
    Rect all{(kArrangementWidth - plan.widest) / 2, (kArrangementHeight - plan.tallest) / 2,
             plan.widest, plan.tallest};
    for (const Rect& window : plan.fixed) all = all.w > 0 ? hull(all, window) : window;
    return all;
}

bool fitsTogether(int scale, const Rect& usable, const WindowPlan& plan) {
    // Only the size counts: the arrangement moves to where they lie on the usable area.
    const Rect all = planHull(plan);
    return scale * all.w <= usable.w && scale * all.h <= usable.h;
}

int fittingScale(int requested, const Rect& usable, const WindowPlan& plan) {
    for (int scale = std::min(requested, kLargestScale); scale > 1; --scale)
        if (fitsTogether(scale, usable, plan)) return scale;
    return 1;
}

Rect arrange(const Rect& usable, const WindowPlan& plan) {
    const Rect all = planHull(plan);
    return {arrangementStart(usable.x, usable.w, kArrangementWidth, all.x, all.w),
            arrangementStart(usable.y, usable.h, kArrangementHeight, all.y, all.h),
            kArrangementWidth, kArrangementHeight};
}

Rect logicalArea(const Rect& screenArea, int scale) {
    const int left = ceilingDivision(screenArea.x, scale);
    const int top = ceilingDivision(screenArea.y, scale);
    return {left, top, toLogical(screenArea.x + screenArea.w, scale) - left,
            toLogical(screenArea.y + screenArea.h, scale) - top};
}

Rect placeOnScreen(const WindowRequest& request, const Rect& usable, int scale) {
    return movedOnto(
        {scale * request.x, scale * request.y, scale * request.width, scale * request.height},
        usable);
}

}  // namespace orval
