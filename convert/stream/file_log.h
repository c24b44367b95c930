#pragma once
// The log file as the streaming conversion reads it.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "convert/stream/log_source.h"
#include "platform/file.h"

namespace log2plt {

// A read that fails, or a log that is not the size it had when opened, fails with the loader's
// read error for the file.
class FileLog : public LogSource {
 public:
  explicit FileLog(std::u16string_view name);
  std::uint64_t Size() const { return reader_.Size(); }

  std::size_t Read(char* buffer, std::size_t size) override;
  void Rewind() override;
  [[noreturn]] void FailChanged() override;

 private:
  std::u16string_view name_;
  platform::file::Reader reader_;
  std::uint64_t read_ = 0;
};

}  // namespace log2plt
