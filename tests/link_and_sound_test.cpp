// The maker's web link and the sound facility: the address the browser gets, the desktop's
// opener really called, and failures of either that the game never notices.

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "scenes/model/utf8_path.h"
#include "shell/odkaz.h"
#include "shell/platform/sdl_audio.h"
#include "shell/platform/sdl_platform.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

using Names = std::vector<std::string>;

const std::string kMakerUrl = "https://orval-kesk.example.org";

// A bare host name gets https:// before it; a full address is handed on as it is.
TEST(WebLink, TheSchemeIsAddedToABareHostName) {
    for (const auto& [address, url] :
         {std::pair{"orval-kesk.example.org", "https://orval-kesk.example.org"},
          std::pair{"https://orval-kesk.example.org", "https://orval-kesk.example.org"},
          std::pair{"http://example.org/a", "http://example.org/a"}}) {
        EXPECT_EQ(linkUrl(address), url);
    }
}

TEST(WebLink, OpenLinkHandsTheFullAddressToThePlatformAndIgnoresFailures) {
    for (const bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "the opener fails" : "the opener works");
        RecordingPlatform platform;
        platform.linksFail = fails;
        OpenLink(platform, "orval-kesk.example.org");
        OpenLink(platform, "orval-kesk.example.org");
        EXPECT_EQ(platform.inner.urls(), (Names{kMakerUrl, kMakerUrl}));
    }
}

// The desktop platform on SDL's dummy video driver, with a stand-in `xdg-open` first on PATH.
class RealOpener : public ::testing::Test {
  protected:
#ifdef _WIN32
    void SetUp() override { GTEST_SKIP() << "Windows opens the page through the shell"; }
#endif
    // A handler of the credits run on the real runtime, with `path` as PATH.
    void openFromTheCredits(const char* handler, const std::string& path, int times) {
        ScopedEnv env("PATH", path);
        SdlPlatform platform;
        Runtime runtime(platform, sourceDir(), gameHandlers(), gameDescriptions());
        runtime.show("about");
        for (int i = 0; i < times; ++i) gameHandlers().find("about", handler)(runtime);
        EXPECT_TRUE(runtime.runFor(50));
        EXPECT_TRUE(runtime.view().isLoaded("about"));
        EXPECT_EQ(runtime.view().exitStatus(), 0);
        EXPECT_EQ(runtime.view().fatalMessage(), "");
    }

    // Whatever the stand-in opener wrote first within five seconds, or nothing.
    std::optional<std::string> waitForOpened() const {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < until) {
            if (fs::exists(opened_)) return readFile(opened_);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return std::nullopt;
    }

    void writeOpener(const std::string& body) {
        fs::create_directories(bin_);
        writeFile(bin_ / "xdg-open", "#!/bin/sh\n" + body + "\n");
        fs::permissions(bin_ / "xdg-open", fs::perms::owner_all);
    }

    TempDir temp_;
    fs::path bin_ = temp_.path() / "bin";
    fs::path opened_ = temp_.path() / "opened.txt";
    ScopedEnv video_{"SDL_VIDEODRIVER", "dummy"};
    ScopedEnv audio_{"SDL_AUDIODRIVER", "dummy"};
};

TEST_F(RealOpener, TheCreditsOpenThePageThroughTheDesktopOpener) {
    const std::string part = opened_.string() + ".part";
    writeOpener("printf '%s' \"$1\" > '" + part + "' && mv '" + part + "' '" + opened_.string() +
                "'");
    openFromTheCredits("Picture1_Click", bin_.string() + ":/usr/bin:/bin", 1);
    EXPECT_EQ(waitForOpened(), kMakerUrl);
}

TEST_F(RealOpener, AFailingOrMissingOpenerChangesNothing) {
    {
        SCOPED_TRACE("xdg-open fails");
        writeOpener("exit 1");
        openFromTheCredits("Label1_Click", bin_.string(), 2);
    }
    fs::remove(bin_ / "xdg-open");
    SCOPED_TRACE("no xdg-open at all");
    openFromTheCredits("Label1_Click", bin_.string(), 2);
}

// A PCM clip whose header claims `claimed` bytes of sound, followed by `actual` bytes of
// silence (left as a hole in the file where the system allows, so a large one costs no disk).
void writeClip(const fs::path& file, std::uint32_t rate, std::uint16_t channels,
               std::uint32_t claimed, std::uintmax_t actual) {
    std::string header;
    const auto add = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) header += static_cast<char>(value >> (8 * i) & 0xFF);
    };
    const std::uint16_t align = static_cast<std::uint16_t>(2 * channels);
    header += "RIFF";
    add(claimed > 0xFFFFFFFFu - 36 ? 0xFFFFFFFFu : claimed + 36, 4);
    header += "WAVEfmt ";
    add(16, 4), add(1, 2), add(channels, 2), add(rate, 4), add(rate * align, 4), add(align, 2);
    add(16, 2);
    header += "data";
    add(claimed, 4);
    writeFile(file, header);
    fs::resize_file(file, header.size() + actual);
}

