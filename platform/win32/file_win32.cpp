// Files on Windows, with the sharing modes of the converter.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "base/unique_handle.h"
#include "base/wide.h"
#include "platform/dos_datetime.h"
#include "platform/file.h"
#include "platform/path.h"
#include "platform/win32/search_handle.h"

namespace log2plt::platform::file {
namespace {

struct HandleTraits {
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE handle) noexcept { CloseHandle(handle); }
};
using Handle = UniqueHandle<HANDLE, HandleTraits>;

std::wstring Wide(std::u16string_view text) { return std::wstring(AsWide(text)); }

Failure Failed(Failure::Step step, DWORD error) {
  return {step, std::error_code(static_cast<int>(error), std::system_category())};
}

// Each call moves at most this much, within the DWORD counts of ReadFile and WriteFile.
constexpr std::size_t kIoChunk = 1u << 30;

// Whether a handle is a file on a disk, not a device (NUL, CON, COM1) or a pipe.
bool IsDiskFile(HANDLE handle) { return GetFileType(handle) == FILE_TYPE_DISK; }

}  // namespace

Result ReadAll(std::u16string_view name, std::string& bytes) {
  const std::wstring wide = Wide(name);
  Handle file(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return Failed(Failure::Step::kOpen, GetLastError());
  if (!IsDiskFile(file.get())) return Failed(Failure::Step::kOpen, ERROR_INVALID_PARAMETER);
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size)) return Failed(Failure::Step::kOpen, GetLastError());
  bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    const auto want = static_cast<DWORD>(std::min(bytes.size() - done, kIoChunk));
    if (!ReadFile(file.get(), bytes.data() + done, want, &got, nullptr)) {
      return Failed(Failure::Step::kRead, GetLastError());
    }
    // The file ended before the size it had when it was opened: someone cut it short.
    if (got == 0) return Failed(Failure::Step::kRead, ERROR_HANDLE_EOF);
    done += got;
  }
  return {};
}

struct Reader::State {
  Handle file;
  std::uint64_t size = 0;
};

Reader::Reader() : state_(std::make_unique<State>()) {}
Reader::~Reader() = default;

Result Reader::Open(std::u16string_view name) {
  const std::wstring wide = Wide(name);
  Handle file(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return Failed(Failure::Step::kOpen, GetLastError());
  if (!IsDiskFile(file.get())) return Failed(Failure::Step::kOpen, ERROR_INVALID_PARAMETER);
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size)) return Failed(Failure::Step::kOpen, GetLastError());
  state_->file = std::move(file);
  state_->size = static_cast<std::uint64_t>(size.QuadPart);
  return {};
}

Result Reader::Read(char* buffer, std::size_t size, std::size_t& got) {
  DWORD n = 0;
  const auto want = static_cast<DWORD>(std::min(size, kIoChunk));
  if (!ReadFile(state_->file.get(), buffer, want, &n, nullptr)) {
    got = 0;
    return Failed(Failure::Step::kRead, GetLastError());
  }
  got = n;
  return {};
}

Result Reader::Rewind() {
  LARGE_INTEGER zero{};
  if (!SetFilePointerEx(state_->file.get(), zero, nullptr, FILE_BEGIN)) {
    return Failed(Failure::Step::kRead, GetLastError());
  }
  return {};
}

std::uint64_t Reader::Size() const { return state_->size; }

