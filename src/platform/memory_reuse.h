// The heap as a run uses it. A run frees and takes again hundreds of megabytes (rows, join
// indexes, recorded lines), and on virtual machines every page of memory touched for the first
// time costs a page fault as dear as reading several pages of the archive. So memory freed is kept
// for the next allocations instead of going back to the system at once, and the first stretch of
// each thread's heap is asked for in huge pages, which fault in two megabytes at a time. The
// program ends after its run, so nothing is held for long.
#pragma once

namespace tarvik::platform {

// Called as a run starts, on the thread that runs it; calling it again changes nothing.
void KeepFreedMemoryForReuse();
// Called first thing on every other thread that works for a run.
void PrepareThreadHeap();

}  // namespace tarvik::platform
