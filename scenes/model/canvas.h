// Plain pixel surfaces the game draws into. They need no display: the same code draws into a
// window's own pixels, a test's canvas and a snapshot.
#pragma once

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include <SDL_surface.h>

#include "scenes/model/geometry.h"

namespace orval {

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// A picture or sound file that exists but cannot be used.
class AssetError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// An RGB drawing surface of fixed size at a display scale k: every position and size given to
// it is in logical pixels, each k x k pixels of the surface, so one layout serves every screen.
class Canvas {
  public:
    // A surface of its own for `width` x `height` logical pixels, filled with black.
    Canvas(int width, int height, int scale = 1);
    // Draws into pixels someone else owns (a window's own surface, k times the logical size),
    // which outlive the canvas.
    explicit Canvas(SDL_Surface* borrowed, int scale = 1);

    // Logical size.
    int width() const { return surface_->w / scale_; }
    int height() const { return surface_->h / scale_; }
    int scale() const { return scale_; }
    SDL_Surface* surface() const { return surface_; }

    // Fills the part of `area` inside `clip`.
    void fill(const Rect& area, Colour colour, const Rect& clip);
    // Draws `picture`, made for this canvas's scale (see loadPicture), pixel for pixel with its
    // upper-left corner at (x, y), clipped to `clip`.
    void draw(SDL_Surface* picture, int x, int y, const Rect& clip);
    // A one-pixel outline along the inside of `area`.
    void outline(const Rect& area, Colour colour, const Rect& clip);
    // A filled disc in the square of side `diameter` at (x, y), rounded at the surface's own
    // pixels, so that it stays round at every scale.
    void disc(int x, int y, int diameter, Colour colour, const Rect& clip);
    // The colour of a logical pixel (its upper-left pixel on the surface).
    Colour pixel(int x, int y) const;
    // Writes the canvas, every pixel of its surface, as a PNG file; throws AssetError when it
    // cannot.
    void savePng(const std::filesystem::path& file) const;

    Rect bounds() const { return {0, 0, width(), height()}; }

  private:
    SurfacePtr owned_;
    SDL_Surface* surface_;
    int scale_ = 1;
};

// The picture whose 1x file is `file` as drawn at display scale `scale`: its own file of that
// scale (the folder 2x or 3x beside the 1x file), at 4x the 2x one doubled, so that every line
// stays sharp. Throws AssetError naming the file when it cannot be read.
SurfacePtr loadPicture(const std::filesystem::path& file, int scale);

}  // namespace orval