namespace {

bool IdentityOf(std::u16string_view name, BY_HANDLE_FILE_INFORMATION& facts) {
  const std::wstring wide = Wide(name);
  // No access asked: the identity is readable even while another program holds the file.
  Handle file(CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file && GetFileInformationByHandle(file.get(), &facts);
}

}  // namespace

bool IsSameFile(std::u16string_view a, std::u16string_view b) {
  BY_HANDLE_FILE_INFORMATION first, second;
  return IdentityOf(a, first) && IdentityOf(b, second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

namespace {

// The temporary files that exist now, for the console control handler, which runs on a thread of
// its own: a stopped run removes them. A save in progress holds one, and a copy of standard input
// another. The lock keeps the handler and their owners from working on the names at the same
// time.
SRWLOCK pending_lock = SRWLOCK_INIT;
struct PendingName {
  bool used = false;
  wchar_t name[32768];
};
PendingName pending[4];

BOOL WINAPI RemoveTemporaryAndStop(DWORD) {
  AcquireSRWLockExclusive(&pending_lock);
  // The owners' own handles allow the deletion; a file goes when the process closes it.
  for (const PendingName& slot : pending) {
    if (slot.used) DeleteFileW(slot.name);
  }
  // Ended here rather than by the default handler, which under Wine ends a Ctrl-C with status 0.
  ExitProcess(static_cast<UINT>(STATUS_CONTROL_C_EXIT));
}

void RemoveTemporaryOnStop() {
  static std::atomic<bool> installed{false};
  if (!installed.exchange(true)) SetConsoleCtrlHandler(RemoveTemporaryAndStop, TRUE);
}

class PendingLock {
 public:
  PendingLock() { AcquireSRWLockExclusive(&pending_lock); }
  ~PendingLock() { ReleaseSRWLockExclusive(&pending_lock); }
  PendingLock(const PendingLock&) = delete;
  PendingLock& operator=(const PendingLock&) = delete;
};

// Under the lock: the slot that now holds the name, or -1 when none is free, and the name is then
// only removed when its owner ends.
int Register(const std::wstring& name) {
  if (name.size() >= std::size(pending[0].name)) return -1;
  for (int index = 0; index < static_cast<int>(std::size(pending)); ++index) {
    PendingName& slot = pending[index];
    if (slot.used) continue;
    std::wcscpy(slot.name, name.c_str());
    slot.used = true;
    return index;
  }
  return -1;
}

// Under the lock.
void Unregister(int& index) {
  if (index >= 0) pending[index].used = false;
  index = -1;
}

// A path the long-path forms of the API take whole, beyond MAX_PATH.
std::wstring LongPath(std::wstring path) {
  if (path.size() < MAX_PATH - 12 || path.starts_with(L"\\\\?\\") || path.starts_with(L"\\\\.\\")) {
    return path;
  }
  if (path.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + path.substr(2);
  return L"\\\\?\\" + path;
}

// The full name of the file that an open handle finally reaches, through every link.
std::wstring FinalPath(HANDLE file) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFinalPathNameByHandleW(
        file, path.data(), static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(length + 1);
  }
}

// Sets or clears the file's delete-on-close mark through the handle.
bool MarkForDeletion(HANDLE file, bool marked) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = marked ? TRUE : FALSE;
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof(disposition)) !=
         FALSE;
}

// Gives the open file the name `target`, replacing a file of that name.
bool RenameOver(HANDLE file, const std::wstring& target) {
  const std::size_t bytes = sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t);
  std::vector<unsigned char> buffer(bytes, 0);
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = TRUE;
  rename->RootDirectory = nullptr;
  rename->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
  std::memcpy(rename->FileName, target.c_str(), target.size() * sizeof(wchar_t));
  return SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(bytes)) !=
         FALSE;
}

}  // namespace

struct Replacement::State {
  std::wstring target;  // the file that is finally replaced
  std::wstring temp;    // set while the temporary file exists
  Handle target_file;   // keeps others out of an existing target until it is replaced
  Handle out;
  bool in_place = false;  // a device or pipe, or standard output, written as it is
  HANDLE standard_output = INVALID_HANDLE_VALUE;
  std::uint64_t unflushed = 0;  // bytes of the temporary file written since its last flush
  int pending_slot = -1;        // where the console control handler finds the temporary file

  HANDLE Destination() const {
    if (standard_output != INVALID_HANDLE_VALUE) return standard_output;
    return in_place ? target_file.get() : out.get();
  }

  Result OpenTarget(std::u16string_view name);
  Result CreateTemporary();
  void RemoveTemporary() {
    PendingLock lock;
    out.Reset();
    DeleteFileW(temp.c_str());
    temp.clear();
    Unregister(pending_slot);
  }
};

