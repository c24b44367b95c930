#pragma once
// Files for the tests: a private folder, bytes in and out, file times, and a second process
// that holds a file.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>

#include "base/error.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace log2plt::testing {

namespace fs = std::filesystem;

class TempFolder {
 public:
  TempFolder() {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = fs::temp_directory_path() / ("log2plt-test-" + std::to_string(stamp));
    fs::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  fs::path operator/(const std::string& name) const { return path_ / name; }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

inline std::u16string Name(const fs::path& path) { return path.u16string(); }

// The message of the error that `action` throws.
std::u16string ErrorOf(auto&& action) {
  try {
    action();
  } catch (const Error& error) {
    return error.Message();
  }
  return u"(no error)";
}

inline void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  // Through the stream buffer: GCC's -Wnull-dereference misreads istreambuf_iterator at -O2.
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Seconds that the local time is ahead of UTC now.
inline std::int64_t CurrentUtcOffset() {
#ifdef _WIN32
  FILETIME utc;
  FILETIME local;
  GetSystemTimeAsFileTime(&utc);
  FileTimeToLocalFileTime(&utc, &local);
  auto ticks = [](FILETIME t) {
    return static_cast<std::int64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime;
  };
  return (ticks(local) - ticks(utc)) / 10000000;
#else
  const std::time_t now = std::time(nullptr);
  std::tm local;
  localtime_r(&now, &local);
  return local.tm_gmtoff;
#endif
}

inline void SetLastWriteUtc(const fs::path& path, std::int64_t unix_seconds) {
#ifdef _WIN32
  const std::int64_t ticks = (unix_seconds + 11644473600) * 10000000;
  FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  const HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
  CloseHandle(file);
#else
  const timespec times[2] = {{static_cast<time_t>(unix_seconds), 0},
                             {static_cast<time_t>(unix_seconds), 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
#endif
}

inline fs::path ExecutableFolder() {
#ifdef _WIN32
  wchar_t buffer[MAX_PATH];
  GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  return fs::path(buffer).parent_path();
#else
  return fs::read_symlink("/proc/self/exe").parent_path();
#endif
}

// Another process holding a file (hold_file), for as long as this object lives.
class HeldFile {
 public:
  HeldFile(const fs::path& file, const std::string& mode) : marker_(file) {
    marker_ += ".held";
#ifdef _WIN32
    std::wstring command = L"\"" + (ExecutableFolder() / "hold_file.exe").wstring() + L"\" " +
                           std::wstring(mode.begin(), mode.end()) + L" \"" + file.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &process);
    process_ = process.hProcess;
    if (started_) CloseHandle(process.hThread);
#else
    const std::string program = (ExecutableFolder() / "hold_file").string();
    const std::string path = file.string();
    char* arguments[] = {const_cast<char*>(program.c_str()), const_cast<char*>(mode.c_str()),
                         const_cast<char*>(path.c_str()), nullptr};
    started_ = posix_spawn(&pid_, program.c_str(), nullptr, nullptr, arguments, environ) == 0;
#endif
    for (int i = 0; started_ && i < 3000 && !fs::exists(marker_); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  ~HeldFile() {
    std::error_code ignored;
    fs::remove(marker_, ignored);
#ifdef _WIN32
    if (started_) {
      WaitForSingleObject(process_, 30000);
      CloseHandle(process_);
    }
#else
    if (started_) waitpid(pid_, nullptr, 0);
#endif
  }
  bool held() const { return fs::exists(marker_); }

 private:
  fs::path marker_;
  bool started_ = false;
#ifdef _WIN32
  HANDLE process_ = nullptr;
#else
  pid_t pid_ = 0;
#endif
};

}  // namespace log2plt::testing
