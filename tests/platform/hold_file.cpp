// Holds a file open the way another program would, for the sharing tests:
//   hold_file read|write|exclusive FILE
// Once the file is held, FILE.held appears; the program lets go when FILE.held is removed.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const std::string mode = argv[1];
  const std::filesystem::path file = argv[2];
#ifdef _WIN32
  DWORD access = GENERIC_READ;
  DWORD share = FILE_SHARE_READ;
  if (mode == "write") access = GENERIC_WRITE, share = FILE_SHARE_READ;
  if (mode == "exclusive") share = 0;
  const HANDLE handle = CreateFileW(file.c_str(), access, share, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return 1;
#else
  const int fd = open(file.c_str(), mode == "read" ? O_RDONLY : O_RDWR);
  struct flock lock = {};
  lock.l_type = mode == "read" ? F_RDLCK : F_WRLCK;
  lock.l_whence = SEEK_SET;
  if (fd < 0 || fcntl(fd, F_OFD_SETLK, &lock) != 0) return 1;
#endif
  std::filesystem::path marker = file;
  marker += ".held";
  std::FILE* created = std::fopen(marker.string().c_str(), "w");
  if (created == nullptr) return 1;
  std::fclose(created);
  for (int i = 0; i < 6000 && std::filesystem::exists(marker); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return 0;
}
