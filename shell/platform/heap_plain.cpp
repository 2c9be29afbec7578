// An allocator with no threshold to set (Windows'): it is left as it is.
#include "shell/platform/heap.h"

namespace orval {

void returnLargeBlocksWhenFreed() {}

}  // namespace orval
