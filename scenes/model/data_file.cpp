#include "scenes/model/data_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <system_error>

namespace orval {

std::string openDataFile(const std::filesystem::path& file, std::ifstream& in) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return "no such file " + file.string();
    if (error) return file.string() + " cannot be read: " + error.message();
    if (status.type() != std::filesystem::file_type::regular) {
        const char* what = status.type() == std::filesystem::file_type::directory ? "a folder"
                           : status.type() == std::filesystem::file_type::fifo    ? "a FIFO"
                                                                                  : "a device";
        return file.string() + " is not a regular file (" + what + ")";
    }
    in.open(file, std::ios::binary);
    if (!in) return file.string() + " cannot be read: " + std::strerror(errno);
    return {};
}

std::string fileProblem(const std::filesystem::path& file) {
    std::ifstream in;
    return openDataFile(file, in);
}

PictureHeader readPictureHeader(const std::filesystem::path& file) {
    PictureHeader picture;
    std::ifstream in;
    picture.problem = openDataFile(file, in);
    if (!picture.problem.empty()) return picture;
    unsigned char header[24] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    constexpr unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (in.gcount() != sizeof header ||
        !std::equal(std::begin(kSignature), std::end(kSignature), header) ||
        std::string_view(reinterpret_cast<const char*>(header + 12), 4) != "IHDR") {
        picture.problem = file.string() + " is not a PNG picture";
        return picture;
    }
    const auto bigEndian = [&](int at) {
        return (std::uint32_t{header[at]} << 24) | (std::uint32_t{header[at + 1]} << 16) |
               (std::uint32_t{header[at + 2]} << 8) | std::uint32_t{header[at + 3]};
    };
    // PNG allows up to 2^31 - 1 a side; more would be no PNG at all.
    const std::uint32_t width = bigEndian(16), height = bigEndian(20);
    if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX) {
        picture.problem = file.string() + " claims a size of " + std::to_string(width) + " x " +
                          std::to_string(height) + " pixels";
        return picture;
    }
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    return picture;
}

}  // namespace orval
