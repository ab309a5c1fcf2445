#include "platform/memory_reuse.h"

namespace tarvik::platform {

// Windows' heap keeps freed blocks for reuse by itself, and hands out large pages only to
// programs with a privilege users do not have.
void KeepFreedMemoryForReuse() {}
void PrepareThreadHeap() {}

}  // namespace tarvik::platform
