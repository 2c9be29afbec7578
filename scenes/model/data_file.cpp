#include "scenes/model/data_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <system_error>

#include "scenes/model/utf8_path.h"

namespace orval {
namespace {

// What keeps a file from being read, said the way the player's messages say it.
struct OpenProblem {
    std::string what;  // empty when the file is open
    bool missing = false;
};

// Looks at the file's kind before opening it, and leaves it open in `in` when it can be read.
OpenProblem openDataFile(const std::filesystem::path& file, std::ifstream& in) {
    const std::string name = utf8Of(file);
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return {"no such file " + name, true};
    if (error) return {name + " cannot be read: " + error.message()};
    if (status.type() != std::filesystem::file_type::regular) {
        const char* what = status.type() == std::filesystem::file_type::directory ? "a folder"
                           : status.type() == std::filesystem::file_type::fifo    ? "a FIFO"
                                                                                  : "a device";
        return {name + " is not a regular file (" + what + ")"};
    }
    in.open(file, std::ios::binary);
    if (!in) return {name + " cannot be read: " + std::strerror(errno)};
    return {};
}

}  // namespace

std::string readDataFile(const std::filesystem::path& file, std::uintmax_t limit) {
    std::ifstream in;
    if (const OpenProblem problem = openDataFile(file, in); !problem.what.empty())
        throw DataFileError(problem.what, problem.missing);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error) throw DataFileError(utf8Of(file) + " cannot be read: " + error.message());
    if (size > limit)
        throw DataFileError(utf8Of(file) + " is " + std::to_string(size) +
                            " bytes long, more than " + std::to_string(limit));
    // Read in one piece, not copied through a string stream.
    std::string text(static_cast<std::size_t>(size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(size));
    if (in.bad()) throw DataFileError(utf8Of(file) + " cannot be read");
    text.resize(static_cast<std::size_t>(in.gcount()));  // shorter if it shrank meanwhile
    return text;
}

PictureHeader readPictureHeader(const std::filesystem::path& file) {
    PictureHeader picture;
    std::ifstream in;
    picture.problem = openDataFile(file, in).what;
    if (!picture.problem.empty()) return picture;
    unsigned char header[24] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    constexpr unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (in.gcount() != sizeof header ||
        !std::equal(std::begin(kSignature), std::end(kSignature), header) ||
        std::string_view(reinterpret_cast<const char*>(header + 12), 4) != "IHDR") {
        picture.problem = utf8Of(file) + " is not a PNG picture";
        return picture;
    }
    const auto bigEndian = [&](int at) {
        return (std::uint32_t{header[at]} << 24) | (std::uint32_t{header[at + 1]} << 16) |
               (std::uint32_t{header[at + 2]} << 8) | std::uint32_t{header[at + 3]};
    };
    // PNG allows up to 2^31 - 1 a side; more would be no PNG at all.
    const std::uint32_t width = bigEndian(16), height = bigEndian(20);
    if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX) {
        picture.problem = utf8Of(file) + " claims a size of " + std::to_string(width) + " x " +
                          std::to_string(height) + " pixels";
        return picture;
    }
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    return picture;
}

}  // namespace orval
