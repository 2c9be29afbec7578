// What is wrong with a data file before it is read: a folder, a FIFO or a device in a file's
// place would block the game for ever, and a few bytes of a picture can claim gigabytes.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace orval {

// Why the file cannot be read as a data file: "no such file X", "X is not a regular file (a
// folder)", "X cannot be read: ..."; empty when it can.
std::string fileProblem(const std::filesystem::path& file);
// The same, leaving the file open in `in` when it can be read: each data file is opened once
// (in a browser every opening is a call out to the page's file system).
std::string openDataFile(const std::filesystem::path& file, std::ifstream& in);

// The size a PNG file's header claims, read before anything is decoded, or what is wrong with
// the file instead (`problem` empty when nothing is).
struct PictureHeader {
    int width = 0, height = 0;
    std::string problem;
};
PictureHeader readPictureHeader(const std::filesystem::path& file);

}  // namespace orval
