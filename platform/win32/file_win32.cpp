// Files on Windows, with the sharing modes of the converter.

#include <windows.h>

#include <atomic>
#include <string>

#include "platform/dos_datetime.h"
#include "platform/file.h"
#include "platform/path.h"

namespace log2plt::platform::file {
namespace {

class Handle {
 public:
  Handle() = default;
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  Handle& operator=(Handle&& other) noexcept {
    Close();
    handle_ = other.handle_;
    other.handle_ = INVALID_HANDLE_VALUE;
    return *this;
  }
  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    const bool closed = handle_ == INVALID_HANDLE_VALUE || CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

Failure Failed(Failure::Step step, DWORD error) {
  return {step, std::error_code(static_cast<int>(error), std::system_category())};
}

// Each call moves at most this much, within the DWORD counts of ReadFile and WriteFile.
constexpr std::size_t kIoChunk = 1u << 30;

std::atomic<unsigned> temp_counter{0};

}  // namespace

Result ReadAll(std::u16string_view name, std::string& bytes) {
  const std::wstring wide = Wide(name);
  Handle file(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return Failed(Failure::Step::kOpen, GetLastError());
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size)) return Failed(Failure::Step::kOpen, GetLastError());
  // Bytes that a short read does not deliver stay zero, so the text ends where they begin.
  bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    const auto want = static_cast<DWORD>(std::min(bytes.size() - done, kIoChunk));
    if (!ReadFile(file.get(), bytes.data() + done, want, &got, nullptr) || got == 0) break;
    done += got;
  }
  return {};
}

struct Replacement::State {
  std::wstring target;
  std::u16string name;
  std::wstring temp;
  Handle target_file;  // keeps others out of an existing target until it is replaced
  Handle out;
};

Replacement::Replacement() : state_(std::make_unique<State>()) {}

Result Replacement::Open(std::u16string_view name) {
  State& s = *state_;
  s.name = name;
  s.target = Wide(name);
  const DWORD attributes = GetFileAttributesW(s.target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) return Failed(Failure::Step::kCreate, error);
  } else {
    // The cases in which creating the file over the old one would be refused.
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                      FILE_ATTRIBUTE_SYSTEM)) {
      return Failed(Failure::Step::kCreate, ERROR_ACCESS_DENIED);
    }
    s.target_file = Handle(CreateFileW(s.target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!s.target_file) return Failed(Failure::Step::kCreate, GetLastError());
  }

  const std::u16string full = path::FullPath(name);
  const std::size_t separator = full.find_last_of(u"\\/");
  const std::wstring folder = Wide(std::u16string_view(full).substr(0, separator + 1));
  const std::wstring base = Wide(std::u16string_view(full).substr(separator + 1));
  for (;;) {
    const unsigned number = GetCurrentProcessId() * 7919u + GetTickCount() + temp_counter++;
    std::wstring temp = folder + L"~" + base + L"." + std::to_wstring(number) + L".tmp";
    s.out = Handle(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (s.out) {
      s.temp = std::move(temp);
      return {};
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      return Failed(Failure::Step::kCreate, error);
    }
  }
}

Replacement::~Replacement() {
  if (!state_->temp.empty()) {
    state_->out.Close();
    DeleteFileW(state_->temp.c_str());
  }
}

Result Replacement::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const auto want = static_cast<DWORD>(std::min(bytes.size(), kIoChunk));
    DWORD written = 0;
    if (!WriteFile(state_->out.get(), bytes.data(), want, &written, nullptr)) {
      return Failed(Failure::Step::kWrite, GetLastError());
    }
    if (written != want) return Failed(Failure::Step::kWrite, ERROR_DISK_FULL);
    bytes.remove_prefix(written);
  }
  return {};
}

Result Replacement::Commit() {
  State& s = *state_;
  if (!FlushFileBuffers(s.out.get()) || !s.out.Close()) {
    return Failed(Failure::Step::kWrite, GetLastError());
  }
  s.target_file.Close();
  if (!MoveFileExW(s.temp.c_str(), s.target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return Failed(Failure::Step::kCreate, GetLastError());
  }
  s.temp.clear();
  return {};
}

bool IsExistingFile(std::u16string_view name) {
  const std::wstring wide = Wide(name);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
      error == ERROR_INVALID_NAME) {
    return false;
  }
  // The name's own facts are out of reach; its folder's listing may still show it.
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(wide.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::uint32_t LastWriteDosDateTime(std::u16string_view name) {
  const std::wstring wide = Wide(name);
  Handle file(CreateFileW(wide.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return kNoDosDateTime;
  FILETIME written;
  FILETIME local;
  WORD date = 0;
  WORD time = 0;
  if (!GetFileTime(file.get(), nullptr, nullptr, &written) ||
      !FileTimeToLocalFileTime(&written, &local) || !FileTimeToDosDateTime(&local, &date, &time)) {
    return kNoDosDateTime;
  }
  return static_cast<std::uint32_t>(date) << 16 | time;
}

}  // namespace log2plt::platform::file
