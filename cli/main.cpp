// log2plt: converts GPS track logs to OziExplorer track files, one conversion run per input.

#include <cmath>
#include <cstdlib>
#include <exception>
#include <string>

#include "base/error.h"
#include "base/shown_text.h"
#include "base/utf.h"
#include "cli/console.h"
#include "cli/input_list.h"
#include "cli/options.h"
#include "cli/standard_input_log.h"
#include "convert/format/float_policy.h"
#include "convert/format/format_settings.h"
#include "platform/file_attributes.h"
#include "platform/path.h"
#include "run/about.h"
#include "run/conversion_run.h"
#include "run/shared_texts.h"

namespace log2plt::cli {
namespace {

constexpr std::u16string_view kSynopsis =
    u"Usage: log2plt [-f|--force] [-v|--verbose] [-o OUTPUT] [--date YYYY-MM-DD] INPUT...\n";
constexpr std::u16string_view kOptions =
    u"  -f, --force        replace an existing output file without asking\n"
    u"  -o OUTPUT          the output file, for one input only (- for standard output);\n"
    u"                     by default the input name with its last three characters\n"
    u"                     replaced by \"plt\"\n"
    u"  --date YYYY-MM-DD  the day of every point; by default the day on which the\n"
    u"                     input file was last written\n"
    u"  -v, --verbose      after each track, a line on standard error with its points\n"
    u"                     and their first and last times\n"
    u"  --help             show this help\n"
    u"  --version          show the version\n"
    u"\n"
    u"An INPUT of - reads the log from standard input: --date is then needed, and the\n"
    u"track goes to standard output unless -o names a file. On Windows log2plt expands\n"
    u"the wildcards * and ? in an input's name itself; elsewhere the shell does.\n"
    u"\n"
    u"Examples:\n"
    u"  log2plt -f -v logs/*.log                       every log of a folder (Linux)\n"
    u"  log2plt.exe -f -v logs\\*.log                   the same on Windows\n"
    u"  gunzip -c day.log.gz | log2plt --date 2026-05-17 -o day.plt -\n";

// The window's question, its two lines joined by a blank for the terminal's one line.
std::u16string QuestionOnOneLine() {
  std::u16string question;
  for (const char16_t unit : std::u16string_view(texts::kQuestionText)) {
    if (unit == u'\n') {
      question.back() = u' ';
    } else {
      question += unit;
    }
  }
  return question;
}

// The window asks the same question before it overwrites; no one can answer it on standard input
// while that holds the log.
bool MayReplace(std::u16string_view output, bool force, bool may_ask) {
  if (force) return true;
  if (!may_ask || !IsInteractive()) {
    throw Error(FillTemplate(u"File \"%s\" already exists; -f replaces it",
                             {platform::path::FullPath(output)}));
  }
  PrintError(FillTemplate(u"log2plt: %s: %s [y/N] ", {output, QuestionOnOneLine()}));
  const std::optional<std::string> answer = ReadLine();
  return answer && (*answer == "y" || *answer == "Y");
}

// The benchmarks measure memory with as many formatting workers as a large machine has; users
// never set this.
unsigned BenchmarkWorkers() {
  const char* workers = std::getenv("LOG2PLT_BENCH_WORKERS");
  if (workers == nullptr) return 0;
  const long count = std::strtol(workers, nullptr, 10);
  return count > 0 && count <= 256 ? static_cast<unsigned>(count) : 0;
}

// A folder is never converted, nor what it holds.
void RefuseFolder(std::u16string_view input) {
  if (platform::file::KindOfName(input) == platform::file::NameKind::kFolder) {
    throw Error(u"", u"is a folder");
  }
}

// "trip.log -> trip.plt: 1234 points, 08:00:00 to 17:42:10"
void PrintSummary(std::u16string_view input, std::u16string_view output,
                  const TrackSummary& summary) {
  std::u16string line = std::u16string(input) + u" -> " + std::u16string(output) + u": ";
  if (summary.point_count <= 0) {
    line += u"0 points";
  } else {
    line += FromUtf8(std::to_string(summary.point_count)) + u" points, " + summary.first_time +
            u" to " + summary.last_time;
  }
  PrintError(WithEscapes(line) + u"\n");
}

// One conversion run; false when the user declines to replace the output.
bool ConvertFile(const Options& options, std::u16string_view input, FormatSettings& settings) {
  const bool piped = IsStandardInput(input);
  if (!piped) RefuseFolder(input);
  ConversionRun run;
  run.may_replace = [&](std::u16string_view output) {
    return MayReplace(output, options.force, !piped);
  };
  run.beep = [] {};
  run.day = options.day;
  run.to_standard_output = options.output == u"-" || (piped && !options.output);
  run.stream_workers = BenchmarkWorkers();
  run.summarise = options.verbose;
  const std::u16string output = options.output.value_or(OutputNameFor(input));
  const ConversionOutcome outcome =
      piped ? ConvertStandardInput(settings, output, run)
            : RunConversion(settings, {std::u16string(input), output}, run);
  if (outcome.summary) {
    PrintSummary(ShownInputName(input), run.to_standard_output ? u"standard output" : output,
                 *outcome.summary);
  }
  return outcome.written;
}

// Every message of a run names its input as the command line gave it, so that a batch of many
// files says which one failed.
void PrintInputFailure(std::u16string_view input, std::u16string_view message) {
  PrintError(WithEscapes(u"log2plt: " + std::u16string(ShownInputName(input)) + u": " +
                         std::u16string(message)) +
             u"\n");
}

// The cause in plain words first, where the window's text hides it; the window's text after it
// in parentheses, so that both can be matched.
std::u16string FailureText(const Error& error) {
  std::u16string message = WithFinalFullStop(error.Message());
  if (error.Cause().empty()) return message;
  if (message.empty()) return error.Cause();
  return error.Cause() + u" (" + message + u")";
}

int Main(int argc, char** argv) {
  PrepareProcess();
  ApplyFloatingPointPolicy();
  const std::vector<Argument> arguments = Arguments(argc, argv);
  Options options;
  try {
    options = ParseOptions(TextsOf(arguments));
  } catch (const Error& error) {
    PrintError(u"log2plt: " + error.Message() + u"\nTry 'log2plt --help'.\n");
    return 2;
  }
  if (options.help) {
    PrintOut(std::u16string(kSynopsis) + about::kProgramDescription + u"\n\n" +
             std::u16string(kOptions));
    return 0;
  }
  if (options.version) {
    PrintOut(about::NameAndVersion() + u"\n" + about::kLicenceName + u"\n");
    return 0;
  }
  FormatSettings settings = LoadFormatSettings();

  const std::vector<Input> inputs = ExpandInputs(arguments, options.input_positions);
  if (options.output && inputs.size() > 1) {
    PrintError(u"log2plt: -o needs exactly one input file\nTry 'log2plt --help'.\n");
    return 2;
  }
  int status = 0;
  for (const auto& [input, matches_nothing] : inputs) {
    if (matches_nothing) {
      PrintInputFailure(input, u"no file matches");
      status = 1;
      continue;
    }
    try {
      if (!ConvertFile(options, input, settings)) status = 1;
    } catch (const Error& error) {
      PrintInputFailure(input, FailureText(error));
      status = 1;
    } catch (const std::exception& error) {
      // Memory running out outside the loader, say: the input fails, the program goes on.
      PrintInputFailure(input, WithFinalFullStop(FromUtf8(error.what())));
      status = 1;
    }
  }
  return status;
}

}  // namespace
}  // namespace log2plt::cli

#ifdef _WIN32
// Arguments splits the UTF-16 command line itself.
int wmain(int argc, wchar_t**) { return log2plt::cli::Main(argc, nullptr); }
#else
int main(int argc, char** argv) { return log2plt::cli::Main(argc, argv); }
#endif
