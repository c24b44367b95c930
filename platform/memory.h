#pragma once
// Hints about memory the program is about to fill.

#include <cstddef>

namespace log2plt::platform::memory {

// Maps in the pages of a range the caller writes next, in one call instead of a fault per page.
// Only a hint: where the system cannot, nothing happens.
void PrefaultForWriting(void* begin, std::size_t bytes) noexcept;

}  // namespace log2plt::platform::memory
