// orval-snapshot: renders one scene headlessly to a PNG, optionally with every hotspot
// outlined and named, so that art and hotspots can be checked by eye.
//
//   orval-snapshot SCENE OUT.png [--hotspots] [--scale K] [--visible CONTROL]
//                               [--hidden CONTROL] [--enabled CONTROL] [--disabled CONTROL]
//                               [--lang CODE] [--box MESSAGE | --card | --clip NAME [--cue N]]
//                               [--point X Y]
//
// --scale K (1 to 4) draws the scene as a screen showing the game at K times its size does.
// --lang CODE draws it in that language. --box draws the message box of that id instead, --card
// the card of the controls, --clip the subtitles of a clip's cue N (1 unless given) as they show
// under SCENE's window, every page of it one below the other. --point X Y rests the pointer on
// that pixel of the window and draws the window as the player sees it then (the name line).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <SDL_main.h>  // on Windows SDL starts the program through its own main

#include "scenes/model/subtitles.h"
#include "shell/bindings.h"
#include "shell/platform/font_files.h"
#include "shell/platform/headless_platform.h"
#include "shell/runtime.h"
#include "shell/scene_files.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: orval-snapshot SCENE OUT.png [--hotspots] [--scale K] [--visible C] "
                 "[--hidden C] [--enabled C] [--disabled C] [--lang CODE] "
                 "[--box MESSAGE | --card | --clip NAME [--cue N]] [--point X Y]\n");
    return 2;
}

// The game's directory: where data/ lies, next to this tool in the build tree.
std::filesystem::path gameDirectory(const char* argv0) {
    std::error_code error;
    const auto self = std::filesystem::canonical("/proc/self/exe", error);
    if (!error && std::filesystem::exists(self.parent_path() / "data")) return self.parent_path();
    return std::filesystem::absolute(argv0).parent_path();
}

// A box, the card or a clip's subtitles, drawn as the game draws them.
orval::Canvas words(const std::filesystem::path& base, const std::string& code, int width,
                    int scale, const std::string& box, bool card, const std::string& clip,
                    std::size_t cue) {
    const orval::Language language = orval::Language::load(base, code, orval::soundClips());
    orval::Fonts fonts(orval::systemFontFiles);
    const std::string ok = language.text(orval::kOkButton);
    if (card) {
        const orval::ControlsCard shown = orval::controlsCard(language);
        const orval::MessageBoxLayout layout = orval::layoutControlsCard(shown, fonts);
        orval::Canvas canvas(layout.width, layout.height, scale);
        orval::renderControlsCard(shown, fonts, canvas, false, ok);
        return canvas;
    }
    if (!box.empty()) {
        const orval::GameMessage* m = orval::findMessage(box);
        if (!m) throw std::runtime_error("the game has no message " + box);
        const std::string title = language.text(orval::messageContext(m->id, "title"), m->title);
        const std::string text = language.text(orval::messageContext(m->id, "text"), m->text);
        const orval::MessageBoxLayout layout = orval::layoutMessageBox(title, text, fonts);
        orval::Canvas canvas(layout.width, layout.height, scale);
        orval::renderMessageBox(title, text, fonts, canvas, false, ok);
        return canvas;
    }
    const orval::Captions captions =
        orval::loadCaptions(base / language.captionsFile(), orval::soundClips());
    const auto found = captions.find(clip);
    if (found == captions.end() || cue > found->second.cues.size())
        throw std::runtime_error("no cue " + std::to_string(cue) + " of the clip " + clip);
    const orval::Cue& said = found->second.cues[cue - 1];
    const orval::Speaker* speaker = orval::findSpeaker(said.speaker);
    const std::string name =
        language.text(orval::speakerContext(said.speaker), speaker ? speaker->name : "");
    const auto pages = orval::pageCue(said, name, width, fonts);
    const int height = orval::subtitleHeight(fonts);
    orval::Canvas all(width, height * static_cast<int>(pages.size()), scale);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        orval::Canvas page(width, height, scale);
        orval::renderSubtitle(pages[i], fonts, page);
        all.draw(page.surface(), 0, height * static_cast<int>(i), all.bounds());
    }
    return all;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string scene = argv[1];
    const std::string out = argv[2];
    orval::RenderOptions options;
    int scale = 1;
    std::vector<std::pair<std::string, std::string>> changes;
    std::string language = "cs", box, clip;
    bool card = false;
    std::size_t cue = 1;
    std::optional<orval::Point> point;
    for (int i = 3; i < argc; ++i) {
        const std::string flag = argv[i];
        if (flag == "--hotspots") {
            options.outlineHotspots = true;
        } else if (flag == "--scale" && i + 1 < argc) {
            const std::string k = argv[++i];
            if (k.size() != 1 || k[0] < '1' || k[0] > '4') return usage();
            scale = k[0] - '0';
        } else if (flag == "--lang" && i + 1 < argc) {
            language = argv[++i];
        } else if (flag == "--box" && i + 1 < argc) {
            box = argv[++i];
        } else if (flag == "--point" && i + 2 < argc) {
            point = orval::Point{std::atoi(argv[i + 1]), std::atoi(argv[i + 2])};
            i += 2;
        } else if (flag == "--card") {
            card = true;
        } else if (flag == "--clip" && i + 1 < argc) {
            clip = argv[++i];
        } else if (flag == "--cue" && i + 1 < argc) {
            cue = static_cast<std::size_t>(std::max(1, std::atoi(argv[++i])));
        } else if ((flag == "--visible" || flag == "--hidden" || flag == "--enabled" ||
                    flag == "--disabled") &&
                   i + 1 < argc) {
            changes.emplace_back(flag, argv[++i]);
        } else {
            return usage();
        }
    }
    try {
        const std::filesystem::path base = gameDirectory(argv[0]);
        orval::HandlerRegistry handlers;
        orval::registerAllHandlers(handlers);
        // A screen large enough for every window at that scale.
        orval::HeadlessPlatform platform({0, 0, 1280 * scale, 1024 * scale}, scale);
        orval::StartOptions start;
        start.language = language;
        orval::Runtime runtime(platform, base, handlers,
                               orval::loadGameDescriptions(base / "data", handlers), {}, start);
        runtime.show(scene);
        if (!box.empty() || card || !clip.empty()) {
            words(base, language, runtime.view().description(scene).clientWidth, scale, box, card,
                  clip, cue)
                .savePng(out);
            return 0;
        }
        for (const auto& [flag, control] : changes) {
            if (flag == "--visible") runtime.setVisible(scene, control, true);
            if (flag == "--hidden") runtime.setVisible(scene, control, false);
            if (flag == "--enabled") runtime.setEnabled(scene, control, true);
            if (flag == "--disabled") runtime.setEnabled(scene, control, false);
        }
        if (point) {
            const orval::WindowId window = *runtime.view().windowOf(scene);
            platform.queue(
                {orval::InputEvent::Type::MouseMove, window, point->x * scale, point->y * scale});
            runtime.runFor(0);
            platform.pixels(window).savePng(out);
            return 0;
        }
        runtime.render(scene, options).savePng(out);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orval-snapshot: %s\n", error.what());
        return 1;
    }
}
