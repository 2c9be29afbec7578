// The game's sound on SDL_mixer: one clip at a time on one channel.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct Mix_Chunk;

namespace orval {

// One clip at a time on one mixer channel; a new clip cuts off the one playing. The device is
// opened by the first clip, at the clips' own format (so loading a clip converts nothing), and
// closed again once it has been quiet a while, so that a game at rest costs no wake-ups. A
// device that cannot be opened is said once on stderr, and the game stays silent.
class SdlAudio {
  public:
    enum class Outcome { Played, AlertTone, Silent };

    // Every clip of the game is 16-bit mono PCM at this rate.
    static constexpr int kClipRate = 22050;
    // How long the device stays open after the last clip ended.
    static constexpr std::uint64_t kQuietBeforeClosing = 3000;

    SdlAudio() = default;
    ~SdlAudio();
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    // Starts the file, or the alert tone when it cannot be read; never throws.
    Outcome play(const std::string& file) noexcept;
    // Cuts off the clip playing; the device closes when it has been quiet long enough.
    void stop() noexcept;
    // When the device should next be looked at (`now` on SDL's clock), or nothing while closed.
    std::optional<std::uint64_t> nextCheck(std::uint64_t now);
    // Closes the device if it has been quiet long enough.
    void closeIfQuiet(std::uint64_t now);
    bool isOpen() const { return open_; }

  private:
    struct ChunkDeleter {
        void operator()(Mix_Chunk* chunk) const;
    };
    using ChunkPtr = std::unique_ptr<Mix_Chunk, ChunkDeleter>;

    bool open();
    // No sound for the rest of the run: says so, and returns false.
    bool goSilent();
    void close();
    void stopAndFree();

    bool open_ = false;
    bool subsystem_ = false;  // SDL's audio subsystem, kept once started
    bool silent_ = false;     // the device could not be opened: it is not asked again
    ChunkPtr clip_;           // the clip playing or last played, unless that is the alert tone
    ChunkPtr alert_;          // made when the device opens, over alertSamples_
    std::optional<std::uint64_t> quietSince_;
    std::vector<std::int16_t> alertSamples_;
};

}  // namespace orval
