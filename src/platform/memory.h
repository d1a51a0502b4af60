// How the process's heap treats memory it frees.
#pragma once

namespace granvel {

// For a batch: memory freed after one file stays with the process for the next, instead of going back to the
// system and being faulted in again page by page (the C library's default gives back whatever exceeds
// 128 KiB at the top of the heap, which a file's page-sized buffers do every time). Call once at start.
void KeepFreedMemory();

}  // namespace granvel
