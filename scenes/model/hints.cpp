#include "scenes/model/hints.h"

#include <algorithm>

#include "scenes/model/captions.h"
#include "scenes/model/data_file.h"
#include "scenes/model/loader.h"
#include "scenes/model/text_lines.h"
#include "scenes/model/utf8_path.h"

namespace orval {
namespace {

constexpr std::uintmax_t kMaxHintBytes = 1 << 18;
// A hint is read in one glance in the notebook: two lines of it at most.
constexpr std::size_t kMaxHintLetters = 160;

// Splits a line at `separator`.
std::vector<std::string_view> split(std::string_view line, char separator) {
    std::vector<std::string_view> out;
    for (std::size_t at = 0;;) {
        const std::size_t end = line.find(separator, at);
        out.push_back(line.substr(at, end - at));
        if (end == std::string_view::npos) return out;
        at = end + 1;
    }
}

}  // namespace

Hints parseHints(std::string_view text, const std::string& fileName) {
    if (!isUtf8(text)) throw DataFileError(fileName + ": not UTF-8 text");
    Hints hints;
    TextLines lines(text);
    while (const std::optional<std::string_view> line = lines.next()) {
        const auto fail = [&](const std::string& what) {
            throw DataFileError(fileName + ":" + std::to_string(lines.number()) + ": " + what);
        };
        if (line->empty() || line->front() == '#') continue;
        if (std::any_of(line->begin(), line->end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; }))
            fail("a control character");
        const std::vector<std::string_view> f = split(*line, '\t');
        if (f.size() != 2 + kHintSteps)
            fail("a hint is its scene, its controls and three steps, apart by tabs");
        Hint hint;
        hint.scene = std::string(f[0]);
        for (const std::string_view control : split(f[1], ' '))
            if (!control.empty()) hint.controls.emplace_back(control);
        if (hint.scene.empty() || hint.controls.empty())
            fail("a hint without its scene or control");
        for (const std::string& control : hint.controls)
            if (findHint(hints, hint.scene, control))
                fail("a second hint for " + hint.scene + " " + control);
        for (int i = 0; i < kHintSteps; ++i) {
            const std::string_view step = f[static_cast<std::size_t>(2 + i)];
            if (step.find_first_not_of(' ') == std::string_view::npos)
                fail("step " + std::to_string(i + 1) + " without words");
            if (countLetters(step) > kMaxHintLetters)
                fail("step " + std::to_string(i + 1) + " longer than " +
                     std::to_string(kMaxHintLetters) + " letters");
            hint.steps[static_cast<std::size_t>(i)] = std::string(step);
        }
        hints.push_back(std::move(hint));
    }
    return hints;
}

Hints loadHints(const std::filesystem::path& file) {
    return parseHints(readDataFile(file, kMaxHintBytes), utf8Of(file));
}

const Hint* findHint(const Hints& hints, std::string_view scene, std::string_view control) {
    for (const Hint& hint : hints)
        if (hint.scene == scene &&
            std::find(hint.controls.begin(), hint.controls.end(), control) != hint.controls.end())
            return &hint;
    return nullptr;
}

std::string hintContext(const Hint& hint, int step) {
    return "hint " + hint.scene + " " + hint.controls.front() + ": " + std::to_string(step);
}

}  // namespace orval
