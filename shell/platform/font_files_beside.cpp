// The face the game brings along, in fonts/ beside the program: Windows has no fontconfig.
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
    char* base = SDL_GetBasePath();
    if (!base) return files;
    const std::string folder = std::string(base) + "fonts/";
    SDL_free(base);
    for (const char* style : {"Regular", "Bold", "Italic", "Bold Italic"}) {
        const std::string name = style == std::string("Bold Italic") ? "BoldItalic" : style;
        std::string file = folder + "LiberationSans-" + name + ".ttf";
        // Opened by its UTF-8 name, as SDL_ttf will open it.
        if (SDL_RWops* readable = SDL_RWFromFile(file.c_str(), "rb")) {
            SDL_RWclose(readable);
            files.byStyle[style] = std::move(file);
        }
    }
    return files;
}

}  // namespace orval
