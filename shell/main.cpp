// ORVAL KESK: starts the scene runtime with the main menu, in windows of the desktop or on the
// stage.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <SDL_main.h>  // on Windows SDL starts the program through its own main

#include "scenes/game.h"
#include "shell/game_directory.h"
#include "shell/language_choice.h"
#include "shell/options.h"
#include "shell/platform/desktop_system.h"
#include "shell/platform/fitting_platform.h"
#include "shell/platform/heap.h"
#include "shell/platform/player_files.h"
#include "shell/platform/quit_signals.h"
#include "shell/platform/sdl_platform.h"
#include "shell/platform/sdl_session.h"
#include "shell/platform/stage_platform.h"
#include "shell/runtime.h"
#include "shell/settings.h"

#ifndef ORVAL_RELATIVE_DATADIR
#define ORVAL_RELATIVE_DATADIR ""
#endif
#ifndef ORVAL_ABSOLUTE_DATADIR
#define ORVAL_ABSOLUTE_DATADIR ""
#endif

namespace {

int play(const orval::Options& options, orval::QuitSignals& signals);

}  // namespace

// With argc and argv: on Windows SDL's own entry point calls it so, in UTF-8.
int main(int argc, char* argv[]) {
    // First of all: a signal from here on is a request to quit, kept until the game takes it.
    orval::QuitSignals signals;
    const orval::Options options =
        orval::parseOptions(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc),
                            orval::environment("ORVAL_STAGE"), orval::environment("ORVAL_LANG"));
    if (!options.error.empty()) {
        std::fprintf(stderr, "orval-kesk: %s\n", options.error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(orval::usage(), stdout);
        return 0;
    }
    orval::returnLargeBlocksWhenFreed();
    return orval::endProgram(play(options, signals));
}

namespace {

// The game from its data to its end, every resource gone when it returns: its exit status.
int play(const orval::Options& options, orval::QuitSignals& signals) {
    orval::HandlerRegistry handlers;
    orval::registerAllHandlers(handlers);

    orval::GameDirectoryPlaces places;
    if (const std::optional<std::string> fromEnvironment = orval::environment("ORVAL_DATADIR"))
        places.fromEnvironment = std::filesystem::path(*fromEnvironment);
    places.besideExecutable = orval::executableDirectory();
    places.relativeToExecutable = ORVAL_RELATIVE_DATADIR;
    places.configured = ORVAL_ABSOLUTE_DATADIR;
    const orval::GameDirectoryChoice choice =
        orval::findGameDirectory(places, orval::gameDirectoryProblem);
    if (!choice.environmentPassedOver.empty())
        std::fprintf(stderr, "orval-kesk: %s\n", choice.environmentPassedOver.c_str());
    const std::optional<std::filesystem::path>& directory = choice.found;

    // A language the game does not have: a typo on the command line stops it, one in the
    // environment is passed over.
    std::optional<std::string> asked = options.language;
    const std::vector<std::string> languages =
        directory ? orval::languagesIn(*directory) : std::vector<std::string>{};
    if (asked && directory) {
        if (const std::string unknown = orval::unknownLanguage(*asked, languages);
            !unknown.empty()) {
            const bool stop = options.languageFrom == "--lang";
            std::fprintf(stderr, "orval-kesk: %s: %s%s\n", options.languageFrom.c_str(),
                         unknown.c_str(), stop ? " (try --help)" : "; passed over");
            if (stop) return 2;
            asked.reset();
        }
    }
    // The player's choices of the last run; each new one is kept at once, so that a game
    // killed later keeps it too.
    orval::KeptSettings kept = orval::KeptSettings::ofThePlayer(
        [](const std::string& line) { std::fprintf(stderr, "orval-kesk: %s\n", line.c_str()); });
    orval::StartOptions start;
    if (directory)
        start.language = orval::chooseLanguage(
            {orval::preferredLanguages(), asked, kept.settings().language}, languages);
    kept.startIn(start.language);
    start.subtitles = kept.settings().subtitles;
    start.names = kept.settings().names;
    start.sound = kept.settings().sound;
    start.speech = options.speak || kept.settings().speech;
    start.choicesChanged = [&kept](const orval::PlayerChoices& now) { kept.update(now); };

    // Every failure from here on, no display included, takes the runtime's one fatal path.
    std::unique_ptr<orval::Platform> platform;
    if (options.stage)
        platform = std::make_unique<orval::StagePlatform>(options.fullscreen, &signals);
    else if (options.windows)
        platform = std::make_unique<orval::SdlPlatform>(&signals);
    else
        platform = std::make_unique<orval::FittingPlatform>(&signals);
    orval::Runtime runtime(*platform, directory.value_or(places.besideExecutable), handlers, {}, {},
                           std::move(start));
    if (!directory)
        return runtime.failAtStart("the game's data (data/scenes) is in none of these places: " +
                                   choice.whereLooked);
    return runtime.run();
}

}  // namespace
