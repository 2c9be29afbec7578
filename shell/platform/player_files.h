// What the system knows of the player for the game: the languages he reads, best first, and the
// folder where the game keeps his files between runs.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orval {

// The player's languages as the system names them, best first ("cs_CZ", "en", "C"): gettext's
// LANGUAGE, then what SDL reads (LANG on Linux, the user's languages on Windows). Empty when
// the system names none.
std::vector<std::string> preferredLanguages();

// The folder for the player's files of this game (SDL_GetPrefPath: $XDG_DATA_HOME/orval-kesk/
// on Linux, %APPDATA%\orval-kesk\ on Windows), made if it is missing; throws std::runtime_error
// saying why there is none (a read-only home).
std::filesystem::path playerFolder();

// Replaces the file's text whole: written beside it under another name, then renamed over it,
// so that a game killed meanwhile leaves the old text or the new, never half of one. Throws
// std::runtime_error naming the file and why it cannot.
void replacePlayerFile(const std::filesystem::path& file, std::string_view text);

}  // namespace orval
