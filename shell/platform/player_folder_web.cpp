// A browser page: the player's files live in the browser's storage (localStorage), each under a
// key of the game's own ("orval-kesk/settings" for settings.conf), as game sites serve many
// games from one origin. The game reads and writes them as files of a folder in the page's
// memory, which the storage fills at start and hears of every replacement.
#include <emscripten.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "scenes/model/utf8_path.h"
#include "shell/platform/player_files.h"

namespace {

constexpr const char* kFolder = "/player";

// The page's side in JavaScript, which clang-format would take for C++.
// clang-format off

// Writes every kept file of the game into `folder`; storage that refuses (a private window,
// a blocked site) is said in one line of the console, and the game plays with the defaults.
EM_JS(void, orval_restore_player_files, (const char* folder), {
    const where = UTF8ToString(folder);
    try {
        for (let i = 0; i < localStorage.length; ++i) {
            const key = localStorage.key(i);
            if (!key.startsWith("orval-kesk/")) continue;
            const name = key.substring("orval-kesk/".length);
            if (!name.length || name.includes("/") || name.includes(".")) continue;
            FS.writeFile(where + "/" + name + ".conf", localStorage.getItem(key));
        }
    } catch (error) {
        console.warn("orval-kesk: the browser keeps nothing of the game's (" + error +
                     "); the game plays with the defaults");
    }
});

// Keeps `text` under the key of the file `name`: 1 when kept, 0 when the storage refuses.
EM_JS(int, orval_keep_player_file, (const char* name, const char* text), {
    try {
        localStorage.setItem("orval-kesk/" + UTF8ToString(name), UTF8ToString(text));
        return 1;
    } catch (error) {
        return 0;
    }
});

// clang-format on

}  // namespace

namespace orval {

std::filesystem::path playerFolder() {
    const std::filesystem::path folder(kFolder);
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) return folder;
    std::filesystem::create_directories(folder, error);
    if (error) throw std::runtime_error("no folder for the player's files: " + error.message());
    orval_restore_player_files(kFolder);
    return folder;
}

void writeToDisk(const std::filesystem::path& file, std::string_view text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error(std::strerror(errno));
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) throw std::runtime_error("the page's memory is full");
}

// Only the player's folder lives in the browser's storage: another file (a test's) is a file.
void keepPlayerFile(const std::filesystem::path& file, std::string_view text) {
    if (file.parent_path() != std::filesystem::path(kFolder) || file.extension() != ".conf") return;
    if (!orval_keep_player_file(utf8Of(file.stem()).c_str(), std::string(text).c_str()))
        throw std::runtime_error("the browser's storage refuses it");
}

}  // namespace orval
