#include "convert/text/save_target.h"

#include "platform/file_failure.h"

namespace log2plt {

SaveTarget::SaveTarget(std::u16string_view file_name) : name_(file_name) {
  if (auto failure = file_.Open(name_)) platform::ThrowFileFailure(*failure, name_);
}

SaveTarget::SaveTarget(StandardOutput) {
  if (auto failure = file_.OpenStandardOutput()) platform::ThrowFileFailure(*failure, name_);
}

void SaveTarget::Write(std::string_view bytes) {
  if (auto failure = file_.Write(bytes)) platform::ThrowFileFailure(*failure, name_);
}

void SaveTarget::Commit() {
  if (auto failure = file_.Commit()) platform::ThrowFileFailure(*failure, name_);
}

}  // namespace log2plt
