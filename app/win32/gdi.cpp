#include "app/win32/gdi.h"

#include <atomic>

namespace log2plt::win32 {
namespace {

std::atomic<int> held{0};

}  // namespace

int HeldGdiObjects() noexcept { return held.load(); }

namespace gdi_count {
void Took() noexcept { held.fetch_add(1); }
void Gave() noexcept { held.fetch_sub(1); }
}  // namespace gdi_count

}  // namespace log2plt::win32
