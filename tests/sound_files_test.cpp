// The game's sound clips: exactly the 34 clips of the sound table lie under zvuky/ and again,
// spoken in English, under zvuky/en/; every path a handler plays is one of them and each is
// played, and each is a WAV file the player can hear (PCM, 16-bit, mono, 22050 Hz, at the
// game's speech level, 0.3 s to 20 s) exactly as long as its subtitles say.
// The WAV header is read here by hand so that the test needs no audio library.
#include <cmath>
#include <regex>

#include "scenes/model/captions.h"
#include "scenes/model/utf8_path.h"
#include "tests/test_support.h"

namespace orval::testing {
namespace {

// Every clip a handler plays, by its file name (some hold spaces and Czech letters).
const std::set<std::string> kClips(soundClips().begin(), soundClips().end());

TEST(Sounds, TheHandlersPlayExactlyTheClipsThatLieUnderZvuky) {
    ASSERT_EQ(kClips.size(), 34u);
    const std::regex soundPath(R"re(playSound\("([^"]+)"\))re");
    std::set<std::string> played;
    for (const auto& item : fs::recursive_directory_iterator(sourceDir() / "scenes")) {
        const std::string text = readFile(item.path());
        for (std::sregex_iterator it(text.begin(), text.end(), soundPath), end; it != end; ++it)
            played.insert((*it)[1].str());
    }
    EXPECT_EQ(played, kClips);
    for (const std::string folder : {"zvuky", "zvuky/en"}) {
        std::set<std::string> files;
        for (const auto& item : fs::directory_iterator(sourceDir() / folder))
            if (!item.is_directory()) files.insert(item.path().filename().string());
        EXPECT_EQ(files, kClips) << folder;
    }
}

struct Wave {
    int format = 0, channels = 0, bits = 0, blockAlign = 0;
    std::uint32_t sampleRate = 0, byteRate = 0;
    bool hasFormat = false, hasData = false;
    std::vector<std::int16_t> samples;
};

// Reads a RIFF/WAVE file chunk by chunk; on damage, says what is wrong in `error`.
Wave readWave(const std::string& bytes, std::string& error) {
    const auto u8 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at]));
    };
    const auto le16 = [&](std::size_t at) { return u8(at) | u8(at + 1) << 8; };
    const auto le32 = [&](std::size_t at) { return le16(at) | le16(at + 2) << 16; };
    Wave wave;
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") || bytes.compare(8, 4, "WAVE")) {
        error = "is not a RIFF/WAVE file";
        return wave;
    }
    if (std::size_t{le32(4)} + 8 > bytes.size()) error = "is shorter than its RIFF header says";
    for (std::size_t at = 12; error.empty() && at + 8 <= bytes.size();) {
        const std::size_t size = le32(at + 4), body = at + 8;
        if (size > bytes.size() - body) {
            error = "has a chunk that runs past the end of the file";
        } else if (bytes.compare(at, 4, "fmt ") == 0 && size < 16) {
            error = "has a fmt chunk shorter than 16 bytes";
        } else if (bytes.compare(at, 4, "fmt ") == 0) {
            wave.hasFormat = true;
            wave.format = static_cast<int>(le16(body));
            wave.channels = static_cast<int>(le16(body + 2));
            wave.sampleRate = le32(body + 4);
            wave.byteRate = le32(body + 8);
            wave.blockAlign = static_cast<int>(le16(body + 12));
            wave.bits = static_cast<int>(le16(body + 14));
        } else if (bytes.compare(at, 4, "data") == 0) {
            wave.hasData = true;
            for (std::size_t i = 0; i + 1 < size; i += 2)
                wave.samples.push_back(static_cast<std::int16_t>(le16(body + i)));
        }
        at = body + size + (size & 1);  // chunks are padded to an even length
    }
    return wave;
}

