#include "platform/memory.h"

#include <cstdlib>  // defines __GLIBC__ with the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace granvel {

void KeepFreedMemory() {
#if defined(__GLIBC__)
  // Up to 32 MiB of free heap is kept; the heap grows 1 MiB at a time.
  ::mallopt(M_TRIM_THRESHOLD, 32 << 20);
  ::mallopt(M_TOP_PAD, 1 << 20);
#endif
}

}  // namespace granvel
