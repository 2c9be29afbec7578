#include "scenes/model/pictures.h"

#include <SDL_image.h>

#include "scenes/model/utf8_path.h"

namespace orval {

SurfacePtr PictureStore::load(const std::string& relativePath) const {
    const std::filesystem::path file = dataDir_ / relativePath;
    SurfacePtr loaded(IMG_Load(utf8Of(file).c_str()));
    if (!loaded) throw AssetError(file.string() + ": not a readable picture: " + IMG_GetError());
    return loaded;
}

void PictureStore::check(const std::string& relativePath) {
    if (checked_.contains(relativePath)) return;
    load(relativePath);
    checked_.insert(relativePath);
}

}  // namespace orval
