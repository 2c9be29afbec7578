// What the player should do next, found from the flags he has now: the game's states are
// searched breadth first by rehearsing the handlers on a copy of his state (no window, no
// sound), and the first click on a shortest way to the won game that moves the game on (changes
// a flag of a scene that stays loaded, not a walk between places) is the step. Asking changes
// nothing in the game.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "scenes/game.h"
#include "scenes/model/description.h"
#include "scenes/model/state.h"

namespace orval {

// One scene as the player has it now: not loaded, loaded hidden, or shown, with its flags (a
// timer's Enabled: it ticks).
struct SceneNow {
    bool loaded = false, shown = false;
    SceneFlags flags;
};

// A click the next step asks for: a control of a scene.
struct NextClick {
    std::string scene, control;
    friend bool operator==(const NextClick&, const NextClick&) = default;
};

// What a search found, and what it cost.
struct StepSearch {
    std::optional<NextClick> step;  // none when the game cannot be won from here (or is won)
    std::size_t states = 0;         // states looked at
    int clicks = 0;                 // the length of the shortest way, in clicks and waits
};

// After a click the game runs this long, so that arrival sounds (20 and 100 ms) have played: a
// timer of at most this interval ticks as part of the click that started it; a longer one (the
// arrest) is a step of its own, a wait.
inline constexpr int kArrivalTimerMs = 100;

// `scenes` are the game's descriptions as shown (in the scene order), `now` the state of each,
// in the same order; `won` names the scene whose showing wins the game.
StepSearch searchNextStep(const std::vector<const SceneDescription*>& scenes,
                          const HandlerRegistry& handlers, const std::string& won,
                          const std::vector<SceneNow>& now);

// Whether a click moved the game on: a flag of a scene loaded before and after it changed.
bool movesTheGameOn(const std::vector<SceneNow>& before, const std::vector<SceneNow>& after);

}  // namespace orval
