// What the player should do next, found from the flags he has now: the game's states are
// searched breadth first by rehearsing the handlers on a copy of his state (no window, no
// sound), and the first click on a shortest way to the won game that moves the game on (changes
// a flag of a scene that stays loaded, not a walk between places) is the step. Asking changes
// nothing in the game.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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

// The table the game looks the next step up in (data/next-steps.tsv), made by the same search
// from every state the search's clicks reach from the menu, so that a hint costs no search:
// each state's key and what the search finds there.
struct NextStepRow {
    std::string key;
    StepSearch found;  // its `states` are not kept
};
struct NextStepTable {
    std::string descriptions;  // the fingerprint of the descriptions it was made from
    std::unordered_map<std::string, StepSearch> steps;
};

// The key of a state in the table: a few dozen letters.
std::string nextStepKey(const std::vector<const SceneDescription*>& scenes,
                        const std::vector<SceneNow>& now);
// What of the descriptions the search reads (scenes, controls, their flags, handlers and, but a
// label's, their places), as 16 hexadecimal digits: a table made from others is not used.
std::string descriptionsFingerprint(const std::vector<const SceneDescription*>& scenes);
// Every state the search's clicks reach from `now` but the won ones, each with its next step,
// in the order of their keys (the table's rows).
std::vector<NextStepRow> mapNextSteps(const std::vector<const SceneDescription*>& scenes,
                                      const HandlerRegistry& handlers, const std::string& won,
                                      const std::vector<SceneNow>& now);
// The table's file: a line with the fingerprint, then a row a state.
std::string nextStepsText(const std::string& fingerprint, const std::vector<NextStepRow>& rows);
// Reads it back; a damaged line throws DataFileError naming `fileName`, the line and what is
// wrong (a step must name a control of `scenes`).
NextStepTable parseNextSteps(std::string_view text, const std::string& fileName,
                             const std::vector<const SceneDescription*>& scenes);
NextStepTable loadNextSteps(const std::filesystem::path& file,
                            const std::vector<const SceneDescription*>& scenes);
// The step the table holds for `now` (or for the state its arrival sounds lead to, as the
// search begins), or nothing where it holds no such state.
std::optional<StepSearch> lookUpNextStep(const NextStepTable& table,
                                         const std::vector<const SceneDescription*>& scenes,
                                         const HandlerRegistry& handlers,
                                         const std::vector<SceneNow>& now);

// Whether a click moved the game on: a flag of a scene loaded before and after it changed.
bool movesTheGameOn(const std::vector<SceneNow>& before, const std::vector<SceneNow>& after);

}  // namespace orval
