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

// The folder for the player's files of this game (dataHome()/orval-kesk/ on Linux,
// SDL_GetPrefPath's %APPDATA%\orval-kesk\ on Windows), made if it is missing; throws
// std::runtime_error saying why there is none (a read-only home).
std::filesystem::path playerFolder();

// Where the XDG rules keep a user's data, from XDG_DATA_HOME and HOME (either may be null):
// XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share. Throws
// std::runtime_error when HOME names no folder either.
std::filesystem::path dataHome(const char* xdgDataHome, const char* home);

// Writes `text` as the whole of a new `file`, on the disk (synced, where the system can) before
// it returns; throws std::runtime_error saying why it cannot. A file per system.
void writeToDisk(const std::filesystem::path& file, std::string_view text);

// Replaces the file's text whole: written beside it under another name, on the disk, then
// renamed over it, so that a game killed meanwhile leaves the old text or the new, never half of
// one; what such a game left beside it over a minute ago is removed. A file that is a symbolic
// link is written where the link points. Throws std::runtime_error naming the file and why it
// cannot. The system keeps it where it keeps the player's files (keepPlayerFile).
void replacePlayerFile(const std::filesystem::path& file, std::string_view text);

// Where the system keeps the player's files elsewhere than on a disk (a page: in the browser's
// storage), the file's new text is kept there too; nothing elsewhere. Throws
// std::runtime_error saying why it cannot. A file per system, with playerFolder.
void keepPlayerFile(const std::filesystem::path& file, std::string_view text);

}  // namespace orval
