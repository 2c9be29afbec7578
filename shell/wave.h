// Wave: the game's one sound facility. Every spoken line and effect goes through here.
#pragma once

#include <filesystem>
#include <string_view>

#include "shell/platform/platform.h"

namespace orval {

// Starts the clip named like "zvuky/go bank.wav", resolved against the game's own directory
// (not the working directory), cutting off the clip still playing. Any failure is swallowed:
// a sound never stops a handler.
void playWave(Platform& platform, const std::filesystem::path& baseDir,
              std::string_view path) noexcept;

}  // namespace orval
