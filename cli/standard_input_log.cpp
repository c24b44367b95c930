#include "cli/standard_input_log.h"

#include <memory>

#include "base/error.h"
#include "cli/options.h"
#include "platform/error_text.h"
#include "platform/file.h"
#include "platform/path.h"

namespace log2plt::cli {
namespace {

constexpr std::u16string_view kShownName = u"standard input";

// The copy's piece: memory stays the same whatever the log's size.
constexpr std::size_t kPieceBytes = 1 << 20;

[[noreturn]] void ThrowCopyFailure(std::u16string_view message_template,
                                   const platform::file::Failure& failure) {
  throw Error(
      FillTemplate(message_template,
                   {platform::SystemErrorText(static_cast<unsigned long>(failure.code.value()))}));
}

void CopyStandardInputTo(platform::file::TemporaryFile& copy) {
  if (auto failure = copy.Create()) {
    ThrowCopyFailure(u"Cannot create a temporary file for the log. %s", *failure);
  }
  const auto piece = std::make_unique_for_overwrite<char[]>(kPieceBytes);
  for (;;) {
    std::size_t got = 0;
    if (auto failure = platform::file::ReadStandardInput(piece.get(), kPieceBytes, got)) {
      ThrowCopyFailure(u"Cannot read the log. %s", *failure);
    }
    if (got == 0) break;
    if (auto failure = copy.Write({piece.get(), got})) {
      ThrowCopyFailure(u"Cannot copy the log to a temporary file. %s", *failure);
    }
  }
  if (auto failure = copy.Finish()) {
    ThrowCopyFailure(u"Cannot copy the log to a temporary file. %s", *failure);
  }
}

// The temporary file is the program's own affair: a message about it speaks of standard input.
std::u16string WithoutTemporaryName(std::u16string message, const std::u16string& temporary) {
  for (const std::u16string& name : {platform::path::FullPath(temporary), temporary}) {
    for (std::size_t at; !name.empty() && (at = message.find(name)) != std::u16string::npos;) {
      message.replace(at, name.size(), kShownName);
    }
  }
  return message;
}

}  // namespace

bool IsStandardInput(std::u16string_view input) { return input == kStandardInput; }

std::u16string_view ShownInputName(std::u16string_view input) {
  return IsStandardInput(input) ? kShownName : input;
}

ConversionOutcome ConvertStandardInput(FormatSettings& settings, std::u16string_view output,
                                       ConversionRun run) {
  // Nothing is read for an output that may not be replaced: a pipe's writer need not finish first.
  if (!run.to_standard_output && IsExistingFile(output)) {
    if (!run.may_replace(output)) return {};
    run.may_replace = [](std::u16string_view) { return true; };
  }
  platform::file::TemporaryFile copy;
  CopyStandardInputTo(copy);
  try {
    return RunConversion(settings, {copy.Name(), std::u16string(output)}, run);
  } catch (const Error& error) {
    throw Error(WithoutTemporaryName(error.Message(), copy.Name()),
                WithoutTemporaryName(error.Cause(), copy.Name()));
  }
}

}  // namespace log2plt::cli
