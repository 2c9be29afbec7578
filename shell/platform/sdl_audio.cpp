#include "shell/platform/sdl_audio.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include <SDL.h>
#include <SDL_mixer.h>

#include "scenes/model/utf8_path.h"

namespace orval {
namespace {

// The longest clip of the game is under 20 s: a clip may last a minute and take 16 MB, as a
// minute of CD sound does. Anything more is damage, and would hold the click that plays it while
// it is decoded whole.
constexpr std::uint32_t kMaxClipSeconds = 60;
constexpr std::uintmax_t kMaxClipBytes = 16 << 20;

std::uint32_t littleEndian(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
    return value;
}

// Whether an Ogg Vorbis clip (as the web build carries them) lasts no longer than the bound:
// its first page holds the sample rate, its last page the position of its last sample.
bool isSaneOggClip(std::ifstream& in, std::uintmax_t size) {
    unsigned char first[64] = {};
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(first), sizeof first)) return false;
    const std::size_t packet = 27 + first[26];  // after the page header and its segment table
    if (packet + 16 > sizeof first || first[packet] != 1 ||
        std::string_view(reinterpret_cast<const char*>(first + packet + 1), 6) != "vorbis")
        return false;
    const std::uint32_t rate = littleEndian(first + packet + 12, 4);
    const std::uintmax_t tailSize = std::min<std::uintmax_t>(size, 65536);
    std::string tail(tailSize, '\0');
    in.seekg(static_cast<std::streamoff>(size - tailSize));
    if (rate == 0 || !in.read(tail.data(), static_cast<std::streamsize>(tailSize))) return false;
    const std::size_t last = tail.rfind("OggS");
    if (last == std::string::npos || last + 14 > tail.size()) return false;
    std::uint64_t samples = 0;
    for (int i = 7; i >= 0; --i)
        samples = samples << 8 | static_cast<unsigned char>(tail[last + 6 + i]);
    return samples / rate < kMaxClipSeconds;
}

// Whether the file is a clip of a sane length, from its header alone: a regular file (a FIFO
// would block), no larger than the bound, whose sound, as its header claims it, lies within the
// file and lasts no longer than the bound.
bool isSaneClip(const std::string& file) {
    const std::filesystem::path path = pathFromUtf8(file);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kMaxClipBytes) return false;
    std::ifstream in(path, std::ios::binary);
    unsigned char riff[12] = {};
    if (!in.read(reinterpret_cast<char*>(riff), sizeof riff)) return false;
    if (std::string_view(reinterpret_cast<const char*>(riff), 4) == "OggS")
        return isSaneOggClip(in, size);
    if (std::string_view(reinterpret_cast<const char*>(riff), 4) != "RIFF" ||
        std::string_view(reinterpret_cast<const char*>(riff + 8), 4) != "WAVE")
        return false;
    std::uint32_t bytesPerSecond = 0;
    std::uintmax_t at = sizeof riff;
    for (int chunks = 0; chunks < 16; ++chunks) {
        unsigned char chunk[16] = {};
        in.seekg(static_cast<std::streamoff>(at));
        if (!in.read(reinterpret_cast<char*>(chunk), 8)) return false;
        const std::string_view id(reinterpret_cast<const char*>(chunk), 4);
        const std::uint32_t length = littleEndian(chunk + 4, 4);
        if (length > size - at - 8) return false;  // claims more than the file holds
        if (id == "fmt ") {
            if (length < 16 || !in.read(reinterpret_cast<char*>(chunk + 8), 8)) return false;
            bytesPerSecond = littleEndian(chunk + 8 + 4, 4);
        } else if (id == "data") {
            return bytesPerSecond > 0 && length / bytesPerSecond < kMaxClipSeconds;
        }
        at += 8 + length + (length & 1);  // chunks are padded to an even length
    }
    return false;
}

}  // namespace

void SdlAudio::ChunkDeleter::operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }

SdlAudio::~SdlAudio() {
    close();
    if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudio::open() {
    if (open_) return true;
    if (silent_) return false;
    if (!subsystem_) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return goSilent();
        subsystem_ = true;
    }
    // No format change allowed: SDL converts in its own thread if the device differs, and a
    // clip loads without resampling on the click that plays it.
    if (Mix_OpenAudioDevice(kClipRate, AUDIO_S16SYS, 1, 1024, nullptr, 0) != 0) return goSilent();
    Mix_AllocateChannels(1);
    if (alertSamples_.empty()) {
        // A short soft 880 Hz beep stands for the desktop's alert sound.
        constexpr int kSamples = kClipRate / 6;
        alertSamples_.resize(kSamples);
        for (int i = 0; i < kSamples; ++i) {
            const double envelope = std::min(1.0, std::min(i, kSamples - i) / 200.0);
            alertSamples_[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(
                6000.0 * envelope * std::sin(2.0 * M_PI * 880.0 * i / kClipRate));
        }
    }
    // The chunk borrows the samples, which live as long as this object.
    alert_.reset(
        Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(alertSamples_.data()),
                          static_cast<Uint32>(alertSamples_.size() * sizeof(std::int16_t))));
    open_ = true;
    return true;
}

bool SdlAudio::goSilent() {
    // Said once: a machine without a sound card would otherwise hear of it (and its sound
    // library write lines of its own) at every clip.
    silent_ = true;
    std::fprintf(stderr, "orval-kesk: no sound (%s); the game plays on without it\n",
                 SDL_GetError());
    return false;
}

void SdlAudio::close() {
    if (!open_) return;
    stopAndFree();
    alert_.reset();
    Mix_CloseAudio();
    open_ = false;
    quietSince_.reset();
}

void SdlAudio::stopAndFree() {
    // Halting on this thread first means the mixer no longer reads the chunk we free.
    Mix_HaltChannel(0);
    clip_.reset();
}

SdlAudio::Outcome SdlAudio::play(const std::string& file) noexcept {
    if (!open()) return Outcome::Silent;
    stopAndFree();
    quietSince_.reset();
    if (isSaneClip(file)) clip_.reset(Mix_LoadWAV(file.c_str()));
    const Outcome outcome = clip_ ? Outcome::Played : Outcome::AlertTone;
    Mix_Chunk* chunk = clip_ ? clip_.get() : alert_.get();
    if (!chunk || Mix_PlayChannel(0, chunk, 0) < 0) return Outcome::Silent;
    return outcome;
}

void SdlAudio::stop() noexcept {
    if (open_) stopAndFree();
}

std::optional<std::uint64_t> SdlAudio::nextCheck(std::uint64_t now) {
    if (!open_) return std::nullopt;
    if (Mix_Playing(0)) return now + 500;  // still speaking: look again soon
    if (!quietSince_) quietSince_ = now;
    return *quietSince_ + kQuietBeforeClosing;
}

void SdlAudio::closeIfQuiet(std::uint64_t now) {
    if (!open_) return;
    if (Mix_Playing(0)) {
        quietSince_.reset();
        return;
    }
    if (!quietSince_) quietSince_ = now;
    if (now >= *quietSince_ + kQuietBeforeClosing) close();
}

}  // namespace orval
