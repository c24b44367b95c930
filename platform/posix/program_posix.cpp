#include <dlfcn.h>

#include <filesystem>
#include <system_error>

#include "base/utf.h"
#include "platform/program.h"

namespace log2plt::platform::program {

std::u16string ExecutablePath() {
  std::error_code error;
  const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return FromUtf8Escaped(path.string());
}

std::uintptr_t PlaceInImage(const void* code) {
  Dl_info image{};
  if (dladdr(code, &image) == 0) return reinterpret_cast<std::uintptr_t>(code);
  return reinterpret_cast<std::uintptr_t>(code) - reinterpret_cast<std::uintptr_t>(image.dli_fbase);
}

}  // namespace log2plt::platform::program
