// The language the game speaks: one place answers "this text, picture or clip, in the chosen
// language". Czech is the game's own; another language is data only: its catalogue
// po/CODE.po, its pictures under data/pictures/CODE/, its clips under zvuky/CODE/ and their
// subtitles in data/CODE/captions.tsv.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "scenes/model/catalogue.h"
#include "scenes/model/description.h"

namespace orval {

inline constexpr std::string_view kCzech = "cs";

// Czech first, then every language whose catalogue lies in po/ under `baseDir`, by its code.
std::vector<std::string> languagesIn(const std::filesystem::path& baseDir);

// Where each translated text of the game is, as the catalogue's contexts name it.
std::string sceneContext(std::string_view scene, std::string_view control);
inline constexpr std::string_view kWindowTitle = "title";  // a scene's own caption
std::string messageContext(std::string_view message, std::string_view part);
std::string cueContext(std::string_view clip, std::size_t cue);  // cues counted from 1
std::string speakerContext(std::string_view speaker);

// A text the shell draws itself, under its context.
struct FixedText {
    std::string_view context, czech;
};
inline constexpr FixedText kErrorTitle{"box: error title", "ORVAL KESK – chyba"};
inline constexpr FixedText kOkButton{"box: OK", "OK"};
inline constexpr FixedText kSubtitlesTitle{"subtitles: window title", "Titulky"};
// A language's mark on the main menu.
inline constexpr FixedText kLanguageMark{"menu: language mark", "CZ"};
inline constexpr FixedText kFixedTexts[] = {kErrorTitle, kOkButton, kSubtitlesTitle, kLanguageMark};

class Language {
  public:
    // Czech, from the game's own files.
    Language() = default;
    // Reads the catalogue po/CODE.po under `baseDir` (Czech reads nothing) and learns which
    // pictures and clips have twins in this language. Throws DataFileError.
    static Language load(const std::filesystem::path& baseDir, std::string_view code,
                         const std::vector<std::string>& clips);

    const std::string& code() const { return code_; }
    // The text in this language: its translation under `context`, or the Czech text itself.
    std::string text(std::string_view context, std::string_view czech) const;
    std::string text(const FixedText& fixed) const { return text(fixed.context, fixed.czech); }
    // A picture of data/ ("pictures/bank.png"): its twin in pictures/CODE/ where there is one.
    std::string picture(const std::string& relative) const;
    // A clip's path under the game's folder ("zvuky/en/go bank.wav"), the shared one
    // ("zvuky/alarm.wav") where this language has none of its own.
    std::string clip(std::string_view name) const;
    // The subtitles of this language's clips, relative to the game's folder.
    std::filesystem::path captionsFile() const;
    // The description with its words and pictures in this language.
    SceneDescription localise(const SceneDescription& description) const;
    const Catalogue& catalogue() const { return catalogue_; }

  private:
    std::string code_{kCzech};
    std::filesystem::path dataDir_;
    Catalogue catalogue_;
    std::set<std::string, std::less<>> ownClips_;
};

}  // namespace orval

namespace orval {

// The marks of the languages on the main menu, one a language in the lower right corner of its
// panel, each a label in a frame that a click or the focus mark reaches; the chosen one lit.
struct LanguageMark {
    std::string code, label;  // "en", "EN"
};
void addLanguageMarks(SceneDescription& menu, const std::vector<LanguageMark>& marks,
                      std::string_view chosen);
// The language a control of the menu chooses, or empty when it is no language's mark.
std::string languageOfMark(const ControlDescription& control);

}  // namespace orval
