// Memory the program frees is kept for its next allocations instead of going back to the system
// at once. A run frees and takes again hundreds of megabytes (rows, join indexes, recorded lines),
// and on virtual machines every page taken afresh costs a page fault as dear as reading several
// pages of the archive. The program ends after its run, so nothing is held for long.
#pragma once

namespace tarvik::platform {

// Called as a run starts; calling it again changes nothing.
void KeepFreedMemoryForReuse();

}  // namespace tarvik::platform
