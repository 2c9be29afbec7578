// The CPU a click costs the game: the real runtime and handlers on the headless platform, with
// only the sound going to the desktop's real mixer, so that each click pays for starting its clip.
//
//     orval-bench-clicks [ROUNDS] [--details]
//
// Plays the winning route and, each on a fresh game, one click on every other hotspot that
// plays a sound. Per click it takes the thread CPU time of the runtime handling it, then the
// median over the rounds. Prints "slowest_ms", "slowest_what", "median_ms" and "clicks" lines;
// --details adds every click's median. Then what a hint (F2) costs: the search of the next step
// from every state of the winning route ("hint_slowest_ms", "hint_median_ms", "hint_states":
// the most states one search looked at), and its look-up in the table of next steps, as F2
// makes it ("table_slowest_ms", "table_median_ms", "table_misses": states of the route it
// lacks, "table_rows", "table_bytes").
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "shell/platform/headless_platform.h"
#include "shell/platform/sdl_audio.h"
#include "shell/platform/sdl_platform.h"
#include "shell/runtime.h"
#include "shell/scene_files.h"
#include "tests/test_support.h"

namespace {

using namespace orval;
using namespace orval::testing;

// Everything headless except the sound, which the real mixer loads and starts.
class MixerPlatform final : public ForwardingPlatform {
  public:
    explicit MixerPlatform(SdlAudio& audio) : audio_(audio) {}

    void playSound(const std::string& file) override {
        inner.playSound(file);  // only to name the clip a click started
        if (audible) audio_.play(file);
    }

    // Off while a side click's way there is replayed: only the click itself is measured.
    bool audible = true;

  private:
    SdlAudio& audio_;
};

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

class BenchGame {
  public:
    BenchGame(SdlAudio& audio, const HandlerRegistry& handlers) : platform(audio) {
        runtime = std::make_unique<Runtime>(platform, sourceDir(), handlers,
                                            loadGameDescriptions(sourceDir() / "data", handlers));
        runtime->start();  // as the game starts, fonts found while the menu shows
        runtime->runFor(0);
    }

    // Plays one step; returns its thread CPU ms and names it (with the clips it started).
    double step(const Step& s, std::string& what) {
        const std::size_t heard = platform.inner.sounds().size();
        double spent = 0;
        if (s.scene.empty()) {
            const double start = threadCpuMs();
            runtime->runFor(s.ms);
            spent = threadCpuMs() - start;
            what = "timers in " + std::to_string(s.ms) + " ms";
        } else {
            const std::optional<WindowId> window = runtime->view().windowOf(s.scene);
            if (!window) throw std::runtime_error("the scene " + s.scene + " is not loaded");
            // The pointer arrives first, as in a real click; only the press and release count.
            platform.inner.queue({InputEvent::Type::MouseMove, *window, s.x, s.y});
            runtime->runFor(0);
            platform.inner.queue({InputEvent::Type::MouseDown, *window, s.x, s.y});
            platform.inner.queue({InputEvent::Type::MouseUp, *window, s.x, s.y});
            const double start = threadCpuMs();
            runtime->runFor(0);
            spent = threadCpuMs() - start;
            what = s.scene + " " + std::to_string(s.x) + "," + std::to_string(s.y);
        }
        const auto& sounds = platform.inner.sounds();
        for (std::size_t i = heard; i < sounds.size(); ++i)
            what += " " + std::filesystem::path(sounds[i].file).filename().string();
        return spent;
    }

    MixerPlatform platform;
    std::unique_ptr<Runtime> runtime;
};

struct Sample {
    std::string what;
    std::vector<double> ms;
};

// The hotspots with a sound that the winning route does not click, each after the way there.
std::vector<std::pair<Path, Step>> sideClicks() {
    const Path deviceGone = route::nextDay + Path{kVillaLeftEdge, kMapHeadquarters, kToWarehouse};
    const Path peanutsBought = route::conversation + kBuyPeanuts;
    return {{route::home, kTelevision}, {route::warehouse, kKangarooSign},
            {route::brown, kBrownLegs}, {route::brownRead, kBrownHead},
            {route::shop, kPoster},     {route::shop, kPortrait},
            {route::shop, kAlarm},      {route::conversation, kBuyPeanuts},
            {route::asked, kGreenHead}, {route::villa, kTreeCrown},
            {route::villa, kTreeTrunk}, {route::villa, kLitWindow},
            {route::dog, kBowl},        {route::dog, kMeat},
            {route::hideout, kPistol},  {route::hideout, kCassette},
            {peanutsBought, kPeanuts},  {deviceGone + kDeviceCrateCorner, kDevice}};
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 9;
    bool details = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--details")
            details = true;
        else
            rounds = std::max(1, std::atoi(argv[i]));
    }
    // A real mixer without a sound card: the dummy driver still runs the mixing thread.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("SDL_VIDEODRIVER", "dummy", 0);

