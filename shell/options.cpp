#include "shell/options.h"

#include <iterator>
#include <string_view>

namespace orval {

Options parseOptions(const std::vector<std::string>& arguments,
                     const std::optional<std::string>& stageVariable,
                     const std::optional<std::string>& languageVariable) {
    Options options;
    options.stage = stageVariable == "1";
    options.windows = stageVariable == "0";
    bool stageAsked = false, windowsAsked = false;
    if (languageVariable && !languageVariable->empty()) {
        options.language = *languageVariable;
        options.languageFrom = "ORVAL_LANG";
    }
    for (auto argument = arguments.begin(); argument != arguments.end(); ++argument) {
        if (*argument == "--lang" || argument->starts_with("--lang=")) {
            std::string code;
            if (*argument != "--lang")
                code = argument->substr(std::string_view("--lang=").size());
            else if (std::next(argument) != arguments.end())
                code = *++argument;
            if (code.empty()) {
                options.error = "--lang needs a language, as in --lang en (try --help)";
                return options;
            }
            options.language = code;
            options.languageFrom = "--lang";
        } else if (*argument == "--stage") {
            stageAsked = true;
        } else if (*argument == "--fullscreen") {
            stageAsked = true;  // only the stage can fill the screen
            options.fullscreen = true;
        } else if (*argument == "--windows") {
            windowsAsked = true;
        } else if (*argument == "--speak") {
            options.speak = true;
        } else if (*argument == "--help" || *argument == "-h") {
            options.help = true;
        } else {
            options.error = "unknown option " + *argument + " (try --help)";
            return options;
        }
    }
    if (stageAsked && windowsAsked) {
        options.error = "--windows and --stage (or --fullscreen) ask for opposite things";
    } else if (stageAsked || windowsAsked) {
        options.stage = stageAsked;
        options.windows = windowsAsked;
    }
    return options;
}

const char* usage() {
    return "Usage: orval-kesk [--lang cs|en] [--stage] [--fullscreen] [--windows] [--speak] "
           "[--help]\n"
           "ORVAL KESK, a point-and-click detective adventure in Czech and English.\n"
           "\n"
           "  --lang cs|en  the language to play in (otherwise the one last chosen on the\n"
           "                menu, else the first of the desktop's languages the game speaks)\n"
           "  --stage       the whole game inside one window (F11 or Alt+Enter: fullscreen,\n"
           "                Ctrl+Tab: the next of the game's windows to the front); where the\n"
           "                game's windows do not fit the screen together, it starts so by itself\n"
           "  --fullscreen  the same, fullscreen from the start\n"
           "  --windows     a window of the desktop for each of the game's, even where they\n"
           "                do not fit the screen together\n"
           "  --speak       read aloud what the game shows and says in words (the names,\n"
           "                boxes, the notebook, hints) by a running speech-dispatcher;\n"
           "                S turns it on and off\n"
           "  --help        this text\n"
           "\n"
           "Environment:\n"
           "  ORVAL_LANG=cs|en  as --lang\n"
           "  LANGUAGE, LANG    the desktop's languages\n"
           "  ORVAL_STAGE=1     as --stage; ORVAL_STAGE=0 as --windows\n"
           "  ORVAL_SCALE=1-4   how many screen pixels a pixel of the game takes\n"
           "  ORVAL_DATADIR     where data/ and zvuky/ lie\n"
           "  SPEECHD_ADDRESS   the speech-dispatcher --speak reads to\n"
           "\n"
           "The language, subtitles (T), sound (M) and speech (S) are kept in\n"
           "$XDG_DATA_HOME/orval-kesk/settings.conf (~/.local/share/orval-kesk/ without it;\n"
           "%APPDATA%\\orval-kesk\\ on Windows).\n";
}

}  // namespace orval
