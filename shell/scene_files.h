// Reading the descriptions of all 16 scenes from data/scenes/ at start-up.
#pragma once

#include <filesystem>
#include <vector>

#include "scenes/game.h"
#include "scenes/model/description.h"
#include "scenes/model/loader.h"

namespace orval {

// Reads every description file, checks that each scene of the game has exactly one and that
// every handler bound is registered and every registered handler is bound. Throws
// DataFileError (a DescriptionError for a damaged description) naming the file and what is
// wrong. With `later`, a picture not there yet is noted there instead (checkLaterPictures).
std::vector<SceneDescription> loadGameDescriptions(const std::filesystem::path& dataDir,
                                                   const HandlerRegistry& handlers,
                                                   std::vector<LaterPicture>* later = nullptr);

}  // namespace orval
