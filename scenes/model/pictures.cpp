#include "scenes/model/pictures.h"

#include <SDL_image.h>

namespace orval {

SurfacePtr PictureStore::load(const std::string& relativePath) const {
    const std::filesystem::path file = dataDir_ / relativePath;
    SurfacePtr loaded(IMG_Load(file.string().c_str()));
    if (!loaded) throw AssetError(file.string() + ": not a readable picture: " + IMG_GetError());
    return loaded;
}

void PictureStore::check(const std::string& relativePath) {
    if (checked_.contains(relativePath)) return;
    load(relativePath);
    checked_.insert(relativePath);
}

}  // namespace orval