// Opens what the name finally denotes: a file is checked and held for its replacement, a device
// or pipe is written to as it is.
Result Replacement::State::OpenTarget(std::u16string_view name) {
  const std::wstring full = LongPath(Wide(path::FullPath(name)));
  target_file.Reset(CreateFileW(full.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!target_file) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) return Failed(Failure::Step::kCreate, error);
    target = full;
    return {};
  }
  if (!IsDiskFile(target_file.get())) {
    in_place = true;
    return {};
  }
  BY_HANDLE_FILE_INFORMATION facts;
  if (!GetFileInformationByHandle(target_file.get(), &facts)) {
    return Failed(Failure::Step::kCreate, GetLastError());
  }
  // The cases in which creating the file over the old one would be refused.
  if (facts.dwFileAttributes &
      (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) {
    return Failed(Failure::Step::kCreate, ERROR_ACCESS_DENIED);
  }
  target = FinalPath(target_file.get());
  if (target.empty()) target = full;
  return {};
}

namespace {

// A name in the folder for a new temporary file, different at each call.
std::wstring NewTemporaryName(const std::wstring& folder) {
  static std::atomic<unsigned> counter{0};
  wchar_t number[9];
  std::swprintf(number, 9, L"%08x",
                static_cast<unsigned>(GetCurrentProcessId() * 7919u + GetTickCount()) + counter++);
  return folder + L"~log2plt-" + number + L".tmp";
}

}  // namespace

// The temporary name is short and of fixed length, so that the longest name a folder takes can
// still be saved.
Result Replacement::State::CreateTemporary() {
  RemoveTemporaryOnStop();
  const std::wstring folder = target.substr(0, target.find_last_of(L"\\/") + 1);
  for (;;) {
    std::wstring name = NewTemporaryName(folder);
    {
      PendingLock lock;
      out.Reset(CreateFileW(name.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_DELETE, nullptr,
                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
      // Marked for deletion at once: however the process ends (a kill included), the system
      // removes the file with the last handle. The commit takes the mark off.
      if (out && !MarkForDeletion(out.get(), true)) {
        const DWORD error = GetLastError();
        out.Reset();
        DeleteFileW(name.c_str());
        return Failed(Failure::Step::kCreate, error);
      }
      if (out) pending_slot = Register(name);
    }
    if (out) {
      temp = std::move(name);
      return {};
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      return Failed(Failure::Step::kCreate, error);
    }
  }
}

Replacement::Replacement() : state_(std::make_unique<State>()) {}

Result Replacement::Open(std::u16string_view name) {
  State& s = *state_;
  if (auto failure = s.OpenTarget(name)) return failure;
  if (s.in_place) return {};
  return s.CreateTemporary();
}

Result Replacement::OpenStandardOutput() {
  state_->standard_output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (state_->standard_output == nullptr) state_->standard_output = INVALID_HANDLE_VALUE;
  if (state_->standard_output == INVALID_HANDLE_VALUE) {
    return Failed(Failure::Step::kWrite, ERROR_INVALID_HANDLE);
  }
  return {};
}

Replacement::~Replacement() {
  if (!state_->temp.empty()) state_->RemoveTemporary();
}

Result Replacement::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const auto want = static_cast<DWORD>(std::min(bytes.size(), kIoChunk));
    DWORD written = 0;
    if (!WriteFile(state_->Destination(), bytes.data(), want, &written, nullptr)) {
      return Failed(Failure::Step::kWrite, GetLastError());
    }
    if (written != want) return Failed(Failure::Step::kWrite, ERROR_DISK_FULL);
    bytes.remove_prefix(written);
    state_->unflushed += written;
  }
  // A large temporary file goes to the disk as it grows, while the next bytes are being made,
  // rather than all at the commit.
  constexpr std::uint64_t kFlushEvery = 32 << 20;
  if (!state_->in_place && state_->standard_output == INVALID_HANDLE_VALUE &&
      state_->unflushed >= kFlushEvery) {
    if (!FlushFileBuffers(state_->out.get())) return Failed(Failure::Step::kWrite, GetLastError());
    state_->unflushed = 0;
  }
  return {};
}

Result Replacement::Commit() {
  State& s = *state_;
  if (s.in_place || s.standard_output != INVALID_HANDLE_VALUE) return {};
  if (!FlushFileBuffers(s.out.get())) return Failed(Failure::Step::kWrite, GetLastError());
  s.target_file.Reset();
  PendingLock lock;
  // Renamed through its own handle while still marked, and only then kept: a stop on the way
  // leaves the target as it was and no temporary file.
  if (!RenameOver(s.out.get(), s.target) || !MarkForDeletion(s.out.get(), false)) {
    return Failed(Failure::Step::kCreate, GetLastError());
  }
  s.out.Reset();
  s.temp.clear();
  Unregister(s.pending_slot);
  return {};
}

