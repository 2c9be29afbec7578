// How the program's memory allocator is tuned for the game, where the system's allocator can be
// told (a file per allocator, chosen by the build: heap_mallopt.cpp, heap_plain.cpp).
#pragma once

namespace orval {

// Decoded pictures (up to 1.3 MB) live only while a window is drawn: blocks that large get
// mappings of their own, returned to the system when freed, instead of growing the heap for
// good. Main calls it before the game starts.
void returnLargeBlocksWhenFreed();

}  // namespace orval
