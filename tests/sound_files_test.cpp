// The game's sound clips: every path the handlers play lies under zvuky/, is a WAV file the
// player can hear (PCM, 16-bit, mono, 22050 Hz, not silent, 0.3 s to 20 s), and nothing else
// lies there. The WAV header is read here by hand so that the test needs no audio library.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Every file a handler plays, as "zvuky/<name>" (some names hold spaces and Czech letters).
constexpr std::array<std::u8string_view, 34> kSoundFiles = {
    u8"alarm.wav",      u8"arašídy.wav",    u8"auto.wav",       u8"black.wav",
    u8"black2.wav",     u8"blek.wav",       u8"dokumenty.wav",  u8"důkazy.wav",
    u8"go bank.wav",    u8"hlasatelka.wav", u8"klokani.wav",    u8"krisí maso.wav",
    u8"zorvina.wav",    u8"matoni.wav",     u8"naschle.wav",    u8"nefunguje.wav",
    u8"nefunguje2.wav", u8"nefunguje3.wav", u8"nemám.wav",      u8"no money.wav",
    u8"okno vily.wav",  u8"pejsek.wav",     u8"pozdrav.wav",    u8"průser.wav",
    u8"přání.wav",      u8"seznam.wav",     u8"setkání.wav",    u8"sleva.wav",
    u8"telefon.wav",    u8"televize.wav",   u8"tunelbanka.wav", u8"vrčení.wav",
    u8"zatčení.wav",    u8"zatýkání.wav",
};

constexpr std::uint32_t kSampleRate = 22050;
constexpr double kMinSeconds = 0.3;
constexpr double kMaxSeconds = 20.0;
// Loudest sample must reach at least this (about -30 dBFS), or the clip counts as silent.
constexpr int kMinPeak = 1000;

fs::path SoundDir() {
    return fs::path(ORVAL_SOURCE_DIR) / "zvuky";
}

std::string Printable(std::u8string_view text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

std::uint32_t Le32(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t Le16(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

bool TagAt(const std::vector<unsigned char>& b, std::size_t at, std::string_view tag) {
    return at + 4 <= b.size() && std::equal(tag.begin(), tag.end(), b.begin() + at);
}

struct Wave {
    std::uint16_t format = 0;
    std::uint16_t channels = 0;
    std::uint32_t sample_rate = 0;
    std::uint32_t byte_rate = 0;
    std::uint16_t block_align = 0;
    std::uint16_t bits = 0;
    bool has_fmt = false;
    std::optional<std::vector<std::int16_t>> samples;  // the data chunk, once found
};

// Reads a RIFF/WAVE file chunk by chunk. Returns an empty optional with a reason in `error`
// when the file is not a well-formed WAVE file.
std::optional<Wave> ReadWave(const fs::path& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot be opened";
        return std::nullopt;
    }
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in),
                                           std::istreambuf_iterator<char>()};
    if (bytes.size() < 12 || !TagAt(bytes, 0, "RIFF") || !TagAt(bytes, 8, "WAVE")) {
        error = "is not a RIFF/WAVE file";
        return std::nullopt;
    }
    if (std::size_t{Le32(bytes, 4)} + 8 > bytes.size()) {
        error = "is shorter than its RIFF header says";
        return std::nullopt;
    }
    Wave wave;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::uint32_t size = Le32(bytes, at + 4);
        const std::size_t body = at + 8;
        if (size > bytes.size() - body) {
            error = "has a chunk that runs past the end of the file";
            return std::nullopt;
        }
        if (TagAt(bytes, at, "fmt ")) {
            if (size < 16) {
                error = "has a fmt chunk shorter than 16 bytes";
                return std::nullopt;
            }
            wave.has_fmt = true;
            wave.format = Le16(bytes, body);
            wave.channels = Le16(bytes, body + 2);
            wave.sample_rate = Le32(bytes, body + 4);
            wave.byte_rate = Le32(bytes, body + 8);
            wave.block_align = Le16(bytes, body + 12);
            wave.bits = Le16(bytes, body + 14);
        } else if (TagAt(bytes, at, "data")) {
            std::vector<std::int16_t> samples(size / 2);
            for (std::size_t i = 0; i < samples.size(); ++i) {
                samples[i] = static_cast<std::int16_t>(Le16(bytes, body + 2 * i));
            }
            wave.samples = std::move(samples);
        }
        at = body + size + (size & 1);  // chunks are padded to an even length
    }
    return wave;
}

// A test parameter: one file name, printed readably in test listings and failures.
struct Clip {
    std::u8string_view file;
    friend void PrintTo(const Clip& clip, std::ostream* out) { *out << Printable(clip.file); }
};

std::vector<Clip> AllClips() {
    std::vector<Clip> clips;
    for (const std::u8string_view file : kSoundFiles) clips.push_back(Clip{file});
    return clips;
}

class SoundFile : public testing::TestWithParam<Clip> {};

TEST_P(SoundFile, IsAudibleMonoPcmOfTheRightLength) {
    const fs::path path = SoundDir() / fs::path(std::u8string(GetParam().file));
    const std::string name = "zvuky/" + Printable(GetParam().file);
    ASSERT_TRUE(fs::is_regular_file(path)) << name << " is missing";

    std::string error;
    const std::optional<Wave> wave = ReadWave(path, error);
    ASSERT_TRUE(wave.has_value()) << name << " " << error;
    ASSERT_TRUE(wave->has_fmt) << name << " has no fmt chunk";
    EXPECT_EQ(wave->format, 1) << name << " is not plain PCM";
    EXPECT_EQ(wave->channels, 1) << name << " is not mono";
    EXPECT_EQ(wave->sample_rate, kSampleRate) << name;
    EXPECT_EQ(wave->bits, 16) << name;
    EXPECT_EQ(wave->block_align, 2) << name;
    EXPECT_EQ(wave->byte_rate, kSampleRate * 2) << name;
    ASSERT_TRUE(wave->samples.has_value()) << name << " has no data chunk";

    const std::vector<std::int16_t>& samples = *wave->samples;
    const double seconds = static_cast<double>(samples.size()) / kSampleRate;
    EXPECT_GE(seconds, kMinSeconds) << name << " is too short";
    EXPECT_LE(seconds, kMaxSeconds) << name << " is too long";

    int peak = 0;
    for (const std::int16_t s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_GE(peak, kMinPeak) << name << " is silent (peak " << peak << ")";
}

std::string TestName(const testing::TestParamInfo<Clip>& info) {
    std::string name = std::to_string(info.index) + "_";
    for (const char8_t c : info.param.file) {
        const bool plain =
            (c >= u8'a' && c <= u8'z') || (c >= u8'A' && c <= u8'Z') || (c >= u8'0' && c <= u8'9');
        if (plain) {
            name += static_cast<char>(c);
        } else if (c < 0x80 || (c & 0xC0) == 0xC0) {
            name += '_';  // one underscore per character, also for a Czech letter
        }
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Zvuky, SoundFile, testing::ValuesIn(AllClips()), TestName);

TEST(SoundDirectory, HoldsOnlyTheGamesClips) {
    const std::set<std::u8string> expected(kSoundFiles.begin(), kSoundFiles.end());
    ASSERT_EQ(expected.size(), kSoundFiles.size()) << "a clip is listed twice";
    ASSERT_TRUE(fs::is_directory(SoundDir()));
    for (const fs::directory_entry& entry : fs::directory_iterator(SoundDir())) {
        const std::u8string name = entry.path().filename().u8string();
        EXPECT_TRUE(expected.contains(name))
            << "zvuky/" << Printable(name) << " is not played by the game";
    }
}

}  // namespace
