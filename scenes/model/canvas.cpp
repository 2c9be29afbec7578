#include "scenes/model/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include <SDL_image.h>

#include "scenes/model/data_file.h"
#include "scenes/model/utf8_path.h"

namespace orval {
namespace {

Rect times(const Rect& r, int k) { return {r.x * k, r.y * k, r.w * k, r.h * k}; }

// Each pixel as a square of factor x factor pixels.
SurfacePtr enlarge(const SDL_Surface* picture, int factor, const std::filesystem::path& file) {
    const SurfacePtr source(
        SDL_ConvertSurfaceFormat(const_cast<SDL_Surface*>(picture), SDL_PIXELFORMAT_ARGB8888, 0));
    SurfacePtr large(SDL_CreateRGBSurfaceWithFormat(0, picture->w * factor, picture->h * factor, 32,
                                                    SDL_PIXELFORMAT_ARGB8888));
    if (!source || !large)
        throw AssetError(utf8Of(file) + ": cannot be enlarged: " + SDL_GetError());
    for (int y = 0; y < large->h; ++y) {
        const auto* from = reinterpret_cast<const std::uint32_t*>(
            static_cast<const std::uint8_t*>(source->pixels) + (y / factor) * source->pitch);
        auto* to = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(large->pixels) +
                                                    y * large->pitch);
        for (int x = 0; x < large->w; ++x) to[x] = from[x / factor];
    }
    // An opaque picture stays a plain copy when drawn, as its own file would.
    SDL_SetSurfaceBlendMode(large.get(), SDL_ISPIXELFORMAT_ALPHA(picture->format->format)
                                             ? SDL_BLENDMODE_BLEND
                                             : SDL_BLENDMODE_NONE);
    return large;
}

}  // namespace

Canvas::Canvas(int width, int height, int scale)
    : owned_(SDL_CreateRGBSurfaceWithFormat(0, std::max(1, width) * scale,
                                            std::max(1, height) * scale, 32,
                                            SDL_PIXELFORMAT_XRGB8888)),
      surface_(owned_.get()),
      scale_(scale) {
    if (!surface_)
        throw AssetError(std::string("cannot create a drawing surface: ") + SDL_GetError());
}

Canvas::Canvas(SDL_Surface* borrowed, int scale) : surface_(borrowed), scale_(scale) {}

void Canvas::fill(const Rect& area, Colour colour, const Rect& clip) {
    const Rect r = times(intersect(intersect(area, clip), bounds()), scale_);
    if (r.w <= 0 || r.h <= 0) return;
    SDL_Rect sdl{r.x, r.y, r.w, r.h};
    SDL_FillRect(surface_, &sdl, SDL_MapRGB(surface_->format, colour.r, colour.g, colour.b));
}

void Canvas::draw(SDL_Surface* picture, int x, int y, const Rect& clip) {
    // The picture's pixels are the surface's own: placed and clipped in surface pixels.
    x *= scale_;
    y *= scale_;
    const Rect r =
        intersect({x, y, picture->w, picture->h}, times(intersect(clip, bounds()), scale_));
    if (r.w <= 0 || r.h <= 0) return;
    SDL_Rect source{r.x - x, r.y - y, r.w, r.h};
    SDL_Rect target{r.x, r.y, r.w, r.h};
    SDL_BlitSurface(picture, &source, surface_, &target);
}

void Canvas::outline(const Rect& area, Colour colour, const Rect& clip) {
    fill({area.x, area.y, area.w, 1}, colour, clip);
    fill({area.x, area.y + area.h - 1, area.w, 1}, colour, clip);
    fill({area.x, area.y, 1, area.h}, colour, clip);
    fill({area.x + area.w - 1, area.y, 1, area.h}, colour, clip);
}

void Canvas::disc(int x, int y, int diameter, Colour colour, const Rect& clip) {
    const Rect within = times(intersect(clip, bounds()), scale_);
    const int side = diameter * scale_, radius = side / 2;
    const Uint32 value = SDL_MapRGB(surface_->format, colour.r, colour.g, colour.b);
    for (int row = 0; row < side; ++row) {
        const double dy = row + 0.5 - radius;
        const int half = static_cast<int>(std::sqrt(std::max(0.0, radius * radius - dy * dy)));
        const Rect r =
            intersect({x * scale_ + radius - half, y * scale_ + row, 2 * half, 1}, within);
        if (r.w <= 0 || r.h <= 0) continue;
        SDL_Rect sdl{r.x, r.y, r.w, r.h};
        SDL_FillRect(surface_, &sdl, value);
    }
}

Colour Canvas::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return {};
    x *= scale_;
    y *= scale_;
    const auto* row = static_cast<const std::uint8_t*>(surface_->pixels) + y * surface_->pitch;
    const std::uint32_t value = reinterpret_cast<const std::uint32_t*>(row)[x];
    Colour c;
    SDL_GetRGB(value, surface_->format, &c.r, &c.g, &c.b);
    return c;
}

void Canvas::savePng(const std::filesystem::path& file) const {
    if (IMG_SavePNG(surface_, utf8Of(file).c_str()) != 0)
        throw AssetError(utf8Of(file) + ": cannot be written: " + IMG_GetError());
}

SurfacePtr loadPicture(const std::filesystem::path& file, int scale) {
    // The largest scale drawn from the SVG (3x, 2x, 1x) that divides the one asked for.
    const int own = scale % 3 == 0 ? 3 : scale % 2 == 0 ? 2 : 1;
    const std::filesystem::path path =
        own == 1 ? file : file.parent_path() / (std::to_string(own) + "x") / file.filename();
    // Checked before decoding as the 1x picture was when its description was read: a picture
    // of another size would be drawn out of place, or cost the memory of a huge one.
    const PictureHeader picture = readPictureHeader(path);
    if (!picture.problem.empty()) throw AssetError(picture.problem);
    if (own > 1) {
        const PictureHeader base = readPictureHeader(file);
        if (!base.problem.empty()) throw AssetError(base.problem);
        if (picture.width != own * base.width || picture.height != own * base.height)
            throw AssetError(utf8Of(path) + " is " + std::to_string(picture.width) + " x " +
                             std::to_string(picture.height) + " pixels, not " +
                             std::to_string(own) + " times the " + std::to_string(base.width) +
                             " x " + std::to_string(base.height) + " of " + utf8Of(file));
    }
    SurfacePtr loaded(IMG_Load(utf8Of(path).c_str()));
    if (!loaded) throw AssetError(utf8Of(path) + ": not a readable picture: " + IMG_GetError());
    if (scale == own) return loaded;
    return enlarge(loaded.get(), scale / own, path);
}

}  // namespace orval
