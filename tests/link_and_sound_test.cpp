// The maker's web link and the sound facility: the address the browser gets, the desktop's
// opener really called, and failures of either that the game never notices.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "shell/odkaz.h"
#include "shell/platform/sdl_platform.h"
#include "shell/scene_files.h"
#include "tests/test_game.h"

namespace orval {
namespace {

namespace fs = std::filesystem;
using testing::TestGame;
using Names = std::vector<std::string>;

const std::string kMakerUrl = "https://orval-kesk.example.org";

class TempDir {
  public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "orval-link-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

// Sets an environment variable for the life of the object, then puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeScript(const fs::path& file, const std::string& body) {
    std::ofstream(file) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(file, fs::perms::owner_all);
}

// ---- the address ----------------------------------------------------------------------------

TEST(WebLink, TheSchemeIsAddedToABareHostName) {
    struct Row {
        const char* address;
        const char* url;
    };
    for (const Row row : {Row{"orval-kesk.example.org", "https://orval-kesk.example.org"},
                          Row{"https://orval-kesk.example.org", "https://orval-kesk.example.org"},
                          Row{"http://example.org/a", "http://example.org/a"}}) {
        SCOPED_TRACE(row.address);
        EXPECT_EQ(linkUrl(row.address), row.url);
    }
}

// A platform that only knows how to open addresses, and can be told to fail at it.
class LinkOnlyPlatform final : public Platform {
  public:
    explicit LinkOnlyPlatform(bool fails) : fails_(fails) {}
    std::uint64_t now() override { return 0; }
    std::optional<InputEvent> waitEvent(std::optional<std::uint64_t>) override { return {}; }
    Rect usableBounds() override { return {0, 0, 800, 600}; }
    WindowId openWindow(const WindowRequest&) override { return 1; }
    void showWindow(WindowId) override {}
    void closeWindow(WindowId) override {}
    void present(WindowId, const Canvas&) override {}
    void setCursor(const std::string&) override {}
    void messageBox(std::string_view, std::string_view) override {}
    void playSound(const std::string&) override {}
    void openUrl(const std::string& url) override {
        urls.push_back(url);
        if (fails_) throw std::runtime_error("no browser");
    }
    void reportFatal(std::string_view) override {}

    Names urls;

  private:
    bool fails_;
};

TEST(WebLink, OpenLinkHandsTheFullAddressToThePlatformAndIgnoresFailures) {
    for (const bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "the opener fails" : "the opener works");
        LinkOnlyPlatform platform(fails);
        OpenLink(platform, "orval-kesk.example.org");
        OpenLink(platform, "orval-kesk.example.org");
        EXPECT_EQ(platform.urls, (Names{kMakerUrl, kMakerUrl}));
    }
}

TEST(WebLink, TheCreditsOpenTheMakersPageFromTheAddressAndTheLogo) {
    TestGame game("about");
    game.clickControl("about", "Label1");
    game.clickControl("about", "Picture1");
    game.clickControl("about", "Label1");
    EXPECT_EQ(game.platform.urls(), (Names{kMakerUrl, kMakerUrl, kMakerUrl}));
    EXPECT_EQ(game.windows(), Names{"about"});
    EXPECT_FALSE(game.ended());
}

// The desktop platform on SDL's dummy video driver, with a stand-in `xdg-open` first on PATH.
class RealOpener : public ::testing::Test {
  protected:
    void SetUp() override {
        bin_ = temp_.path() / "bin";
        fs::create_directories(bin_);
        opened_ = temp_.path() / "opened.txt";
    }

    // Whatever the stand-in opener wrote within five seconds, or nothing.
    std::optional<std::string> waitForOpened() const {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < until) {
            if (fs::exists(opened_)) return readFile(opened_);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return std::nullopt;
    }

