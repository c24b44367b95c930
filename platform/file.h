#pragma once
// Files with the sharing rules of the converter: a loaded file may be read by others but not
// written, a saved file and a file whose date is asked for are held by no one else.
//
// Failures come back as values: the step that failed and the system's error code. The layer
// above puts them into the user's words.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace log2plt::platform::file {

struct Failure {
  enum class Step {
    kOpen,    // the file cannot be opened for reading
    kRead,    // reading its bytes failed
    kCreate,  // the target cannot be created or replaced
    kWrite,   // not all bytes reached the file
  };
  Step step;
  std::error_code code;  // errno on POSIX, a Win32 error code on Windows
};
// Nothing when the operation succeeded.
using Result = std::optional<Failure>;

// Reads the whole file into `bytes`, while others may read but not write it. Only a regular
// file is read (kOpen for anything else); kRead when a read fails or the file ends before the
// size it had when it was opened.
[[nodiscard]] Result ReadAll(std::u16string_view name, std::string& bytes);

// A file read in pieces from its first byte to its last, as often as asked, while others may
// read but not write it.
class Reader {
 public:
  Reader();
  ~Reader();
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  // kOpen when the file cannot be opened (missing, a folder, not a regular file, held).
  [[nodiscard]] Result Open(std::u16string_view name);
  // Up to `size` bytes into `buffer`, `got` 0 at the end; kRead when reading fails.
  [[nodiscard]] Result Read(char* buffer, std::size_t size, std::size_t& got);
  // Back to the first byte.
  [[nodiscard]] Result Rewind();
  // The size the file had when it was opened.
  std::uint64_t Size() const;

  struct State;

 private:
  std::unique_ptr<State> state_;
};

// Whether two names lead to one existing file (through links, or as two names of it).
bool IsSameFile(std::u16string_view a, std::u16string_view b);

// Replaces a file all or nothing: the bytes go to a temporary file in the target's folder, which
// is flushed and then renamed over the target by Commit. Until then the target keeps its content;
// an uncommitted replacement removes its temporary file, also when the program is stopped by a
// signal (POSIX) or a console event (Windows) while it has one. The target is the file that the
// name finally denotes through its links, replaced in its own folder, keeping its mode, and its
// owner and group where the process may set them. A device, FIFO or socket is written to as it
// is, with no temporary file.
class Replacement {
 public:
  Replacement();
  ~Replacement();
  Replacement(const Replacement&) = delete;
  Replacement& operator=(const Replacement&) = delete;

  // Fails, before anything is written, with kCreate when the target cannot be written: a folder,
  // no access, read-only (hidden or system on Windows), held by another program, a folder that
  // cannot be written, a FIFO that no one reads.
  [[nodiscard]] Result Open(std::u16string_view name);
  // Writes to the process's standard output instead, as it is.
  [[nodiscard]] Result OpenStandardOutput();
  // kWrite when not all bytes are written.
  [[nodiscard]] Result Write(std::string_view bytes);
  // Flushes the bytes to the disk and puts them in the target's place.
  [[nodiscard]] Result Commit();

  struct State;

 private:
  std::unique_ptr<State> state_;
};

// Up to `size` bytes of the process's standard input into `buffer`, as raw bytes on every system,
// `got` 0 at its end; kRead when reading fails.
[[nodiscard]] Result ReadStandardInput(char* buffer, std::size_t size, std::size_t& got);

// A new private file in the system's temporary folder ($TMPDIR or /tmp; the user's temporary
// folder on Windows), written once and then read by its name. It is removed when this object
// ends, and also when the program is stopped the way a Replacement's temporary file is.
class TemporaryFile {
 public:
  TemporaryFile();
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // kCreate when no new file can be made there.
  [[nodiscard]] Result Create();
  // kWrite when not all bytes are written (a full disk).
  [[nodiscard]] Result Write(std::string_view bytes);
  // Ends the writing: the file may then be opened by its name.
  [[nodiscard]] Result Finish();
  // The full name of the file once created.
  const std::u16string& Name() const;

  struct State;

 private:
  std::unique_ptr<State> state_;
};

// Yes when the name denotes something that exists and is not a folder; never fails.
bool IsExistingFile(std::u16string_view name);

// The last-write time, local by the offset in force now, packed as a DOS date and time; opens
// the file with no sharing. kNoDosDateTime (platform/dos_datetime.h) on any failure, with the
// error of the open or the time's read in `failure`; none when the time is outside the DOS years.
std::uint32_t LastWriteDosDateTime(std::u16string_view name, std::error_code& failure);

}  // namespace log2plt::platform::file
