#include "platform/process.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/posix/system_path.h"

namespace platform {
namespace {

void ClearText(char* buffer, std::size_t capacity) {
  if (buffer != nullptr && capacity > 0) buffer[0] = '\0';
}

}  // namespace

bool CurrentDirectory(char* buffer, std::size_t capacity) {
  if (buffer == nullptr || capacity == 0) return false;
  if (getcwd(buffer, capacity) == nullptr || std::strchr(buffer, '\\') != nullptr) {
    buffer[0] = '\0';
    return false;
  }
  return true;
}

bool ChangeDirectory(const char* path) {
  char mapped[kSystemPathSize];
  return SystemPath(path, mapped) && chdir(mapped) == 0;
}

bool SelectDrive(int drive) {
  if (drive < kFirstDrive || drive > kLastDrive) return false;
  const char root[] = {static_cast<char>('A' + drive - kFirstDrive), ':', '\\', '\0'};
  char mapped[kSystemPathSize];
  struct stat info {};
  return SystemPath(root, mapped) && stat(mapped, &info) == 0 && S_ISDIR(info.st_mode);
}

DirectoryMark MarkCurrentDirectory() {
  int descriptor = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  return descriptor < 0 ? kNoDirectoryMark : descriptor;
}

bool ReturnToMark(DirectoryMark mark) {
  return mark >= 0 && fchdir(static_cast<int>(mark)) == 0;
}

void ReleaseMark(DirectoryMark mark) {
  if (mark >= 0) close(static_cast<int>(mark));
}

bool ProgramPath(char* buffer, std::size_t capacity) {
  ClearText(buffer, capacity);
  if (buffer == nullptr) return false;
  char link[kSystemPathSize];
  ssize_t length = readlink("/proc/self/exe", link, sizeof link);
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof link ||
      static_cast<std::size_t>(length) >= capacity) {
    return false;
  }
  std::memcpy(buffer, link, static_cast<std::size_t>(length));
  buffer[length] = '\0';
  return true;
}

std::FILE* OpenStream(const char* path, const char* mode) {
  char mapped[kSystemPathSize];
  if (mode == nullptr || !SystemPath(path, mapped)) return nullptr;
  return std::fopen(mapped, mode);
}

}  // namespace platform
