#include "shell/platform/sdl_audio.h"

#include <cmath>
#include <filesystem>
#include <system_error>

#include <SDL.h>
#include <SDL_mixer.h>

#include "scenes/model/utf8_path.h"

namespace orval {

void SdlAudio::ChunkDeleter::operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }

SdlAudio::~SdlAudio() {
    close();
    if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudio::open() {
    if (open_) return true;
    if (!subsystem_) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        subsystem_ = true;
    }
    // No format change allowed: SDL converts in its own thread if the device differs, and a
    // clip loads without resampling on the click that plays it.
    if (Mix_OpenAudioDevice(kClipRate, AUDIO_S16SYS, 1, 1024, nullptr, 0) != 0) return false;
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
    // Only a regular file is read: a FIFO in its place would freeze the click that plays it.
    std::error_code error;
    if (std::filesystem::is_regular_file(pathFromUtf8(file), error))
        clip_.reset(Mix_LoadWAV(file.c_str()));
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
