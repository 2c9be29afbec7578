// The languages the game speaks: one place answers "this text, picture or clip, in the chosen
// language". Czech is the game's own; another language is data only: its catalogue
// po/CODE.po, its pictures under data/pictures/CODE/, its clips under zvuky/CODE/, the list of
// both in data/CODE/assets.txt and their subtitles in data/CODE/captions.tsv.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "scenes/model/catalogue.h"
#include "scenes/model/description.h"

namespace orval {

inline constexpr std::string_view kCzech = "cs";

// Czech first, then every language whose catalogue lies in po/ under `baseDir`, by its code
// (a file not named with a language code is no catalogue).
std::vector<std::string> languagesIn(const std::filesystem::path& baseDir);

// A language code as the game's catalogues are named: "cs", "en" (two or three small letters),
// "pt_BR" (with its region in two capitals).
bool isLanguageCode(std::string_view code);
// Why the game cannot speak `code` ("no language \"de\": the game speaks cs, en"), or empty
// when it can: the one check of a language asked for, from the command line, the environment,
// the settings, the menu or the start.
std::string unknownLanguage(std::string_view code, const std::vector<std::string>& languages);

// Where each translated text of the game is, as the catalogue's contexts name it.
std::string sceneContext(std::string_view scene, std::string_view control);
std::string nameContext(std::string_view scene, std::string_view control);  // what it is called
inline constexpr std::string_view kWindowTitle = "title";                   // a scene's own caption
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
inline constexpr FixedText kFixedTexts[] = {kErrorTitle, kOkButton, kSubtitlesTitle};

class Language {
  public:
    // Czech, from the game's own files.
    Language() = default;
    // Reads the catalogue po/CODE.po under `baseDir` and the list of the pictures and clips
    // the language has of its own, data/CODE/assets.txt (Czech reads nothing). `clips` are
    // the game's. Throws DataFileError naming the file.
    static Language load(const std::filesystem::path& baseDir, std::string_view code,
                         const std::vector<std::string>& clips);
    // Each picture of its own is the size of the one it replaces; throws DataFileError naming
    // the file. Apart from load, as a page's places' pictures come after its menu.
    void checkOwnPictures(const std::filesystem::path& baseDir) const;

    const std::string& code() const { return code_; }
    // The text in this language: its translation under `context`, or the Czech text itself.
    std::string text(std::string_view context, std::string_view czech) const;
    std::string text(const FixedText& fixed) const { return text(fixed.context, fixed.czech); }
    // Where the translation under `context` is written ("po/en.po:12"), for an error about it;
    // empty where the Czech text is shown.
    std::string whereIs(std::string_view context, std::string_view czech) const;
    // A picture of data/ ("pictures/bank.png"): its twin in pictures/CODE/ where the language
    // lists one.
    std::string picture(const std::string& relative) const;
    // A clip's path under the game's folder ("zvuky/en/go bank.wav"), the shared one
    // ("zvuky/alarm.wav") where this language lists none of its own.
    std::string clip(std::string_view name) const;
    // The subtitles of this language's clips, relative to the game's folder.
    std::filesystem::path captionsFile() const;
    // The list of its own pictures and clips, relative to the game's folder (none for Czech).
    std::filesystem::path assetsFile() const;
    // The description with its words and pictures in this language.
    SceneDescription localise(const SceneDescription& description) const;
    const Catalogue& catalogue() const { return catalogue_; }

  private:
    std::string code_{kCzech};
    Catalogue catalogue_;
    std::set<std::string, std::less<>> ownClips_, ownPictures_;
};

// Every language of the game and the one it speaks: the runtime's one answer to "in which
// language", read the first time it is needed.
class Languages {
  public:
    // The languages under `baseDir` (Czech, then every po/*.po), speaking `code`, for a game
    // that plays `clips`; nothing is read yet.
    Languages(std::filesystem::path baseDir, std::string code, std::vector<std::string> clips);

    // The codes, Czech first.
    const std::vector<std::string>& codes() const { return codes_; }
    // The code of the language spoken.
    const std::string& code() const { return code_; }
    // Whether the languages have been read (before, the shell's own words are Czech).
    bool isRead() const { return spoken_ != nullptr; }
    // The language spoken. The first call reads every language (a damaged file throws
    // DescriptionError); it throws for a language the game does not have.
    const Language& spoken();
    // Checks the pictures of every language read (Language::checkOwnPictures).
    void checkOwnPictures() const;
    // The language of this code, read as spoken() reads; throws for one the game does not have.
    const Language& of(std::string_view code);
    // Speaks the language of this code from now on; throws for one the game does not have.
    void speak(std::string_view code);

    // What the shell draws itself, in the language spoken; Czech before it was read.
    std::string fixedText(const FixedText& text) const;
    // The scene as the language spoken shows it: its words and pictures, and the marks of
    // every language where it holds their template (when the game has more than one).
    SceneDescription localise(const SceneDescription& source);
    // The subtitles' speakers by key, named in the language spoken.
    std::map<std::string, std::string, std::less<>> speakerNames();

  private:
    std::filesystem::path baseDir_;
    std::vector<std::string> codes_;
    std::string code_;
    std::vector<std::string> clips_;
    std::map<std::string, Language, std::less<>> byCode_;  // every language, once read
    const Language* spoken_ = nullptr;                     // once read
};

// The marks of the languages made from the template (`ForEachLanguage`) of the scene, which
// they replace: side by side, the last one where the template stands and the others to its
// left, each a label in a frame that a click or the focus mark reaches, its words the
// template's caption in its own language, the chosen one lit. `marks` are (code, label).
void placeLanguageMarks(SceneDescription& scene,
                        const std::vector<std::pair<std::string, std::string>>& marks,
                        std::string_view chosen);

}  // namespace orval
