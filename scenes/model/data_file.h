// Reading a file of the game's data, or the player's settings, before anything trusts it: a
// folder, a FIFO or a device in a file's place would block the game for ever, a file of
// gigabytes would be read whole, and a few bytes of a picture can claim gigabytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace orval {

// A file the game cannot use: missing, not a regular file, unreadable, longer than such a file
// may be, or damaged inside. The message names the file and what is wrong (and the line, where
// there is one).
class DataFileError : public std::runtime_error {
  public:
    explicit DataFileError(const std::string& message, bool missing = false)
        : std::runtime_error(message), missing_(missing) {}

    // Not there at all, which for the settings file is only a player who has chosen nothing yet.
    bool missing() const { return missing_; }

  private:
    bool missing_ = false;
};

// The whole of a file that must be a regular file of at most `limit` bytes, opened once (in a
// browser every opening is a call out to the page's file system). Throws DataFileError: "no such
// file X", "X is not a regular file (a folder)", "X cannot be read: ...", "X is N bytes long,
// more than L".
std::string readDataFile(const std::filesystem::path& file, std::uintmax_t limit);

// The size a PNG file's header claims, read before anything is decoded, or what is wrong with
// the file instead (`problem` empty when nothing is).
struct PictureHeader {
    int width = 0, height = 0;
    std::string problem;
};
PictureHeader readPictureHeader(const std::filesystem::path& file);

}  // namespace orval
