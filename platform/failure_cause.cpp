#include "platform/failure_cause.h"

#include "platform/error_kind.h"
#include "platform/error_text.h"
#include "platform/file_attributes.h"
#include "platform/path.h"

namespace log2plt::platform {
namespace {

constexpr std::u16string_view kIsFolder = u"is a folder";
constexpr std::u16string_view kIsNoFile = u"is not a file";

// What the name itself says, before any error code: a folder opens on some systems and fails
// on others, each with its own words.
std::u16string_view CauseOfName(std::u16string_view file_name) {
  switch (file::KindOfName(file_name)) {
    case file::NameKind::kFolder:
      return kIsFolder;
    case file::NameKind::kOther:
      return kIsNoFile;
    case file::NameKind::kNothing:
    case file::NameKind::kFile:
      break;
  }
  return {};
}

std::u16string CauseOfError(std::error_code code) {
  switch (KindOfError(code)) {
    case ErrorKind::kNoSuchFile:
      return u"no such file";
    case ErrorKind::kNoPermission:
      return u"no permission";
    case ErrorKind::kHeldOpen:
      return u"another program holds the file open";
    case ErrorKind::kDiskFull:
      return u"no room left on the disk";
    case ErrorKind::kOther:
      break;
  }
  return SystemErrorText(static_cast<unsigned long>(code.value()));
}

bool FolderOfNameIsMissing(std::u16string_view file_name) {
  // The full path has the system's own separators, whichever the user typed.
  const std::u16string full_path = path::FullPath(file_name);
  const std::u16string_view folder = path::FolderPart(full_path);
  return !folder.empty() && file::KindOfName(folder) != file::NameKind::kFolder;
}

}  // namespace

std::u16string CauseOfFileFailure(const file::Failure& failure, std::u16string_view file_name) {
  using Step = file::Failure::Step;
  switch (failure.step) {
    case Step::kOpen:
    case Step::kRead:
      if (KindOfError(failure.code) == ErrorKind::kHeldOpen && !SystemTextNamesHeldOpen())
        return CauseOfError(failure.code);
      return std::u16string(CauseOfName(file_name));
    case Step::kCreate:
      if (KindOfError(failure.code) == ErrorKind::kNoSuchFile && FolderOfNameIsMissing(file_name))
        return u"the output's folder is missing";
      // A device or a FIFO is written to as it is: only a folder is no place for a track.
      return file::KindOfName(file_name) == file::NameKind::kFolder ? std::u16string(kIsFolder)
                                                                    : std::u16string();
    case Step::kWrite:
      // "Stream write error" says nothing of why.
      return CauseOfError(failure.code);
  }
  return {};
}

std::u16string CauseOfMissingDate(std::error_code failure, std::u16string_view file_name) {
  if (const std::u16string_view cause = CauseOfName(file_name); !cause.empty())
    return std::u16string(cause);
  if (!failure) return u"its date lies outside the years 1980 to 2107";
  return CauseOfError(failure);
}

}  // namespace log2plt::platform