    TempDir temp_;
    fs::path bin_;
    fs::path opened_;
    ScopedEnv video_{"SDL_VIDEODRIVER", "dummy"};
    ScopedEnv audio_{"SDL_AUDIODRIVER", "dummy"};
};

TEST_F(RealOpener, TheDesktopOpenerReceivesTheFullAddress) {
    writeScript(bin_ / "xdg-open", "printf '%s' \"$1\" > '" + opened_.string() + ".part' && mv '" +
                                       opened_.string() + ".part' '" + opened_.string() + "'");
    ScopedEnv path("PATH", bin_.string() + ":/usr/bin:/bin");
    SdlPlatform platform;  // the dummy video driver is enough to build it
    OpenLink(platform, "orval-kesk.example.org");
    EXPECT_EQ(waitForOpened(), kMakerUrl);
}

TEST_F(RealOpener, TheCreditsHandlerOpensThePageThroughTheRealRuntime) {
    writeScript(bin_ / "xdg-open", "printf '%s' \"$1\" > '" + opened_.string() + ".part' && mv '" +
                                       opened_.string() + ".part' '" + opened_.string() + "'");
    ScopedEnv path("PATH", bin_.string() + ":/usr/bin:/bin");
    SdlPlatform platform;
    HandlerRegistry handlers;
    registerAllHandlers(handlers);
    Runtime runtime(platform, testing::sourceDir(), handlers,
                    loadGameDescriptions(testing::sourceDir() / "data", handlers));
    runtime.show("about");
    handlers.find("about", "Picture1_Click")(runtime);  // the logo
    EXPECT_EQ(waitForOpened(), kMakerUrl);
    EXPECT_TRUE(runtime.runFor(0));
    EXPECT_TRUE(runtime.isLoaded("about"));
}

TEST_F(RealOpener, AFailingOrMissingOpenerChangesNothing) {
    struct Row {
        const char* what;
        bool script;
    };
    for (const Row row : {Row{"xdg-open fails", true}, Row{"no xdg-open at all", false}}) {
        SCOPED_TRACE(row.what);
        fs::remove(bin_ / "xdg-open");
        if (row.script) writeScript(bin_ / "xdg-open", "exit 1");
        // Only our directory: a system opener, if there is one, cannot be found.
        ScopedEnv path("PATH", bin_.string());
        SdlPlatform platform;
        HandlerRegistry handlers;
        registerAllHandlers(handlers);
        Runtime runtime(platform, testing::sourceDir(), handlers,
                        loadGameDescriptions(testing::sourceDir() / "data", handlers));
        runtime.show("about");
        handlers.find("about", "Label1_Click")(runtime);
        handlers.find("about", "Label1_Click")(runtime);
        EXPECT_TRUE(runtime.runFor(50));
        EXPECT_TRUE(runtime.isLoaded("about"));
        EXPECT_EQ(runtime.exitStatus(), 0);
        EXPECT_EQ(runtime.fatalMessage(), "");
    }
}

// ---- sound ----------------------------------------------------------------------------------

// A tenth of a second of a quiet 440 Hz tone, 16-bit mono PCM.
void writeWav(const fs::path& file) {
    constexpr int kRate = 22050;
    constexpr int kSamples = kRate / 10;
    std::string data;
    for (int i = 0; i < kSamples; ++i) {
        const auto sample =
            static_cast<std::int16_t>(3000 * std::sin(2 * M_PI * 440.0 * i / kRate));
        data += static_cast<char>(sample & 0xFF);
        data += static_cast<char>((sample >> 8) & 0xFF);
    }
    const auto le32 = [](std::uint32_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8),
                           static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
    };
    const auto le16 = [](std::uint16_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8)};
    };
    std::ofstream out(file, std::ios::binary);
    out << "RIFF" << le32(36 + static_cast<std::uint32_t>(data.size())) << "WAVE";
    out << "fmt " << le32(16) << le16(1) << le16(1) << le32(kRate) << le32(kRate * 2) << le16(2)
        << le16(16);
    out << "data" << le32(static_cast<std::uint32_t>(data.size())) << data;
}

