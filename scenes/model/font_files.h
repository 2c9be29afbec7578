// Where the game's face lies on this system: found by the platform side (fontconfig, a folder
// beside the program, the packed files of a web page) and handed to the text layout.
#pragma once

#include <functional>
#include <map>
#include <string>

namespace orval {

struct FontFiles {
    // The file of each style found: "Regular", "Bold", "Italic", "Bold Italic".
    std::map<std::string, std::string> byStyle;
    // What the player can do when a style is missing, in the words of this system.
    std::string missingAdvice;
};

// Finds the files; called once, when text is first needed, as the search can be slow.
using FontLookup = std::function<FontFiles()>;

}  // namespace orval
