#include "shell/options.h"

namespace orval {

Options parseOptions(const std::vector<std::string>& arguments,
                     const std::optional<std::string>& stageVariable) {
    Options options;
    options.stage = stageVariable == "1";
    for (const std::string& argument : arguments) {
        if (argument == "--stage") {
            options.stage = true;
        } else if (argument == "--fullscreen") {
            options.stage = true;  // only the stage can fill the screen
            options.fullscreen = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else {
            options.error = "unknown option " + argument + " (try --help)";
            return options;
        }
    }
    return options;
}

const char* usage() {
    return "Usage: orval-kesk [--stage] [--fullscreen] [--help]\n"
           "ORVAL KESK, a point-and-click detective adventure.\n"
           "\n"
           "  --stage       the whole game inside one window (F11 or Alt+Enter: fullscreen,\n"
           "                Ctrl+Tab: the next of the game's windows to the front)\n"
           "  --fullscreen  the same, fullscreen from the start\n"
           "  --help        this text\n"
           "\n"
           "Environment:\n"
           "  ORVAL_STAGE=1    as --stage\n"
           "  ORVAL_SCALE=1-4  how many screen pixels a pixel of the game takes\n"
           "  ORVAL_DATADIR    where data/ and zvuky/ lie\n";
}

}  // namespace orval
