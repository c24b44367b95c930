#include "platform/file_failure.h"

#include "base/error.h"
#include "platform/error_text.h"
#include "platform/failure_cause.h"
#include "platform/path.h"

namespace log2plt::platform {

void ThrowFileFailure(const file::Failure& failure, std::u16string_view file_name) {
  using Step = file::Failure::Step;
  std::u16string_view message_template;
  switch (failure.step) {
    case Step::kOpen:
      message_template = u"Cannot open file \"%s\". %s";
      break;
    case Step::kRead:
      message_template = u"Cannot read file \"%s\". %s";
      break;
    case Step::kCreate:
      message_template = u"Cannot create file \"%s\". %s";
      break;
    case Step::kWrite:
      throw Error(u"Stream write error", CauseOfFileFailure(failure, file_name));
  }
  throw Error(FillTemplate(message_template,
                           {path::FullPath(file_name),
                            SystemErrorText(static_cast<unsigned long>(failure.code.value()))}),
              CauseOfFileFailure(failure, file_name));
}

}  // namespace log2plt::platform
