#include "scenes/model/language.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

#include "scenes/model/captions.h"
#include "scenes/model/data_file.h"
#include "scenes/model/loader.h"
#include "scenes/model/text_lines.h"
#include "scenes/model/utf8_path.h"

namespace orval {

bool isLanguageCode(std::string_view code) {
    const auto all = [](std::string_view part, char from, char to) {
        return std::all_of(part.begin(), part.end(), [=](char c) { return c >= from && c <= to; });
    };
    // A region after the language, as gettext names its catalogues: "pt_BR".
    const std::size_t bar = code.find('_');
    const std::string_view language = code.substr(0, bar);
    const bool region = bar == std::string_view::npos ||
                        (code.size() - bar == 3 && all(code.substr(bar + 1), 'A', 'Z'));
    return language.size() >= 2 && language.size() <= 3 && all(language, 'a', 'z') && region;
}

std::string unknownLanguage(std::string_view code, const std::vector<std::string>& languages) {
    if (std::find(languages.begin(), languages.end(), code) != languages.end()) return {};
    std::string spoken;
    for (const std::string& language : languages) spoken += (spoken.empty() ? "" : ", ") + language;
    return "no language \"" + std::string(code) + "\": the game speaks " + spoken;
}

std::vector<std::string> languagesIn(const std::filesystem::path& baseDir) {
    std::vector<std::string> others;
    std::error_code error;
    for (const auto& file : std::filesystem::directory_iterator(baseDir / "po", error))
        // Only what the settings can keep is offered: the language chosen is read back.
        if (file.path().extension() == ".po" && file.path().stem() != kCzech &&
            isLanguageCode(utf8Of(file.path().stem())))
            others.push_back(utf8Of(file.path().stem()));
    std::sort(others.begin(), others.end());
    others.insert(others.begin(), std::string(kCzech));
    return others;
}

std::string sceneContext(std::string_view scene, std::string_view control) {
    return "scene " + std::string(scene) + ": " + std::string(control);
}

std::string nameContext(std::string_view scene, std::string_view control) {
    return "name " + std::string(scene) + ": " + std::string(control);
}

std::string messageContext(std::string_view message, std::string_view part) {
    return "message " + std::string(message) + ": " + std::string(part);
}

std::string cueContext(std::string_view clip, std::size_t cue) {
    return "clip " + std::string(clip) + ": cue " + std::to_string(cue);
}

std::string speakerContext(std::string_view speaker) { return "speaker " + std::string(speaker); }

namespace {

// The game's lists are a few dozen lines; a file much larger was never one of them.
constexpr std::uintmax_t kMaxAssetListBytes = 64 * 1024;

}  // namespace

Language Language::load(const std::filesystem::path& baseDir, std::string_view code,
                        const std::vector<std::string>& clips) {
    Language language;
    if (code == kCzech) return language;
    language.code_ = std::string(code);
    language.catalogue_ = Catalogue::load(baseDir / "po" / (language.code_ + ".po"));
    // What the language has of its own is listed where its assets are made, not looked for:
    // a web page's data holds no clip until it is played.
    const std::filesystem::path file = baseDir / language.assetsFile();
    const std::string fileName = file.string();
    const std::string text = readDataFile(file, kMaxAssetListBytes);
    if (!isUtf8(text)) throw DataFileError(fileName + ": not UTF-8 text");
    const std::set<std::string_view> known(clips.begin(), clips.end());
    TextLines lines(text);
    while (const std::optional<std::string_view> next = lines.next()) {
        const std::string_view line = *next;
        const auto fail = [&](const std::string& what) {
            throw DataFileError(fileName + ":" + std::to_string(lines.number()) + ": " + what);
        };
        if (line.empty() || line.front() == '#') continue;
        const std::size_t tab = line.find('\t');
        const std::string_view kind = line.substr(0, tab);
        const std::string name(tab == std::string_view::npos ? "" : line.substr(tab + 1));
        if (name.empty() || name.find('\t') != std::string::npos)
            fail("a line is clip or picture, a tab and a file name");
        std::set<std::string, std::less<>>* own = nullptr;
        if (kind == "clip") {
            if (!known.contains(name)) fail(name + " is not a clip of the game");
            own = &language.ownClips_;
        } else if (kind == "picture") {
            if (!name.starts_with("pictures/") || !name.ends_with(".png") ||
                name.find("..") != std::string::npos)
                fail(name + " is no picture under pictures/");
            own = &language.ownPictures_;
        } else {
            fail("neither a clip nor a picture: " + std::string(kind));
        }
        if (!own->insert(name).second) fail(name + " is listed twice");
    }
    return language;
}

void Language::checkOwnPictures(const std::filesystem::path& baseDir) const {
    // The scenes place their controls and hotspots on the shared picture: its twin is drawn in
    // its place, so it must be that size (the larger scales are checked against it when drawn).
    for (const std::string& shared : ownPictures_) {
        const std::filesystem::path data = baseDir / "data";
        const PictureHeader czech = readPictureHeader(data / shared);
        const PictureHeader own = readPictureHeader(data / picture(shared));
        for (const PictureHeader* header : {&czech, &own})
            if (!header->problem.empty()) throw DataFileError(header->problem);
        if (own.width != czech.width || own.height != czech.height)
            throw DataFileError(utf8Of(data / picture(shared)) + " is " +
                                std::to_string(own.width) + " x " + std::to_string(own.height) +
                                " pixels, not the " + std::to_string(czech.width) + " x " +
                                std::to_string(czech.height) + " of the picture it replaces");
    }
}

void Languages::checkOwnPictures() const {
    for (const auto& [code, language] : byCode_) language.checkOwnPictures(baseDir_);
}

std::string Language::text(std::string_view context, std::string_view czech) const {
    const std::string* found = catalogue_.find(context, czech);
    return found ? *found : std::string(czech);
}

std::string Language::whereIs(std::string_view context, std::string_view czech) const {
    if (!catalogue_.find(context, czech)) return {};
    for (const CatalogueEntry& entry : catalogue_.entries())
        if (entry.context == context && entry.czech == czech)
            return "po/" + code_ + ".po:" + std::to_string(entry.line);
    return {};
}

std::string Language::picture(const std::string& relative) const {
    if (!ownPictures_.contains(relative)) return relative;
    const std::size_t folder = relative.rfind('/') + 1;
    return relative.substr(0, folder) + code_ + "/" + relative.substr(folder);
}

std::string Language::clip(std::string_view name) const {
    return ownClips_.contains(name) ? "zvuky/" + code_ + "/" + std::string(name)
                                    : "zvuky/" + std::string(name);
}

std::filesystem::path Language::captionsFile() const {
    return code_ == kCzech ? std::filesystem::path("data") / "captions.tsv"
                           : std::filesystem::path("data") / code_ / "captions.tsv";
}

std::filesystem::path Language::assetsFile() const {
    return code_ == kCzech ? std::filesystem::path()
                           : std::filesystem::path("data") / code_ / "assets.txt";
}

SceneDescription Language::localise(const SceneDescription& description) const {
    SceneDescription d = description;
    if (code_ == kCzech) return d;
    if (!d.caption.empty()) d.caption = text(sceneContext(d.name, kWindowTitle), d.caption);
    d.picture = picture(d.picture);
    for (ControlDescription& c : d.controls) {
        if (!c.caption.empty()) c.caption = text(sceneContext(d.name, c.name), c.caption);
        if (!c.called.empty()) c.called = text(nameContext(d.name, c.name), c.called);
        c.picture = picture(c.picture);
    }
    return d;
}

Languages::Languages(std::filesystem::path baseDir, std::string code,
                     std::vector<std::string> clips)
    : baseDir_(std::move(baseDir)),
      codes_(languagesIn(baseDir_)),
      code_(std::move(code)),
      clips_(std::move(clips)) {}

const Language& Languages::spoken() {
    if (!spoken_) spoken_ = &of(code_);
    return *spoken_;
}

const Language& Languages::of(std::string_view code) {
    if (const std::string unknown = unknownLanguage(code, codes_); !unknown.empty())
        throw std::runtime_error(unknown);
    // All at once, so that a damaged file of any language is reported at the start.
    for (const std::string& each : codes_)
        if (!byCode_.contains(each)) byCode_.emplace(each, Language::load(baseDir_, each, clips_));
    return byCode_.find(code)->second;
}

void Languages::speak(std::string_view code) {
    spoken_ = &of(code);
    code_ = std::string(code);
}

std::string Languages::fixedText(const FixedText& text) const {
    return spoken_ ? spoken_->text(text) : std::string(text.czech);
}

SceneDescription Languages::localise(const SceneDescription& source) {
    SceneDescription shown = spoken().localise(source);
    const auto mark = std::find_if(source.controls.begin(), source.controls.end(),
                                   [](const ControlDescription& c) { return c.forEachLanguage; });
    if (mark == source.controls.end()) return shown;
    std::vector<std::pair<std::string, std::string>> marks;
    for (const std::string& code : codes_)
        marks.emplace_back(code,
                           of(code).text(sceneContext(source.name, mark->name), mark->caption));
    placeLanguageMarks(shown, marks, code_);
    // Each mark is called by its language's name in that language, as it is written.
    for (ControlDescription& c : shown.controls)
        if (!c.language.empty())
            c.called = of(c.language).text(nameContext(source.name, mark->name), mark->called);
    return shown;
}

std::map<std::string, std::string, std::less<>> Languages::speakerNames() {
    std::map<std::string, std::string, std::less<>> names;
    for (const Speaker& s : speakers())
        names.emplace(s.key, spoken().text(speakerContext(s.key), s.name));
    return names;
}

void placeLanguageMarks(SceneDescription& scene,
                        const std::vector<std::pair<std::string, std::string>>& marks,
                        std::string_view chosen) {
    std::vector<ControlDescription> placed;
    std::vector<int> movedTo(scene.controls.size(), -1);  // the controls after the template
    for (std::size_t i = 0; i < scene.controls.size(); ++i) {
        ControlDescription& c = scene.controls[i];
        if (c.parent >= 0) c.parent = movedTo[static_cast<std::size_t>(c.parent)];
        if (!c.forEachLanguage) {
            movedTo[i] = static_cast<int>(placed.size());
            placed.push_back(std::move(c));
            continue;
        }
        if (marks.size() < 2) continue;  // a game of one language offers no choice
        const ControlDescription::LanguageMarks look = *c.forEachLanguage;
        const int step = c.rect.w + look.gap;
        int x = c.rect.x - static_cast<int>(marks.size() - 1) * step;
        for (const auto& [code, words] : marks) {
            ControlDescription frame;
            frame.name = c.name + "_" + code + "_frame";
            frame.kind = ControlKind::Shape;
            frame.parent = c.parent;
            frame.rect = {x, c.rect.y, c.rect.w, c.rect.h};
            frame.visible = c.visible;
            frame.borderColour = look.border;
            ControlDescription label = c;
            label.name = c.name + "_" + code;
            label.rect.x = x;
            label.caption = words;
            label.language = code;
            label.forEachLanguage.reset();
            if (code == chosen) {
                label.foreColour = look.chosenFore;
                label.backColour = look.chosenBack;
            }
            // The frame lies in front of its label.
            placed.push_back(std::move(frame));
            placed.push_back(std::move(label));
            x += step;
        }
    }
    scene.controls = std::move(placed);
}

}  // namespace orval
