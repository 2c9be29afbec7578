// The game's face on this system: one file per system says where it lies (fontconfig on Linux,
// fonts\ beside the program on Windows), so the text layout needs no system of its own.
#pragma once

#include "scenes/model/font_files.h"

namespace orval {

// The four styles of Liberation Sans with Czech letters, as far as they are found.
FontFiles systemFontFiles();

}  // namespace orval
