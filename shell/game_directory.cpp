#include "shell/game_directory.h"

#include <system_error>
#include <utility>
#include <vector>

namespace orval {

std::optional<std::filesystem::path> findGameDirectory(
    const GameDirectoryPlaces& places,
    const std::function<bool(const std::filesystem::path&)>& holdsScenes,
    std::string& whereLooked) {
    std::vector<std::pair<std::filesystem::path, const char*>> tried;
    if (places.fromEnvironment) tried.emplace_back(*places.fromEnvironment, "ORVAL_DATADIR");
    tried.emplace_back(places.besideExecutable, "beside the program");
    if (!places.relativeToExecutable.empty())
        tried.emplace_back(places.besideExecutable / places.relativeToExecutable,
                           "the installed data beside the program");
    tried.emplace_back(places.configured, "the installed data");
    whereLooked.clear();
    for (const auto& [folder, what] : tried) {
        if (folder.empty()) continue;
        if (holdsScenes(folder)) return folder.lexically_normal();
        whereLooked += (whereLooked.empty() ? "" : ", ") + folder.lexically_normal().string() +
                       " (" + what + ")";
    }
    return std::nullopt;
}

bool holdsSceneDescriptions(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_directory(folder / "data" / "scenes", error);
}

}  // namespace orval
