// Reading a file in pieces on Windows, shared for reading only.

#include <windows.h>

#include <algorithm>

#include "base/unique_handle.h"
#include "base/wide.h"
#include "platform/file.h"

namespace log2plt::platform::file {
namespace {

struct HandleTraits {
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE handle) noexcept { CloseHandle(handle); }
};
using Handle = UniqueHandle<HANDLE, HandleTraits>;

Failure Failed(Failure::Step step, DWORD error) {
  return {step, std::error_code(static_cast<int>(error), std::system_category())};
}

}  // namespace

struct Reader::State {
  Handle file;
  std::uint64_t size = 0;
};

Reader::Reader() : state_(std::make_unique<State>()) {}
Reader::~Reader() = default;

Result Reader::Open(std::u16string_view name) {
  const std::wstring wide(AsWide(name));
  Handle file(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return Failed(Failure::Step::kOpen, GetLastError());
  if (GetFileType(file.get()) != FILE_TYPE_DISK) {
    return Failed(Failure::Step::kOpen, ERROR_INVALID_FUNCTION);
  }
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size)) return Failed(Failure::Step::kOpen, GetLastError());
  state_->file = std::move(file);
  state_->size = static_cast<std::uint64_t>(size.QuadPart);
  return {};
}

Result Reader::Read(char* buffer, std::size_t size, std::size_t& got) {
  DWORD n = 0;
  const auto want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
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
  const std::wstring wide(AsWide(name));
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

}  // namespace log2plt::platform::file
