#include "shell/options.h"

namespace orval {

Options parseOptions(const std::vector<std::string>& arguments,
                     const std::optional<std::string>& stageVariable) {
    Options options;
    options.stage = stageVariable == "1";
    options.windows = stageVariable == "0";
    bool stageAsked = false, windowsAsked = false;
    for (const std::string& argument : arguments) {
        if (argument == "--stage") {
            stageAsked = true;
        } else if (argument == "--fullscreen") {
            stageAsked = true;  // only the stage can fill the screen
            options.fullscreen = true;
        } else if (argument == "--windows") {
            windowsAsked = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else {
            options.error = "unknown option " + argument + " (try --help)";
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
    return "Usage: orval-kesk [--stage] [--fullscreen] [--windows] [--help]\n"
           "ORVAL KESK, a point-and-click detective adventure.\n"
           "\n"
           "  --stage       the whole game inside one window (F11 or Alt+Enter: fullscreen,\n"
           "                Ctrl+Tab: the next of the game's windows to the front); where the\n"
           "                game's windows do not fit the screen together, it starts so by itself\n"
           "  --fullscreen  the same, fullscreen from the start\n"
           "  --windows     a window of the desktop for each of the game's, even where they\n"
           "                do not fit the screen together\n"
           "  --help        this text\n"
           "\n"
           "Environment:\n"
           "  ORVAL_STAGE=1    as --stage; ORVAL_STAGE=0 as --windows\n"
           "  ORVAL_SCALE=1-4  how many screen pixels a pixel of the game takes\n"
           "  ORVAL_DATADIR    where data/ and zvuky/ lie\n";
}

}  // namespace orval
