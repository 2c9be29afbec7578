// Reading and validating scene descriptions (one TOML file per scene).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "scenes/model/data_file.h"
#include "scenes/model/description.h"

namespace orval {

// A damaged description: the message names the file, the control and the field.
class DescriptionError : public DataFileError {
  public:
    using DataFileError::DataFileError;
};

// Answers whether code registers a handler of this name for this scene.
using HandlerCheck = std::function<bool(std::string_view scene, std::string_view handler)>;

// A picture a description names that was not there when it was read, checked once it is.
struct LaterPicture {
    std::filesystem::path file;
    int maxSide = 0;
    std::string where;  // "FILE: CONTROL: field KEY", as the loader says it
};

// The headers of the pictures read so far while the game's descriptions load: most hotspots
// name one of a few shared cursors, and each file is read once. With `later`, a picture not
// there yet (a page fetches the places' pictures after its menu) is noted there instead of
// refused.
struct PictureHeaders {
    std::map<std::filesystem::path, PictureHeader> read;
    std::vector<LaterPicture>* later = nullptr;
};

// Checks the pictures noted for later as the loader checks a picture; throws DescriptionError
// naming the first that is missing or damaged.
void checkLaterPictures(const std::vector<LaterPicture>& pictures);

// Parses a description from text; `fileName` is used in messages, `dataDir` to check
// that every picture, icon and cursor file exists (through `read` when given). Throws
// DescriptionError, never crashes.
SceneDescription parseSceneDescription(std::string_view text, const std::string& fileName,
                                       const std::filesystem::path& dataDir,
                                       const HandlerCheck& isRegistered,
                                       PictureHeaders* read = nullptr);

// Reads the file and parses it as above; a file that cannot be read throws DataFileError.
SceneDescription loadSceneDescription(const std::filesystem::path& file,
                                      const std::filesystem::path& dataDir,
                                      const HandlerCheck& isRegistered,
                                      PictureHeaders* read = nullptr);

// The scenes of the game's roles among its descriptions. Throws DescriptionError, naming both
// files, for a role that two scenes claim.
GameRoles gameRoles(const std::vector<SceneDescription>& scenes);

// Whether the bytes are well-formed UTF-8.
bool isUtf8(std::string_view text);

// Where the shared cursor of this name lives, relative to the data directory.
std::string cursorFile(std::string_view cursorName);

}  // namespace orval
