#include "shell/platform/player_files.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>
#include <stdexcept>
#include <system_error>

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

std::filesystem::path dataHome(const char* xdgDataHome, const char* home) {
    // An empty or relative XDG_DATA_HOME is no choice of the player's, and is passed over.
    if (xdgDataHome && std::filesystem::path(xdgDataHome).is_absolute()) return xdgDataHome;
    if (!home || !std::filesystem::path(home).is_absolute())
        throw std::runtime_error("no folder for the player's files: HOME names none");
    return std::filesystem::path(home) / ".local" / "share";
}

namespace {

// A write no game can still finish: its game was killed before it renamed it.
constexpr auto kLeftoverAge = std::chrono::minutes(1);

// Removes what killed writes of `file` left beside it; a younger one is another game's, still
// being written.
void removeLeftovers(const std::filesystem::path& file) {
    std::error_code error;
    const std::string stem = file.filename().string() + ".";
    const auto now = std::filesystem::file_time_type::clock::now();
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path(), error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(stem) || !name.ends_with(".new")) continue;
        std::error_code ignored;
        const auto written = std::filesystem::last_write_time(entry.path(), ignored);
        if (!ignored && now - written > kLeftoverAge)
            std::filesystem::remove(entry.path(), ignored);
    }
}

}  // namespace

void replacePlayerFile(const std::filesystem::path& link, std::string_view text) {
    // A file kept elsewhere (a folder of the player's own files) is written where it lies.
    std::filesystem::path file = link;
    std::error_code linkError;
    if (std::filesystem::is_symlink(link, linkError)) {
        file = std::filesystem::weakly_canonical(link, linkError);
        if (linkError)
            throw std::runtime_error(utf8Of(link) + " cannot be written: " + linkError.message());
    }
    removeLeftovers(file);
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
    try {
        writeToDisk(temporary, text);
    } catch (const std::runtime_error& error) {
        throw failure(error.what());
    }
    std::error_code error;
    std::filesystem::rename(temporary, file, error);
    if (error) throw failure(error.message());
    try {
        keepPlayerFile(file, text);
    } catch (const std::runtime_error& refused) {
        throw std::runtime_error(utf8Of(file) + " cannot be kept: " + refused.what());
    }
}

}  // namespace orval
