#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <stdexcept>

#include <SDL_error.h>
#include <SDL_filesystem.h>
#include <SDL_stdinc.h>

#include "scenes/model/utf8_path.h"
#include "shell/platform/player_files.h"

// Windows: the player's folder where SDL keeps such files, which the system's own
// rules decide there.
namespace orval {

std::filesystem::path playerFolder() {
    const std::unique_ptr<char, decltype(&SDL_free)> folder(SDL_GetPrefPath("", "orval-kesk"),
                                                            &SDL_free);
    if (!folder)
        throw std::runtime_error(std::string("no folder for the player's files: ") +
                                 SDL_GetError());
    return pathFromUtf8(folder.get());
}

void writeToDisk(const std::filesystem::path& file, std::string_view text) {
    // The stream's own flush: neither system's runtime offers the standard library a sync.
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error(std::strerror(errno));
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) throw std::runtime_error("the disk is full or failing");
}

// The file on the disk is all the system keeps.
void keepPlayerFile(const std::filesystem::path&, std::string_view) {}

}  // namespace orval
