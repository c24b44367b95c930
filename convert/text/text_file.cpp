#include "convert/text/text_file.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <string>

#include "base/error.h"
#include "convert/text/ansi_text.h"
#include "convert/text/file_date.h"
#include "convert/text/save_target.h"
#include "convert/text/text_codec.h"
#include "platform/failure_cause.h"
#include "platform/file.h"
#include "platform/file_failure.h"

namespace log2plt {
namespace {

// Text goes to the file in pieces of this many code units, so that a converted copy of a large
// list never exists whole.
constexpr std::size_t kSaveChunk = 1 << 20;

void SaveNarrow(std::string_view text, SaveTarget& file) {
  std::string bytes;
  for (std::size_t at = 0; at < text.size(); at += kSaveChunk) {
    const std::string_view chunk = text.substr(at, kSaveChunk);
    // ASCII is the same in every ANSI code page, so it goes out without a copy.
    if (IsAscii(chunk)) {
      file.Write(chunk);
      continue;
    }
    bytes.clear();
    AppendAnsiBytes(bytes, chunk);
    file.Write(bytes);
  }
}

void SaveWide(std::u16string_view text, SaveTarget& file) {
  std::string bytes;
  while (!text.empty()) {
    std::size_t length = std::min(text.size(), kSaveChunk);
    // A surrogate pair is converted whole.
    if (length < text.size() && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) ++length;
    bytes.clear();
    AppendAnsiBytes(bytes, text.substr(0, length));
    file.Write(bytes);
    text.remove_prefix(length);
  }
}

void SaveText(const LineList& list, SaveTarget& file) {
  if (list.IsWide()) {
    SaveWide(list.WideText(), file);
  } else {
    SaveNarrow(list.NarrowText(), file);
  }
  file.Commit();
}

}  // namespace

void LoadLineList(LineList& list, std::u16string_view file_name) {
  std::string bytes;
  try {
    if (auto failure = platform::file::ReadAll(file_name, bytes)) {
      platform::ThrowFileFailure(*failure, file_name);
    }
  } catch (const std::bad_alloc&) {
    throw Error(u"Text exceeds memo capacity");
  } catch (const std::length_error&) {
    throw Error(u"Text exceeds memo capacity");
  }
  AssignFileBytes(list, std::move(bytes));
}

void SaveLineList(const LineList& list, std::u16string_view file_name) {
  SaveTarget file(file_name);
  SaveText(list, file);
}

void SaveLineListToStandardOutput(const LineList& list) {
  SaveTarget file(SaveTarget::StandardOutput{});
  SaveText(list, file);
}

bool IsExistingFile(std::u16string_view file_name) {
  return platform::file::IsExistingFile(file_name);
}

double LastWriteDateTime(std::u16string_view file_name) {
  std::error_code failure;
  const std::uint32_t packed = platform::file::LastWriteDosDateTime(file_name, failure);
  try {
    return UnpackDosDateTime(packed);
  } catch (const Error& error) {
    throw Error(error.Message(), platform::CauseOfMissingDate(failure, file_name));
  }
}

}  // namespace log2plt
