// The command line of the game: how it is started, checked before anything opens.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orval {

struct Options {
    bool stage = false;       // the whole game inside one window
    bool fullscreen = false;  // that window fullscreen from the start
    bool windows = false;     // windows of the desktop even where they do not fit together
    bool speak = false;       // the announcements read aloud by speech-dispatcher
    bool help = false;
    // The language asked for, by --lang (which wins) or ORVAL_LANG, and which of them asked.
    std::optional<std::string> language;
    std::string languageFrom;
    std::string error;  // an option the game does not know, or empty
};

// The options given after the program's name; `stageVariable` is ORVAL_STAGE, where "1" asks
// for the stage as --stage does and "0" for windows as --windows does (the command line wins);
// `languageVariable` is ORVAL_LANG (empty counts as unset).
Options parseOptions(const std::vector<std::string>& arguments,
                     const std::optional<std::string>& stageVariable,
                     const std::optional<std::string>& languageVariable = std::nullopt);

// What --help prints: the options and the environment variables the game reads.
const char* usage();

}  // namespace orval
