// The scenes' timers as the game's clock sees them: which tick, when each is due next, and
// which fires first. The runtime says when a timer starts and stops; this keeps the countdowns.
#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <optional>

namespace orval {

// A timer control of a scene: the scene's place in the game's list and the control's in its
// description, so that timers due at once fire in scene and control order.
struct TimerId {
    int scene = 0;
    int control = 0;
    friend auto operator<=>(const TimerId&, const TimerId&) = default;
};

class Timers {
  public:
    // Starts the timer's countdown of `intervalMs`; one that already ticks keeps its countdown
    // (a second pistol shot does not put the final screen off).
    void start(TimerId timer, std::uint64_t intervalMs, std::uint64_t now);
    void stop(TimerId timer);
    // Every timer of a scene stops with it when it is unloaded.
    void stopScene(int scene);
    bool ticking(TimerId timer) const;
    // The earliest deadline of all, for the wait.
    std::optional<std::uint64_t> next() const;
    // The timer due first at `now`, counted on to its next tick (one that came late, held up
    // by a message box, counts from now: no burst of ticks); nothing when none is due.
    std::optional<TimerId> takeDue(std::uint64_t now);

  private:
    struct Countdown {
        std::uint64_t due = 0;
        std::uint64_t interval = 0;
    };
    std::map<TimerId, Countdown> ticking_;
};

}  // namespace orval