    HandlerRegistry handlers;
    registerAllHandlers(handlers);
    auto audio = std::make_unique<SdlAudio>();
    // A click after a quiet while opens the sound device again before its clip starts.
    const std::string longest = (sourceDir() / "zvuky" / "zatčení.wav").string();
    std::vector<double> reopen;
    for (int round = 0; round < rounds; ++round) {
        audio->play("/nonexistent.wav");                              // the short alert tone
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the tone has ended
        audio->closeIfQuiet(0);
        audio->closeIfQuiet(SdlAudio::kQuietBeforeClosing);
        if (audio->isOpen()) throw std::logic_error("the sound device did not close");
        const double start = threadCpuMs();
        if (audio->play(longest) != SdlAudio::Outcome::Played) {
            std::fprintf(stderr, "orval-bench-clicks: no audio device\n");
            return 1;
        }
        reopen.push_back(threadCpuMs() - start);
    }
    const Path whole = route::arrest + pause(kArrestDelay);
    const auto sides = sideClicks();
    std::vector<Sample> samples;
    std::vector<Sample> hints, lookUps;
    std::size_t hintStates = 0, tableMisses = 0;
    bool tableRead = false;
    try {
        for (int round = 0; round < rounds; ++round) {
            std::size_t index = 0;
            const auto record = [&](double ms, const std::string& what) {
                if (samples.size() <= index) samples.push_back({what, {}});
                samples[index++].ms.push_back(ms);
            };
            {
                BenchGame game(*audio, handlers);
                std::string what;
                std::size_t at = 0;
                for (const Step& s : whole) {
                    const double start = threadCpuMs();
                    const StepSearch found = game.runtime->view().searchedNextStep();
                    const double searched = threadCpuMs();
                    const StepSearch looked = game.runtime->view().nextStep();
                    const double lookedUp = threadCpuMs();
                    if (hints.size() <= at) {
                        hints.push_back({what, {}});
                        lookUps.push_back({what, {}});
                    }
                    lookUps[at].ms.push_back(lookedUp - searched);
                    hints[at++].ms.push_back(searched - start);
                    hintStates = std::max(hintStates, found.states);
                    tableRead = game.runtime->view().hasNextStepTable();
                    if (round == 0 && (looked.states > 0 || looked.step != found.step))
                        ++tableMisses;  // searched again, or (never) a step of its own
                    const double ms = game.step(s, what);
                    record(ms, what);
                }
            }
            for (const auto& [way, click] : sides) {
                BenchGame game(*audio, handlers);
                std::string what;
                game.platform.audible = false;
                for (const Step& s : way) game.step(s, what);
                game.platform.audible = true;
                const double ms = game.step(click, what);
                record(ms, what);
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orval-bench-clicks: %s\n", error.what());
        return 1;
    }
    audio.reset();

    std::vector<double> medians;
    const Sample* slowest = nullptr;
    double slowestMs = -1;
    for (const Sample& s : samples) {
        const double m = median(s.ms);
        medians.push_back(m);
        if (m > slowestMs) {
            slowestMs = m;
            slowest = &s;
        }
        if (details) std::printf("click %8.3f  %s\n", m, s.what.c_str());
    }
    if (!slowest) return 1;
    std::printf("slowest_ms %.3f\n", slowestMs);
    std::printf("slowest_min_ms %.3f\n", *std::min_element(slowest->ms.begin(), slowest->ms.end()));
    std::printf("slowest_what %s\n", slowest->what.c_str());
    std::printf("median_ms %.3f\n", median(medians));
    std::printf("clicks %zu\n", samples.size());
    std::printf("reopen_ms %.3f\n", median(reopen));
    std::vector<double> hintMedians;
    for (const Sample& s : hints) hintMedians.push_back(median(s.ms));
    if (!hintMedians.empty()) {
        std::printf("hint_slowest_ms %.3f\n",
                    *std::max_element(hintMedians.begin(), hintMedians.end()));
        std::printf("hint_median_ms %.3f\n", median(hintMedians));
        std::printf("hint_states %zu\n", hintStates);
    }
    std::vector<double> lookUpMedians;
    for (const Sample& s : lookUps) lookUpMedians.push_back(median(s.ms));
    if (!lookUpMedians.empty() && tableRead) {
        std::printf("table_slowest_ms %.4f\n",
                    *std::max_element(lookUpMedians.begin(), lookUpMedians.end()));
        std::printf("table_median_ms %.4f\n", median(lookUpMedians));
        std::printf("table_misses %zu\n", tableMisses);
        const std::filesystem::path table = sourceDir() / "data" / "next-steps.tsv";
        std::size_t rows = 0;
        std::ifstream in(table);
        for (std::string line; std::getline(in, line);)
            if (!line.empty() && line.front() != '#') ++rows;
        std::printf("table_rows %zu\n", rows > 0 ? rows - 1 : 0);  // but the fingerprint's
        std::printf("table_bytes %ju\n",
                    static_cast<std::uintmax_t>(std::filesystem::file_size(table)));
    }
    return 0;
}