// Loudness in dBFS: the mean power of the 50 ms windows within 30 dB of the loudest one.
double levelOf(const std::vector<std::int16_t>& samples) {
    constexpr std::size_t kWindow = 22050 / 20;
    std::vector<double> powers;
    for (std::size_t at = 0; at + kWindow <= samples.size(); at += kWindow) {
        double sum = 0;
        for (std::size_t i = at; i < at + kWindow; ++i) {
            const double sample = samples[i];
            sum += sample * sample;
        }
        powers.push_back(sum / kWindow / (32768.0 * 32768.0));
    }
    const double loudest = powers.empty() ? 0 : *std::max_element(powers.begin(), powers.end());
    double sum = 0;
    int counted = 0;
    for (const double power : powers)
        if (power >= loudest * 1e-3 && power > 0) sum += power, ++counted;
    return counted ? 10 * std::log10(sum / counted) : -200;
}

// Each language's clips and the subtitles made with them.
struct Language {
    std::string code, folder, captions;
};
const std::vector<Language> kLanguages = {{"cs", "zvuky", "data/captions.tsv"},
                                          {"en", "zvuky/en", "data/en/captions.tsv"}};

TEST(Sounds, EveryClipIsAudibleMonoPcmOfTheRightLength) {
    constexpr std::uint32_t kRate = 22050;
    std::map<std::string, double> czechLevel;
    for (const Language& language : kLanguages) {
        const Captions captions = loadCaptions(sourceDir() / language.captions, soundClips());
        const orval::Language spoken =
            orval::Language::load(sourceDir(), language.code, soundClips());
        for (const std::string& clip : kClips) {
            SCOPED_TRACE(language.folder + "/" + clip);
            const fs::path path = sourceDir() / language.folder / pathFromUtf8(clip);
            ASSERT_TRUE(fs::is_regular_file(path)) << "missing";
            EXPECT_EQ(spoken.clip(clip), language.folder + "/" + clip)
                << "the language's list of its own clips (data/CODE/assets.txt) disagrees";
            std::string error;
            const Wave wave = readWave(readFile(path), error);
            ASSERT_EQ(error, "");
            ASSERT_TRUE(wave.hasFormat) << "no fmt chunk";
            ASSERT_TRUE(wave.hasData) << "no data chunk";
            EXPECT_EQ(wave.format, 1) << "not plain PCM";
            EXPECT_EQ(wave.channels, 1) << "not mono";
            EXPECT_EQ(wave.sampleRate, kRate);
            EXPECT_EQ(wave.bits, 16);
            EXPECT_EQ(wave.blockAlign, 2);
            EXPECT_EQ(wave.byteRate, kRate * 2);
            const double seconds = static_cast<double>(wave.samples.size()) / kRate;
            EXPECT_GE(seconds, 0.3) << "too short";
            EXPECT_LE(seconds, 20.0) << "too long";
            // Every clip stands at the game's one speech level, the English as loud as the Czech.
            const double level = levelOf(wave.samples);
            if (language.code == "cs") {
                EXPECT_NEAR(level, -19.5, 2.5) << "not at the speech level";
                czechLevel[clip] = level;
            } else {
                EXPECT_NEAR(level, czechLevel.at(clip), 1.5) << "not as loud as the Czech clip";
            }
            // A clip remade without its subtitles no longer has the length they were timed for.
            const std::uint32_t ms = static_cast<std::uint32_t>(wave.samples.size() * 1000 / kRate);
            EXPECT_NEAR(captions.at(clip).lengthMs, ms, 1)
                << language.captions << " is not made for it";
        }
    }
}

// An English cue translates the Czech cue of its place: the same count in every clip, the same
// speaker in every place.
TEST(Sounds, EveryTranslatedSubtitleStandsInForItsCzechCue) {
    const Captions czech = loadCaptions(sourceDir() / "data" / "captions.tsv", soundClips());
    const Captions english = loadCaptions(sourceDir() / "data/en/captions.tsv", soundClips());
    for (const std::string& clip : kClips) {
        SCOPED_TRACE(clip);
        const std::vector<Cue>& cs = czech.at(clip).cues;
        const std::vector<Cue>& en = english.at(clip).cues;
        ASSERT_EQ(en.size(), cs.size());
        for (std::size_t i = 0; i < cs.size(); ++i) EXPECT_EQ(en[i].speaker, cs[i].speaker) << i;
    }
}

}  // namespace
}  // namespace orval::testing
