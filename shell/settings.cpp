#include "shell/settings.h"

#include <stdexcept>
#include <vector>

#include "scenes/model/data_file.h"
#include "scenes/model/language.h"
#include "scenes/model/text_lines.h"
#include "scenes/model/utf8_path.h"
#include "shell/platform/player_files.h"

namespace orval {
namespace {

// The game writes a hundred bytes; a file much larger was never its own.
constexpr std::size_t kMaxSettingsBytes = 4096;
constexpr const char* kFileName = "settings.conf";

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

Settings parseSettings(std::string_view text, const std::string& fileName) {
    if (text.size() > kMaxSettingsBytes)
        throw DataFileError(fileName + ": too large for a settings file (" +
                            std::to_string(text.size()) + " bytes)");
    Settings settings;
    std::vector<std::string_view> seen;
    TextLines lines(text);
    while (const std::optional<std::string_view> next = lines.next()) {
        std::string_view line = *next;
        const int number = lines.number();
        const auto fail = [&](const std::string& what) {
            throw DataFileError(fileName + " line " + std::to_string(number) + ": " + what);
        };
        for (const char c : line)
            if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') ||
                static_cast<unsigned char>(c) >= 0x7F)
                fail("a byte no settings file holds (the file is damaged)");
        line = trimmed(line);
        if (line.empty() || line.front() == '#') continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) fail("not a setting (name = value)");
        const std::string_view name = trimmed(line.substr(0, equals));
        const std::string_view value = trimmed(line.substr(equals + 1));
        for (const std::string_view before : seen)
            if (before == name) fail(std::string(name) + " is set twice");
        seen.push_back(name);
        const auto onOrOff = [&]() {
            if (value != "on" && value != "off")
                fail(std::string(name) + " is \"" + std::string(value) + "\", not on or off");
            return value == "on";
        };
        if (name == "language") {
            if (!isLanguageCode(value))
                fail("language is \"" + std::string(value) + "\", not a language code (cs, en)");
            settings.language = std::string(value);
        } else if (name == "subtitles") {
            settings.subtitles = onOrOff();
        } else if (name == "sound") {
            settings.sound = onOrOff();
        } else if (name == "names") {
            settings.names = onOrOff();
        } else if (name == "speech") {
            settings.speech = onOrOff();
        } else {
            fail("no setting of the game is called \"" + std::string(name) + "\"");
        }
    }
    return settings;
}

std::string formatSettings(const Settings& settings) {
    std::string text = "# ORVAL KESK: the player's choices, written again whenever one changes.\n";
    if (settings.language) text += "language = " + *settings.language + "\n";
    text += std::string("subtitles = ") + (settings.subtitles ? "on" : "off") + "\n";
    text += std::string("sound = ") + (settings.sound ? "on" : "off") + "\n";
    text += std::string("names = ") + (settings.names ? "on" : "off") + "\n";
    if (settings.speech) text += "speech = on\n";
    return text;
}

KeptSettings KeptSettings::ofThePlayer(Report report) {
    std::filesystem::path folder;
    try {
        folder = playerFolder();
    } catch (const std::runtime_error& error) {
        return KeptSettings(std::nullopt, error.what(), std::move(report));
    }
    return KeptSettings(folder / kFileName, {}, std::move(report));
}

KeptSettings::KeptSettings(std::optional<std::filesystem::path> file, const std::string& whyNone,
                           Report report)
    : file_(std::move(file)), report_(std::move(report)) {
    if (!file_) {
        report_(whyNone + "; the settings are the defaults and are not kept");
        return;
    }
    try {
        settings_ = parseSettings(readDataFile(*file_, kMaxSettingsBytes), utf8Of(*file_));
    } catch (const DataFileError& error) {
        if (!error.missing())  // none yet is the first run, and no fault
            report_(std::string(error.what()) + "; playing with the default settings");
    }
}

void KeptSettings::update(const PlayerChoices& now) {
    Settings next = settings_;
    if (now.language != spoken_) {
        next.language = now.language;
        spoken_ = now.language;
    }
    next.subtitles = now.subtitles;
    next.sound = now.sound;
    next.names = now.names;
    next.speech = now.speech;
    if (next == settings_) return;
    // Another game may have written its own choices meanwhile: only what changed here is
    // changed, on what the file holds now (its defaults, when it is gone or damaged).
    Settings written;
    if (file_) try {
            written = parseSettings(readDataFile(*file_, kMaxSettingsBytes), utf8Of(*file_));
        } catch (const DataFileError&) {
            written = settings_;
        }
    if (next.language != settings_.language) written.language = next.language;
    if (next.subtitles != settings_.subtitles) written.subtitles = next.subtitles;
    if (next.sound != settings_.sound) written.sound = next.sound;
    if (next.names != settings_.names) written.names = next.names;
    if (next.speech != settings_.speech) written.speech = next.speech;
    settings_ = next;
    if (!file_) return;
    try {
        replacePlayerFile(*file_, formatSettings(written));
    } catch (const std::runtime_error& error) {
        if (!writeReported_) report_(std::string(error.what()) + "; the choice is not kept");
        writeReported_ = true;
    }
}

}  // namespace orval
