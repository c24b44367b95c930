#include <sys/mman.h>

#include <cstdint>

#include "platform/memory.h"

namespace log2plt::platform::memory {
namespace {

// Spelled out because older C library headers lack it; kernels before 5.14 answer EINVAL.
constexpr int kPopulateWrite = 23;  // MADV_POPULATE_WRITE
constexpr std::uintptr_t kPage = 4096;

}  // namespace

void PrefaultForWriting(void* begin, std::size_t bytes) noexcept {
  const auto first = (reinterpret_cast<std::uintptr_t>(begin) + kPage - 1) & ~(kPage - 1);
  const auto last = (reinterpret_cast<std::uintptr_t>(begin) + bytes) & ~(kPage - 1);
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, kPopulateWrite);
}

}  // namespace log2plt::platform::memory
