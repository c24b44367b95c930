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

}  // namespace log2plt::platform::program
