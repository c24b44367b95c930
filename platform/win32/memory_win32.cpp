#include "platform/memory.h"

namespace log2plt::platform::memory {

// Windows has no call that maps in anonymous pages for writing ahead of use.
void PrefaultForWriting(void*, std::size_t) noexcept {}

}  // namespace log2plt::platform::memory
