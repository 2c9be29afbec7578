#include "shell/game_directory.h"

#include <system_error>
#include <utility>
#include <vector>

#include "scenes/model/utf8_path.h"

namespace orval {
namespace {

// What lies at `path` when it is not a folder, or empty when it is one.
std::string notAFolder(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) return "does not exist";
    if (error == std::errc::too_many_symbolic_link_levels) return "is a loop of symbolic links";
    if (error) return "cannot be read: " + error.message();
    if (status.type() == std::filesystem::file_type::regular) return "is a file, not a folder";
    if (status.type() != std::filesystem::file_type::directory) return "is not a folder";
    return {};
}

}  // namespace

GameDirectoryChoice findGameDirectory(
    const GameDirectoryPlaces& places,
    const std::function<std::string(const std::filesystem::path&)>& problemOf) {
    struct Place {
        std::filesystem::path folder;
        const char* what;
        bool fromEnvironment = false;
    };
    std::vector<Place> tried;
    if (places.fromEnvironment) tried.push_back({*places.fromEnvironment, "ORVAL_DATADIR", true});
    tried.push_back({places.besideExecutable, "beside the program"});
    if (!places.relativeToExecutable.empty())
        tried.push_back({places.besideExecutable / places.relativeToExecutable,
                         "the installed data beside the program"});
    tried.push_back({places.configured, "the installed data"});

    GameDirectoryChoice choice;
    std::string environmentProblem;
    for (const Place& place : tried) {
        if (place.folder.empty() && !place.fromEnvironment) continue;
        const std::string problem = place.folder.empty() ? "is empty" : problemOf(place.folder);
        if (problem.empty()) {
            choice.found = place.folder.lexically_normal();
            if (!environmentProblem.empty())
                choice.environmentPassedOver =
                    (places.fromEnvironment->empty()
                         ? std::string("ORVAL_DATADIR is set, but empty")
                         : "ORVAL_DATADIR is set to \"" + utf8Of(*places.fromEnvironment) +
                               "\", which " + environmentProblem) +
                    "; the game's data is read from " + utf8Of(*choice.found) + " instead";
            choice.whereLooked.clear();
            return choice;
        }
        if (place.fromEnvironment) environmentProblem = problem;
        const std::string shown =
            place.folder.empty() ? "\"\"" : utf8Of(place.folder.lexically_normal());
        choice.whereLooked += (choice.whereLooked.empty() ? "" : ", ") + shown + " (" + place.what +
                              ": " + problem + ")";
    }
    return choice;
}

std::string gameDirectoryProblem(const std::filesystem::path& folder) {
    if (std::string problem = notAFolder(folder); !problem.empty()) return problem;
    const std::filesystem::path scenes = folder / "data" / "scenes";
    std::string problem = notAFolder(scenes);
    if (problem == "does not exist") return "holds no data/scenes folder";
    if (!problem.empty()) return "holds a data/scenes that " + problem;
    return {};
}

}  // namespace orval
