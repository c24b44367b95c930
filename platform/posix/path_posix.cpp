#include <unistd.h>

#include <string>

#include "base/utf.h"
#include "platform/path.h"

namespace log2plt::platform::path {

std::u16string FullPath(std::u16string_view name) {
  if (name.empty()) return {};
  std::string folder(4096, '\0');
  while (getcwd(folder.data(), folder.size()) == nullptr) {
    if (folder.size() > (1u << 20)) return std::u16string(name);
    folder.resize(folder.size() * 2);
  }
  folder.resize(folder.find('\0'));
  return JoinAndNormalise(FromUtf8Escaped(folder), name);
}

}  // namespace log2plt::platform::path
