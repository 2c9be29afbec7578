#include "scenes/model/pictures.h"

#include <SDL_image.h>

namespace orval {

SDL_Surface* PictureStore::get(const std::string& relativePath) {
    if (const auto it = pictures_.find(relativePath); it != pictures_.end())
        return it->second.get();
    const std::filesystem::path file = dataDir_ / relativePath;
    SurfacePtr loaded(IMG_Load(file.string().c_str()));
    if (!loaded) throw AssetError(file.string() + ": not a readable picture: " + IMG_GetError());
    // Convert once so that every later blit is a plain copy.
    SurfacePtr converted(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
    if (!converted) throw AssetError(file.string() + ": cannot be converted: " + SDL_GetError());
    SDL_Surface* result = converted.get();
    pictures_.emplace(relativePath, std::move(converted));
    return result;
}

}  // namespace orval
