#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <string>
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

namespace {

// A variable's value; empty when unset or empty, which the XDG rules treat alike.
std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

std::vector<std::u16string> DataFolders(std::u16string_view name) {
  std::vector<std::string> roots;
  // Only absolute folders count: a relative one would depend on where the program was started.
  const auto add = [&roots](const std::string& folder) {
    if (folder.starts_with('/')) roots.push_back(folder);
  };
  if (const std::string home_data = Variable("XDG_DATA_HOME"); !home_data.empty()) {
    add(home_data);
  } else if (const std::string home = Variable("HOME"); !home.empty()) {
    add(home + "/.local/share");
  }
  std::string shared = Variable("XDG_DATA_DIRS");
  if (shared.empty()) shared = "/usr/local/share:/usr/share";
  for (std::size_t begin = 0; begin <= shared.size();) {
    std::size_t end = shared.find(':', begin);
    if (end == std::string::npos) end = shared.size();
    add(shared.substr(begin, end - begin));
    begin = end + 1;
  }
  std::vector<std::u16string> folders;
  for (std::string& root : roots) {
    while (root.size() > 1 && root.ends_with('/')) root.pop_back();
    folders.push_back(FromUtf8Escaped(root) + u'/' + std::u16string(name));
  }
  return folders;
}

std::uintptr_t PlaceInImage(const void* code) {
  Dl_info image{};
  if (dladdr(code, &image) == 0) return reinterpret_cast<std::uintptr_t>(code);
  return reinterpret_cast<std::uintptr_t>(code) - reinterpret_cast<std::uintptr_t>(image.dli_fbase);
}

}  // namespace log2plt::platform::program
