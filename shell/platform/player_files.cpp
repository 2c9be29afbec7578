#include "shell/platform/player_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <stdexcept>
#include <system_error>

#include <SDL_filesystem.h>
#include <SDL_locale.h>
#include <SDL_stdinc.h>

#include "scenes/model/utf8_path.h"

namespace orval {

std::vector<std::string> preferredLanguages() {
    std::vector<std::string> languages;
    // SDL puts LANG before LANGUAGE; gettext, and so every other program of the desktop, the
    // other way round: LANGUAGE=en speaks English whatever LANG says.
    if (const char* language = std::getenv("LANGUAGE")) {
        const std::string_view list(language);
        for (std::size_t start = 0; start <= list.size();) {
            const std::size_t end = std::min(list.find(':', start), list.size());
            if (end > start) languages.emplace_back(list.substr(start, end - start));
            start = end + 1;
        }
    }
    const std::unique_ptr<SDL_Locale, decltype(&SDL_free)> locales(SDL_GetPreferredLocales(),
                                                                   &SDL_free);
    for (const SDL_Locale* locale = locales.get(); locale && locale->language; ++locale) {
        // Appended, not joined with "_" + ...: mingw's g++ 12 sees an overlap there that is none.
        std::string name = locale->language;
        if (locale->country) name.append("_").append(locale->country);
        languages.push_back(std::move(name));
    }
    return languages;
}

std::filesystem::path playerFolder() {
    const std::unique_ptr<char, decltype(&SDL_free)> folder(SDL_GetPrefPath("", "orval-kesk"),
                                                            &SDL_free);
    if (!folder)
        throw std::runtime_error(std::string("no folder for the player's files: ") +
                                 SDL_GetError());
    return pathFromUtf8(folder.get());
}

void replacePlayerFile(const std::filesystem::path& file, std::string_view text) {
    // A name of this run's own: two games started at once never write into one another's.
    std::random_device random;
    std::filesystem::path temporary = file;
    std::string suffix = ".";  // appended: mingw's g++ 12 sees an overlap in "." + ... that is none
    suffix += std::to_string(random() % 1000000);
    suffix += ".new";
    temporary += suffix;
    const auto failure = [&](const std::string& why) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return std::runtime_error(utf8Of(file) + " cannot be written: " + why);
    };
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) throw failure(std::strerror(errno));
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (!out) throw failure("the disk is full or failing");
    }
    std::error_code error;
    std::filesystem::rename(temporary, file, error);
    if (error) throw failure(error.message());
}

}  // namespace orval
