// The pictures the scenes draw from, decoded from their PNG files.
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "scenes/model/canvas.h"

namespace orval {

// Every picture the scenes show, decoded once and kept for the run (they never change).
class PictureStore {
  public:
    explicit PictureStore(std::filesystem::path dataDir) : dataDir_(std::move(dataDir)) {}

    // The decoded picture; throws AssetError naming the file when it cannot be decoded.
    SDL_Surface* get(const std::string& relativePath);
    const std::filesystem::path& dataDir() const { return dataDir_; }

  private:
    std::filesystem::path dataDir_;
    std::map<std::string, SurfacePtr> pictures_;
};

}  // namespace orval
