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
    std::optional<std::filesystem::path> fromEnvironment;  // ORVAL_DATADIR, when set
    std::filesystem::path besideExecutable;                // the build tree
    std::filesystem::path relativeToExecutable;  // as configured: an installed tree that moved
    std::filesystem::path configured;            // the configured absolute folder
};

// The first place that holds the scene descriptions (data/scenes), or nothing; `whereLooked`
// then lists every place tried, for the error the player reads.
std::optional<std::filesystem::path> findGameDirectory(
    const GameDirectoryPlaces& places,
    const std::function<bool(const std::filesystem::path&)>& holdsScenes, std::string& whereLooked);

// Whether the folder holds the scene descriptions, as the game will read them.
bool holdsSceneDescriptions(const std::filesystem::path& folder);

}  // namespace orval
