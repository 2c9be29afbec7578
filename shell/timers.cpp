#include "shell/timers.h"

namespace orval {

void Timers::start(TimerId timer, std::uint64_t intervalMs, std::uint64_t now) {
    ticking_.try_emplace(timer, Countdown{now + intervalMs, intervalMs});
}

void Timers::stop(TimerId timer) { ticking_.erase(timer); }

void Timers::stopScene(int scene) {
    std::erase_if(ticking_, [scene](const auto& item) { return item.first.scene == scene; });
}

bool Timers::ticking(TimerId timer) const { return ticking_.contains(timer); }

std::optional<std::uint64_t> Timers::next() const {
    std::optional<std::uint64_t> next;
    for (const auto& [timer, countdown] : ticking_)
        if (!next || countdown.due < *next) next = countdown.due;
    return next;
}

std::optional<TimerId> Timers::takeDue(std::uint64_t now) {
    // The map's order is scene and control order: the first of equal deadlines wins.
    auto first = ticking_.end();
    for (auto it = ticking_.begin(); it != ticking_.end(); ++it)
        if (it->second.due <= now &&
            (first == ticking_.end() || it->second.due < first->second.due))
            first = it;
    if (first == ticking_.end()) return std::nullopt;
    Countdown& countdown = first->second;
    const std::uint64_t following = countdown.due + countdown.interval;
    countdown.due = following > now ? following : now + countdown.interval;
    return first->first;
}

}  // namespace orval
