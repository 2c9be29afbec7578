#include "scenes/model/language.h"

#include <algorithm>
#include <system_error>

#include "scenes/model/utf8_path.h"

namespace orval {

std::vector<std::string> languagesIn(const std::filesystem::path& baseDir) {
    std::vector<std::string> others;
    std::error_code error;
    for (const auto& file : std::filesystem::directory_iterator(baseDir / "po", error))
        if (file.path().extension() == ".po" && file.path().stem() != kCzech)
            others.push_back(utf8Of(file.path().stem()));
    std::sort(others.begin(), others.end());
    others.insert(others.begin(), std::string(kCzech));
    return others;
}

std::string sceneContext(std::string_view scene, std::string_view control) {
    return "scene " + std::string(scene) + ": " + std::string(control);
}

std::string messageContext(std::string_view message, std::string_view part) {
    return "message " + std::string(message) + ": " + std::string(part);
}

std::string cueContext(std::string_view clip, std::size_t cue) {
    return "clip " + std::string(clip) + ": cue " + std::to_string(cue);
}

std::string speakerContext(std::string_view speaker) { return "speaker " + std::string(speaker); }

Language Language::load(const std::filesystem::path& baseDir, std::string_view code,
                        const std::vector<std::string>& clips) {
    Language language;
    language.dataDir_ = baseDir / "data";
    if (code == kCzech) return language;
    language.code_ = std::string(code);
    language.catalogue_ = Catalogue::load(baseDir / "po" / (language.code_ + ".po"));
    std::error_code error;
    for (const std::string& clip : clips)
        if (std::filesystem::is_regular_file(baseDir / "zvuky" / code / pathFromUtf8(clip), error))
            language.ownClips_.insert(clip);
    return language;
}

std::string Language::text(std::string_view context, std::string_view czech) const {
    const std::string* found = catalogue_.find(context, czech);
    return found ? *found : std::string(czech);
}

std::string Language::picture(const std::string& relative) const {
    if (code_ == kCzech || relative.empty()) return relative;
    const std::size_t folder = relative.rfind('/') + 1;  // 0 when there is no folder
    const std::string twin = relative.substr(0, folder) + code_ + "/" + relative.substr(folder);
    std::error_code error;
    return std::filesystem::is_regular_file(dataDir_ / pathFromUtf8(twin), error) ? twin : relative;
}

std::string Language::clip(std::string_view name) const {
    return ownClips_.contains(name) ? "zvuky/" + code_ + "/" + std::string(name)
                                    : "zvuky/" + std::string(name);
}

std::filesystem::path Language::captionsFile() const {
    return code_ == kCzech ? std::filesystem::path("data") / "captions.tsv"
                           : std::filesystem::path("data") / code_ / "captions.tsv";
}

SceneDescription Language::localise(const SceneDescription& description) const {
    SceneDescription d = description;
    if (code_ == kCzech) return d;
    if (!d.caption.empty()) d.caption = text(sceneContext(d.name, kWindowTitle), d.caption);
    d.picture = picture(d.picture);
    for (ControlDescription& c : d.controls) {
        if (!c.caption.empty()) c.caption = text(sceneContext(d.name, c.name), c.caption);
        c.picture = picture(c.picture);
    }
    return d;
}

}  // namespace orval

namespace orval {
namespace {

// The marks stand in the panel below its last entry, their right edge under the entries' own.
constexpr int kMarkWidth = 19, kMarkHeight = 13, kMarkGap = 3;
constexpr int kMarksRight = 340, kMarksTop = 203;
constexpr std::string_view kMarkPrefix = "Language_";
constexpr std::string_view kChooseLanguage = "ChooseLanguage";
constexpr Colour kOutline{31, 26, 23};
constexpr Colour kPale{169, 213, 245};
constexpr Colour kDeep{17, 116, 225};
constexpr Colour kPanel{0, 124, 195};

}  // namespace

void addLanguageMarks(SceneDescription& menu, const std::vector<LanguageMark>& marks,
                      std::string_view chosen) {
    const int count = static_cast<int>(marks.size());
    int x = kMarksRight - count * kMarkWidth - (count - 1) * kMarkGap;
    for (const LanguageMark& mark : marks) {
        const bool lit = mark.code == chosen;
        const Rect area{x, kMarksTop, kMarkWidth, kMarkHeight};
        ControlDescription frame;
        frame.name = std::string(kMarkPrefix) + mark.code + "_frame";
        frame.kind = ControlKind::Shape;
        frame.rect = area;
        frame.borderColour = kOutline;
        ControlDescription label;
        label.name = std::string(kMarkPrefix) + mark.code;
        label.kind = ControlKind::Label;
        label.rect = area;
        label.caption = mark.label;
        label.font = {"", 7.5, true, false};
        label.foreColour = lit ? kDeep : kPale;
        label.backColour = lit ? kPale : kPanel;
        label.handlers[EventKind::Click] = std::string(kChooseLanguage);
        label.centred = true;
        // The frame lies in front of its label; after the menu's own controls, so that their
        // parents keep their places.
        menu.controls.push_back(std::move(frame));
        menu.controls.push_back(std::move(label));
        x += kMarkWidth + kMarkGap;
    }
}

std::string languageOfMark(const ControlDescription& control) {
    if (control.kind != ControlKind::Label || !control.name.starts_with(kMarkPrefix)) return {};
    const auto click = control.handlers.find(EventKind::Click);
    if (click == control.handlers.end() || click->second != kChooseLanguage) return {};
    return control.name.substr(kMarkPrefix.size());
}

}  // namespace orval
