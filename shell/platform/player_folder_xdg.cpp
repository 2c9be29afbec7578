#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include "scenes/model/utf8_path.h"
#include "shell/platform/player_files.h"

// Linux: the player's folder as the XDG rules say, and files synced as POSIX does it.
namespace orval {

std::filesystem::path playerFolder() {
    // Decided here, not by SDL: it takes an empty XDG_DATA_HOME for the root of the disk.
    const std::filesystem::path folder =
        dataHome(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")) / "orval-kesk";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw std::runtime_error("no folder for the player's files: " + utf8Of(folder) + ": " +
                                 error.message());
    return folder;
}

void writeToDisk(const std::filesystem::path& file, std::string_view text) {
    const int out = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) throw std::runtime_error(std::strerror(errno));
    // Closed whatever happens: the descriptor is this function's alone.
    struct Closing {
        int fd;
        ~Closing() { ::close(fd); }
    } closing{out};
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t wrote = ::write(out, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) throw std::runtime_error("the disk is full or failing");
        done += static_cast<std::size_t>(wrote);
    }
    // On the disk before the rename: a machine that stops meanwhile keeps the old text whole.
    if (::fsync(out) != 0) throw std::runtime_error("the disk is full or failing");
}

// The file on the disk is all the system keeps.
void keepPlayerFile(const std::filesystem::path&, std::string_view) {}

}  // namespace orval
