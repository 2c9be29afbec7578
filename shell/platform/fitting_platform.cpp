#include "shell/platform/fitting_platform.h"

#include <cstdio>

#include "shell/platform/display_scale.h"

namespace orval {

int FittingPlatform::fitScale(const WindowPlan& plan) {
    if (!settled_ && !opened_) {
        if (const std::optional<Rect> usable = desktop_->tooSmallFor(plan)) {
            const Rect together = planHull(plan);
            std::fprintf(stderr,
                         "orval-kesk: the game's windows take %d x %d pixels together, which "
                         "the usable %d x %d of this screen cannot hold, so the game starts on "
                         "the stage, scaled down to fit (--windows opens them on the desktop all "
                         "the same)\n",
                         together.w, together.h, usable->w, usable->h);
            stage_ = std::make_unique<StagePlatform>(false, desktop_->handOverSession());
            desktop_.reset();
        }
    }
    settled_ = true;
    return chosen().fitScale(plan);
}

}  // namespace orval
