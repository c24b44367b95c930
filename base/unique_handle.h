#pragma once
// One owner for every operating-system handle: a file descriptor, a find handle, a DIR*, an
// iconv descriptor, a locale. The traits say what "no handle" is and how one is closed, so no
// caller ever closes a handle by hand.
//
//   struct FdTraits {
//     static int Invalid() noexcept { return -1; }
//     static void Close(int fd) noexcept { ::close(fd); }
//   };
//   using Fd = UniqueHandle<int, FdTraits>;

#include <utility>

namespace log2plt {

template <class Handle, class Traits>
class UniqueHandle {
 public:
  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }

  // Gives the handle up without closing it.
  Handle Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
  // Closes the handle held, if any, and holds `handle` instead.
  void Reset(Handle handle = Traits::Invalid()) noexcept {
    const Handle old = std::exchange(handle_, handle);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

 private:
  Handle handle_ = Traits::Invalid();
};

}  // namespace log2plt
