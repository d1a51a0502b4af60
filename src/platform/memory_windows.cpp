#include "platform/memory.h"

namespace granvel {

// The Windows heap keeps freed blocks for the process already.
void KeepFreedMemory() {}

}  // namespace granvel