Result ReadStandardInput(char* buffer, std::size_t size, std::size_t& got) {
  got = 0;
  // Read through the system's handle, not the C runtime's text mode: bytes such as CR LF, 0x1A
  // and NUL reach the log as they were sent.
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (input == nullptr || input == INVALID_HANDLE_VALUE) {
    return Failed(Failure::Step::kRead, ERROR_INVALID_HANDLE);
  }
  DWORD n = 0;
  if (!ReadFile(input, buffer, static_cast<DWORD>(std::min(size, kIoChunk)), &n, nullptr)) {
    const DWORD error = GetLastError();
    // The writer of a pipe closed its end: the input is complete.
    if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) return {};
    return Failed(Failure::Step::kRead, error);
  }
  got = n;
  return {};
}

struct TemporaryFile::State {
  std::wstring name;  // set while the file exists
  Handle out;
  int pending_slot = -1;
  std::u16string shown;
};

TemporaryFile::TemporaryFile() : state_(std::make_unique<State>()) {}

TemporaryFile::~TemporaryFile() {
  State& s = *state_;
  if (s.name.empty()) return;
  PendingLock lock;
  s.out.Reset();
  DeleteFileW(s.name.c_str());
  Unregister(s.pending_slot);
}

Result TemporaryFile::Create() {
  State& s = *state_;
  RemoveTemporaryOnStop();
  std::wstring folder(MAX_PATH + 1, L'\0');
  const DWORD length = GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
  if (length == 0 || length > folder.size()) return Failed(Failure::Step::kCreate, GetLastError());
  folder.resize(length);
  for (;;) {
    std::wstring name = NewTemporaryName(folder);
    PendingLock lock;
    // No one else may open it; marked for deletion while it is written, so that even a kill
    // during a long copy leaves nothing.
    s.out.Reset(CreateFileW(name.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (s.out) {
      if (!MarkForDeletion(s.out.get(), true)) {
        const DWORD error = GetLastError();
        s.out.Reset();
        DeleteFileW(name.c_str());
        return Failed(Failure::Step::kCreate, error);
      }
      s.pending_slot = Register(name);
      s.shown = std::u16string(FromWide(name));
      s.name = std::move(name);
      return {};
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      return Failed(Failure::Step::kCreate, error);
    }
  }
}

Result TemporaryFile::Write(std::string_view bytes) {
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

Result TemporaryFile::Finish() {
  State& s = *state_;
  // Kept past the close, so that the conversion can open it by its name; the name is still
  // registered and removed by this object's end.
  if (!MarkForDeletion(s.out.get(), false)) return Failed(Failure::Step::kWrite, GetLastError());
  s.out.Reset();
  return {};
}

const std::u16string& TemporaryFile::Name() const { return state_->shown; }

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
  const Search search(FindFirstFileW(wide.c_str(), &found));
  if (!search) return false;
  return !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::uint32_t LastWriteDosDateTime(std::u16string_view name, std::error_code& failure) {
  failure.clear();
  const auto fail = [&failure](DWORD error) {
    failure = std::error_code(static_cast<int>(error), std::system_category());
    return kNoDosDateTime;
  };
  const std::wstring wide = Wide(name);
  Handle file(CreateFileW(wide.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return fail(GetLastError());
  if (!IsDiskFile(file.get())) return fail(ERROR_INVALID_FUNCTION);
  FILETIME written;
  FILETIME local;
  SYSTEMTIME local_time;
  WORD date = 0;
  WORD time = 0;
  if (!GetFileTime(file.get(), nullptr, nullptr, &written) ||
      !FileTimeToLocalFileTime(&written, &local) || !FileTimeToSystemTime(&local, &local_time)) {
    return fail(GetLastError());
  }
  // Wine's FileTimeToDosDateTime packs later years too, wrapped into the 7 bits of the year.
  if (local_time.wYear < 1980 || local_time.wYear > 2107 ||
      !FileTimeToDosDateTime(&local, &date, &time)) {
    return kNoDosDateTime;
  }
  return static_cast<std::uint32_t>(date) << 16 | time;
}

}  // namespace log2plt::platform::file
