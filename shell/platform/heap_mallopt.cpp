// An allocator that takes mallopt's M_MMAP_THRESHOLD (glibc's, and emscripten's dlmalloc): a
// fixed threshold, where glibc's own grows with the largest block freed and soon keeps the
// pictures in the heap.
#include <malloc.h>

#include "shell/platform/heap.h"

namespace orval {

void returnLargeBlocksWhenFreed() { mallopt(M_MMAP_THRESHOLD, 256 * 1024); }

}  // namespace orval