TEST(SdlSound, ClipsPlayAndWhatCannotBePlayedGivesTheAlertTone) {
    TempDir temp;
    // The longest clip of the game is under 20 s: these are not clips but damage.
    writeClip(temp.path() / "lže.wav", 22050, 1, 0x7FFFFFFF, 4410);
    writeClip(temp.path() / "deset minut.wav", 8000, 1, 600 * 16000, 600 * 16000);
    writeClip(temp.path() / "obří.wav", 48000, 8, 1 << 26, 1 << 26);
    writeFile(temp.path() / "rozbitý.wav", "RIFF? ne, jen smetí \x01\x02");
    writeFile(temp.path() / "prázdný.wav", "");
    makeFifo(temp.path() / "roura.wav");
    // A clip with Czech letters in its name, as SDL gets it: in UTF-8 on every system.
    const std::string clip = utf8Of(sourceDir() / "zvuky" / pathFromUtf8("zatčení.wav"));
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    SdlAudio audio;
    EXPECT_FALSE(audio.isOpen());  // nothing is opened before the first clip
    using Outcome = SdlAudio::Outcome;
    const std::pair<std::string, Outcome> rows[] = {
        {clip, Outcome::Played},
        {(temp.path() / "chybí.wav").string(), Outcome::AlertTone},
        {(temp.path() / "rozbitý.wav").string(), Outcome::AlertTone},
        {(temp.path() / "prázdný.wav").string(), Outcome::AlertTone},
        {temp.path().string(), Outcome::AlertTone},                        // a directory
        {(temp.path() / "roura.wav").string(), Outcome::AlertTone},        // a FIFO: never blocks
        {(temp.path() / "lže.wav").string(), Outcome::AlertTone},          // claims 2 GB
        {(temp.path() / "deset minut.wav").string(), Outcome::AlertTone},  // 9.6 MB
        {(temp.path() / "obří.wav").string(), Outcome::AlertTone},         // 64 MB for 22 s
        {clip, Outcome::Played},                                           // cutting off the tone
        {clip, Outcome::Played},                                           // cutting off itself
    };
    for (const auto& [file, outcome] : rows) EXPECT_EQ(audio.play(file), outcome) << file;
    EXPECT_TRUE(audio.isOpen());
    // Every clip of the game, in either language, lies within the bounds.
    for (const std::string folder : {"zvuky", "zvuky/en"})
        for (const std::string& name : soundClips())
            EXPECT_EQ(audio.play(utf8Of(sourceDir() / folder / pathFromUtf8(name))),
                      Outcome::Played)
                << folder << "/" << name;
}

// At rest the device is closed, so that its thread does not wake the machine; a clip opens it.
TEST(SdlSound, TheDeviceClosesOnceQuietAndOpensAgainForTheNextClip) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    SdlAudio audio;
    const std::string clip = (sourceDir() / "zvuky" / "telefon.wav").string();
    ASSERT_EQ(audio.play(clip), SdlAudio::Outcome::Played);
    audio.closeIfQuiet(0);
    EXPECT_TRUE(audio.isOpen());     // still speaking
    audio.play("/nonexistent.wav");  // the short alert tone cuts the clip off
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    audio.closeIfQuiet(1000);
    EXPECT_TRUE(audio.isOpen());  // quiet, but not for long enough
    audio.closeIfQuiet(1000 + SdlAudio::kQuietBeforeClosing);
    EXPECT_FALSE(audio.isOpen());
    EXPECT_FALSE(audio.nextCheck(5000).has_value());
    EXPECT_EQ(audio.play(clip), SdlAudio::Outcome::Played);
    EXPECT_TRUE(audio.isOpen());
}

// Without an audio device the game is silent and says so once: the device is not asked again
// at every clip (where each try has the sound library write lines of its own).
TEST(SdlSound, WithoutAnAudioDeviceTheGameIsSilentAndSaysSoOnce) {
    ScopedEnv driver("SDL_AUDIODRIVER", "nonexistent");
    SdlAudio audio;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(audio.play((sourceDir() / "zvuky" / "telefon.wav").string()),
              SdlAudio::Outcome::Silent);
    {
        ScopedEnv later("SDL_AUDIODRIVER", "dummy");  // a device that would open now
        EXPECT_EQ(audio.play((sourceDir() / "zvuky" / "chybí.wav").string()),
                  SdlAudio::Outcome::Silent);
    }
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(said.starts_with("orval-kesk: no sound")) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_FALSE(audio.isOpen());
}

// A sound step that throws is skipped: with a broken audio layer every step of a whole game
// leaves the game as it leaves a game that plays its sounds.
TEST(BrokenAudio, EveryHandlerGoesOnAfterItsSoundStep) {
    TestGame normal, broken;
    broken.platform.breakAudio();
    const Path steps = route::arrest + pause(kArrestDelay);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE("after step " + std::to_string(i + 1));
        play(normal, steps[i]);
        play(broken, steps[i]);
        ASSERT_FALSE(broken.ended()) << broken.runtime->view().fatalMessage();
        EXPECT_EQ(flagsOf(broken), flagsOf(normal));
        EXPECT_EQ(broken.windows(), normal.windows());
        EXPECT_EQ(messagesOf(broken), messagesOf(normal));
    }
    EXPECT_EQ(broken.windows(), Names{"win"});
    EXPECT_TRUE(broken.takeSounds().empty());
    EXPECT_FALSE(normal.takeSounds().empty());
}

}  // namespace
}  // namespace orval::testing
