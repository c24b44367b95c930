#include "convert/stream/file_log.h"

#include <system_error>

#include "platform/file_failure.h"

namespace log2plt {

FileLog::FileLog(std::u16string_view name) : name_(name) {
  if (auto failure = reader_.Open(name_)) platform::ThrowFileFailure(*failure, name_);
}

std::size_t FileLog::Read(char* buffer, std::size_t size) {
  std::size_t got = 0;
  if (auto failure = reader_.Read(buffer, size, got)) platform::ThrowFileFailure(*failure, name_);
  read_ += got;
  if (got == 0 && read_ != reader_.Size()) FailChanged();
  return got;
}

void FileLog::Rewind() {
  if (auto failure = reader_.Rewind()) platform::ThrowFileFailure(*failure, name_);
  read_ = 0;
}

void FileLog::FailChanged() {
  platform::ThrowFileFailure(
      {platform::file::Failure::Step::kRead, std::make_error_code(std::errc::io_error)}, name_);
}

}  // namespace log2plt
