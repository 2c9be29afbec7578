// Where the game's own files are: the folder that holds data/ (descriptions, pictures, cursors)
// and zvuky/ (the clips). The game reads from there and writes nothing anywhere.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace orval {

// The places to look, in the order they are tried.
struct GameDirectoryPlaces {
    std::optional<std::filesystem::path> fromEnvironment;  // ORVAL_DATADIR, when set (even empty)
    std::filesystem::path besideExecutable;                // the build tree
    std::filesystem::path relativeToExecutable;  // as configured: an installed tree that moved
    std::filesystem::path configured;            // the configured absolute folder
};

struct GameDirectoryChoice {
    std::optional<std::filesystem::path> found;  // the first place that holds data/scenes
    // Every place tried and why it was passed over, when none holds it: for the error the
    // player reads.
    std::string whereLooked;
    // Why ORVAL_DATADIR was passed over for another place, when it was: changed data that is
    // not read must never go unnoticed.
    std::string environmentPassedOver;
};

// Tries the places in order; `problemOf` says why a folder is not the game's (empty when it is).
GameDirectoryChoice findGameDirectory(
    const GameDirectoryPlaces& places,
    const std::function<std::string(const std::filesystem::path&)>& problemOf);

// Why the folder does not hold the scene descriptions as the game will read them ("does not
// exist", "is a file, not a folder", "holds no data/scenes folder", "is a loop of symbolic
// links", ...), or empty when it does.
std::string gameDirectoryProblem(const std::filesystem::path& folder);

}  // namespace orval
