// The language the game starts in: what the player asks for this run, what he chose on the menu
// before, what his system says he reads.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scenes/model/language.h"  // unknownLanguage: whether the game speaks a language

namespace orval {

struct LanguageWishes {
    // The system's names of the player's languages, best first: "cs_CZ", "en-GB", "de", "C".
    std::vector<std::string> preferred;
    std::optional<std::string> asked;       // --lang or ORVAL_LANG
    std::optional<std::string> remembered;  // chosen on the menu in an earlier run
};

// The first of: the language asked for, the one remembered, the first of the preferred ones
// the game has (`languages`, Czech first). With no preference at all (the C locale) Czech, the
// game's own; with preferences the game has none of, English, the one most read besides.
std::string chooseLanguage(const LanguageWishes& wishes, const std::vector<std::string>& languages);

}  // namespace orval
