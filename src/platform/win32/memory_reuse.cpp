#include "platform/memory_reuse.h"

namespace tarvik::platform {

// Windows' heap keeps freed blocks for reuse by itself.
void KeepFreedMemoryForReuse() {}

}  // namespace tarvik::platform
