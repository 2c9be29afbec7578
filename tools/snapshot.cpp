// orval-snapshot: renders one scene headlessly to a PNG, optionally with every hotspot
// outlined and named, so that art and hotspots can be checked by eye.
//
//   orval-snapshot SCENE OUT.png [--hotspots] [--scale K] [--lang CODE] [--visible CONTROL]
//                               [--hidden CONTROL] [--enabled CONTROL] [--disabled CONTROL]
//
// --scale K (1 to 4) draws the scene as a screen showing the game at K times its size does;
// --lang CODE in that language (cs, the game's own, without).
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include <SDL_main.h>  // on Windows SDL starts the program through its own main

#include "shell/platform/headless_platform.h"
#include "shell/runtime.h"
#include "shell/scene_files.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: orval-snapshot SCENE OUT.png [--hotspots] [--scale K] [--lang CODE] "
                 "[--visible C] "
                 "[--hidden C] [--enabled C] [--disabled C]\n");
    return 2;
}

// The game's directory: where data/ lies, next to this tool in the build tree.
std::filesystem::path gameDirectory(const char* argv0) {
    std::error_code error;
    const auto self = std::filesystem::canonical("/proc/self/exe", error);
    if (!error && std::filesystem::exists(self.parent_path() / "data")) return self.parent_path();
    return std::filesystem::absolute(argv0).parent_path();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string scene = argv[1];
    const std::string out = argv[2];
    orval::RenderOptions options;
    int scale = 1;
    orval::StartOptions start;
    std::vector<std::pair<std::string, std::string>> changes;
    for (int i = 3; i < argc; ++i) {
        const std::string flag = argv[i];
        if (flag == "--hotspots") {
            options.outlineHotspots = true;
        } else if (flag == "--scale" && i + 1 < argc) {
            const std::string k = argv[++i];
            if (k.size() != 1 || k[0] < '1' || k[0] > '4') return usage();
            scale = k[0] - '0';
        } else if (flag == "--lang" && i + 1 < argc) {
            start.language = argv[++i];
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
        orval::Runtime runtime(platform, base, handlers,
                               orval::loadGameDescriptions(base / "data", handlers), {},
                               std::move(start));
        runtime.show(scene);
        for (const auto& [flag, control] : changes) {
            if (flag == "--visible") runtime.setVisible(scene, control, true);
            if (flag == "--hidden") runtime.setVisible(scene, control, false);
            if (flag == "--enabled") runtime.setEnabled(scene, control, true);
            if (flag == "--disabled") runtime.setEnabled(scene, control, false);
        }
        runtime.render(scene, options).savePng(out);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orval-snapshot: %s\n", error.what());
        return 1;
    }
}
