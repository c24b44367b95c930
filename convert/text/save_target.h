#pragma once
// A file being saved, or the process's standard output: bytes go in as they come, and the file
// takes the place of the old one only when Commit succeeds.

#include <string_view>

#include "platform/file.h"

namespace log2plt {

// Every failure is the save's message for the file's name.
class SaveTarget {
 public:
  explicit SaveTarget(std::u16string_view file_name);
  struct StandardOutput {};
  explicit SaveTarget(StandardOutput);

  void Write(std::string_view bytes);
  void Commit();

 private:
  std::u16string_view name_;
  platform::file::Replacement file_;
};

}  // namespace log2plt
