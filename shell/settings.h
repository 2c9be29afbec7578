// The player's choices kept between runs (the language chosen on the menu, T's subtitles, M's
// sound, L's names) in a small file of the player's own (lines of `name = value`, and # comments),
// read once at start and written again whenever one of them changes.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orval {

// What the settings file keeps.
struct Settings {
    // Chosen on the menu; without it the player's languages decide at every start.
    std::optional<std::string> language;
    bool subtitles = true;
    bool sound = true;
    bool names = true;  // L: the name line under the pointer
    bool speech = false;  // S: the announcements read aloud
    friend bool operator==(const Settings&, const Settings&) = default;
};

// The choices the game plays with now, as the runtime reports them.
struct PlayerChoices {
    std::string language;
    bool subtitles = true;
    bool sound = true;
    bool names = true;
    bool speech = false;
};

// The settings file's text; throws DataFileError naming `fileName`, the line and what is
// wrong: a line that is no setting, one the game does not know or given twice, a value it cannot
// take, a byte no such file holds, a file far too large.
Settings parseSettings(std::string_view text, const std::string& fileName);
// The text parseSettings reads back as `settings`.
std::string formatSettings(const Settings& settings);

// The settings file of one player, kept in step with the game. Nothing here stops the game: a
// file that cannot be read, is damaged or cannot be written is reported in one line, and the
// game plays on with the defaults (or with what it has).
class KeptSettings {
  public:
    using Report = std::function<void(const std::string& line)>;

    // The file in the platform's folder for the player's files of this game.
    static KeptSettings ofThePlayer(Report report);

    // Reads `file` (nothing yet is the first run, and no fault); without a file, `whyNone` says
    // why there is none and nothing is kept.
    KeptSettings(std::optional<std::filesystem::path> file, const std::string& whyNone,
                 Report report);

    const Settings& settings() const { return settings_; }

    // The game speaks `language` from its start: a change of it is the player's choice on the
    // menu, kept from then on.
    void startIn(std::string language) { spoken_ = std::move(language); }

    // The game's choices now; the file is written at once when they differ from what it keeps.
    void update(const PlayerChoices& now);

  private:
    std::optional<std::filesystem::path> file_;
    Report report_;
    Settings settings_;
    std::string spoken_;
    bool writeReported_ = false;  // one line for a file that cannot be written, not one a key
};

}  // namespace orval
