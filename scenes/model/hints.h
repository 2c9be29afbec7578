// The words of the hints: for every click that can be the player's next step, three steps of
// help, each saying more (where to go or whom to ask; the place and the thing; the exact
// action), read from data/hints.tsv in Czech and translated through the catalogues.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orval {

inline constexpr int kHintSteps = 3;

// The hint for a click on any of `controls` of `scene` (hotspots that lie on one thing).
struct Hint {
    std::string scene;
    std::vector<std::string> controls;
    std::array<std::string, kHintSteps> steps;  // in Czech
};
using Hints = std::vector<Hint>;

// Parses the hints file: a line a hint, the scene, its controls (separated by spaces) and the
// three steps, separated by tabs; # begins a comment. Throws DataFileError naming `fileName`
// and the line, never crashes.
Hints parseHints(std::string_view text, const std::string& fileName);
// Reads the file and parses it as above.
Hints loadHints(const std::filesystem::path& file);

// The hint for a click on this control, or nullptr.
const Hint* findHint(const Hints& hints, std::string_view scene, std::string_view control);

// Where a hint's step is in a catalogue: "hint SCENE CONTROL: N", the first control named, the
// steps counted from 1.
std::string hintContext(const Hint& hint, int step);

}  // namespace orval
