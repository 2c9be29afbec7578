// orval-make-hints: writes the table of next steps that the hint (F2) looks up, so that asking
// costs no search in the game.
//
//     orval-make-hints OUT.tsv
//
// Starts the game headless as it starts for a player (the menu), then searches every state the
// clicks reach from there and the next step from each, and writes them with the fingerprint of
// the descriptions they were made from. The Reachability test says when to run it again.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include <SDL_main.h>  // on Windows SDL starts the program through its own main

#include "shell/platform/headless_platform.h"
#include "shell/runtime.h"
#include "shell/scene_files.h"

namespace {

// The game's directory: where data/ lies, next to this tool in the build tree.
std::filesystem::path gameDirectory(const char* argv0) {
    std::error_code error;
    const auto self = std::filesystem::canonical("/proc/self/exe", error);
    if (!error && std::filesystem::exists(self.parent_path() / "data")) return self.parent_path();
    return std::filesystem::absolute(argv0).parent_path();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orval-make-hints OUT.tsv\n");
        return 2;
    }
    try {
        const std::filesystem::path base = gameDirectory(argv[0]);
        const std::filesystem::path out = argv[1];
        orval::HandlerRegistry handlers;
        orval::registerAllHandlers(handlers);
        orval::HeadlessPlatform platform;
        orval::Runtime runtime(platform, base, handlers,
                               orval::loadGameDescriptions(base / "data", handlers));
        runtime.start();
        runtime.runFor(0);
        if (!runtime.view().fatalMessage().empty())
            throw std::runtime_error(runtime.view().fatalMessage());
        const std::string text = runtime.view().nextStepsFile();
        // Written beside it first, so that a failure leaves the old table whole.
        const std::filesystem::path partial = out.string() + ".partial";
        {
            std::ofstream file(partial, std::ios::binary);
            file << text;
            if (!file.flush()) throw std::runtime_error("cannot write " + partial.string());
        }
        std::filesystem::rename(partial, out);
        std::printf("orval-make-hints: %s, %zu bytes\n", out.string().c_str(), text.size());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orval-make-hints: %s\n", error.what());
        return 1;
    }
}