TEST(SdlSound, ClipsPlayAndWhatCannotBePlayedGivesTheAlertTone) {
    TempDir temp;
    writeWav(temp.path() / "telefon.wav");
    std::ofstream(temp.path() / "rozbitý.wav", std::ios::binary) << "RIFF? ne, jen smetí \x01\x02";
    std::ofstream(temp.path() / "prázdný.wav", std::ios::binary);

    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    SdlAudio audio;
    ASSERT_TRUE(audio.hasDevice());
    struct Row {
        const char* what;
        std::string file;
        SdlAudio::Outcome outcome;
    };
    const Row rows[] = {
        {"a real clip", (temp.path() / "telefon.wav").string(), SdlAudio::Outcome::Played},
        {"a missing file", (temp.path() / "chybí.wav").string(), SdlAudio::Outcome::AlertTone},
        {"garbage named .wav", (temp.path() / "rozbitý.wav").string(),
         SdlAudio::Outcome::AlertTone},
        {"an empty file", (temp.path() / "prázdný.wav").string(), SdlAudio::Outcome::AlertTone},
        {"a directory", temp.path().string(), SdlAudio::Outcome::AlertTone},
        {"the real clip again, cutting off the tone", (temp.path() / "telefon.wav").string(),
         SdlAudio::Outcome::Played},
        {"the real clip cutting off itself", (temp.path() / "telefon.wav").string(),
         SdlAudio::Outcome::Played},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(audio.play(row.file), row.outcome);
    }
}

TEST(SdlSound, WithoutAnAudioDeviceTheGameIsSilent) {
    TempDir temp;
    writeWav(temp.path() / "telefon.wav");
    ScopedEnv driver("SDL_AUDIODRIVER", "nonexistent");
    SdlAudio audio;
    EXPECT_FALSE(audio.hasDevice());
    EXPECT_EQ(audio.play((temp.path() / "telefon.wav").string()), SdlAudio::Outcome::Silent);
    EXPECT_EQ(audio.play((temp.path() / "chybí.wav").string()), SdlAudio::Outcome::Silent);
}

TEST(SdlSound, ThePlatformPlaysWithoutThrowingWhateverTheFile) {
    TempDir temp;
    writeWav(temp.path() / "telefon.wav");
    ScopedEnv video("SDL_VIDEODRIVER", "dummy");
    for (const char* driver : {"dummy", "nonexistent"}) {
        SCOPED_TRACE(driver);
        ScopedEnv audioDriver("SDL_AUDIODRIVER", driver);
        SdlPlatform platform;
        EXPECT_NO_THROW(platform.playSound((temp.path() / "telefon.wav").string()));
        EXPECT_NO_THROW(platform.playSound((temp.path() / "chybí.wav").string()));
    }
}

// A sound step that throws is skipped; the handler's later steps still happen.
TEST(BrokenAudio, HandlersGoOnAfterTheirSoundStep) {
    {
        SCOPED_TRACE("doma Timer1: the telephone, then the timer stops");
        TestGame game("doma");
        game.platform.breakAudio();
        game.wait(150);
        EXPECT_FALSE(game.enabled("doma", "Timer1"));
    }
    {
        SCOPED_TRACE("doma Image4: the call, then the door opens");
        TestGame game("doma");
        game.platform.breakAudio();
        game.clickAt("doma", "Image4", 10, 10);
        EXPECT_TRUE(game.enabled("doma", "Image3"));
        EXPECT_FALSE(game.enabled("doma", "Image4"));
        game.clickAt("doma", "Image3", 50, 50);
        EXPECT_EQ(game.windows(), (Names{"Mapa", "doma"}));
        EXPECT_FALSE(game.ended());
        EXPECT_TRUE(game.takeSounds().empty());
    }
    {
        SCOPED_TRACE("Banka Image3: the refusal, then the directory at home");
        TestGame game("Banka");
        game.platform.breakAudio();
        game.clickAt("Banka", "Image3", 20, 20);
        EXPECT_TRUE(game.loaded("doma"));
        EXPECT_TRUE(game.enabled("doma", "Image2"));
        EXPECT_FALSE(game.ended());
        EXPECT_EQ(game.runtime->exitStatus(), 0);
    }
    {
        SCOPED_TRACE("Rozmluva Label4: the farewell after the conversation closed");
        TestGame game("green");
        game.platform.breakAudio();
        game.clickAt("green", "Image7", 20, 20);
        game.clickControl("Rozmluva", "Label4");
        EXPECT_FALSE(game.loaded("Rozmluva"));
        EXPECT_EQ(game.windows(), Names{"green"});
        EXPECT_FALSE(game.ended());
        EXPECT_EQ(game.runtime->fatalMessage(), "");
    }
}

}  // namespace
}  // namespace orval
