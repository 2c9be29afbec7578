// File names as the game keeps them, in UTF-8 as SDL opens them, and as the file system takes
// them: on Windows a path made from a plain string reads it in the local code page, so a
// clip's Czech name or a player's folder would name another file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orval {

inline std::filesystem::path pathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace orval
