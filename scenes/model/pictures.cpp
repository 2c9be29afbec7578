#include "scenes/model/pictures.h"

namespace orval {

SurfacePtr PictureStore::load(const std::string& relativePath, int scale) const {
    return loadPicture(dataDir_ / relativePath, scale);
}

void PictureStore::check(const std::string& relativePath, int scale) {
    if (checked_.contains({relativePath, scale})) return;
    load(relativePath, scale);
    checked_.insert({relativePath, scale});
}

}  // namespace orval
