// The pictures the scenes draw from, decoded from their PNG files when they are drawn.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <utility>

#include "scenes/model/canvas.h"

namespace orval {

// Pictures are decoded for each drawing and dropped after it: a window keeps its own pixels,
// so a second decoded copy of every background would only cost memory.
class PictureStore {
  public:
    explicit PictureStore(std::filesystem::path dataDir) : dataDir_(std::move(dataDir)) {}

    // The decoded picture as drawn at display scale `scale` (see loadPicture); throws
    // AssetError naming the file when it cannot be decoded.
    SurfacePtr load(const std::string& relativePath, int scale = 1) const;
    // Decodes the picture once, so that a damaged file is reported before anything needs it;
    // a picture checked before is not decoded again.
    void check(const std::string& relativePath, int scale = 1);

  private:
    std::filesystem::path dataDir_;
    std::set<std::pair<std::string, int>> checked_;
};

}  // namespace orval
