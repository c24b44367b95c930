#pragma once
// Files with the sharing rules of the converter: a loaded file may be read by others but not
// written, a saved file and a file whose date is asked for are held by no one else.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace log2plt::platform::file {

// The whole file, read while others may read but not write it. Throws
// "Cannot open file "%s". %s".
std::string ReadAll(std::u16string_view name);

// Replaces a file all or nothing: the bytes go to a temporary file in the target's folder, which
// is flushed and then renamed over the target by Commit. Until then the target keeps its content;
// an uncommitted replacement removes its temporary file.
class Replacement {
 public:
  // Fails, before anything is written, with "Cannot create file "%s". %s" when the target cannot
  // be written: a folder, no access, read-only (hidden or system on Windows), held by another
  // program.
  explicit Replacement(std::u16string_view name);
  ~Replacement();
  Replacement(const Replacement&) = delete;
  Replacement& operator=(const Replacement&) = delete;

  // Throws "Stream write error" when not all bytes are written.
  void Write(std::string_view bytes);
  // Flushes the bytes to the disk and puts them in the target's place.
  void Commit();

  struct State;

 private:
  std::unique_ptr<State> state_;
};

// Yes when the name denotes something that exists and is not a folder; never fails.
bool IsExistingFile(std::u16string_view name);

// The last-write time, local by the offset in force now, packed as a DOS date and time; opens
// the file with no sharing. kNoDosDateTime (convert/dos_datetime.h) on any failure.
std::uint32_t LastWriteDosDateTime(std::u16string_view name);

}  // namespace log2plt::platform::file
