// The face the game brings along, in fonts/ beside the program: Windows has no fontconfig.
#include <memory>
#include <string>

#include <SDL_filesystem.h>
#include <SDL_rwops.h>
#include <SDL_stdinc.h>

#include "shell/platform/font_files.h"

namespace orval {

FontFiles systemFontFiles() {
    FontFiles files;
    files.missingAdvice =
        "the font Liberation Sans is missing from fonts\\ beside the program (unpack the whole "
        "zip)";
    const std::unique_ptr<char, decltype(&SDL_free)> base(SDL_GetBasePath(), &SDL_free);
    if (!base) return files;
    const std::string folder = std::string(base.get()) + "fonts/";
    for (const char* style : {"Regular", "Bold", "Italic", "Bold Italic"}) {
        const std::string name = style == std::string("Bold Italic") ? "BoldItalic" : style;
        std::string file = folder + "LiberationSans-" + name + ".ttf";
        // Opened by its UTF-8 name, as SDL_ttf will open it.
        const std::unique_ptr<SDL_RWops, decltype(&SDL_RWclose)> readable(
            SDL_RWFromFile(file.c_str(), "rb"), &SDL_RWclose);
        if (readable) files.byStyle[style] = std::move(file);
    }
    return files;
}

}  // namespace orval
