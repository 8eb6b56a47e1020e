#include "platform/process.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/machine.h"

namespace platform {
namespace {

// Longest system path handled here, terminator included.
constexpr std::size_t kSystemPathSize = 4096;

bool HasDriveLetter(const char* path) {
  char c = path[0];
  return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && path[1] == ':';
}

// Maps a Windows path to a system path in out (kSystemPathSize bytes). Only a
// letter followed by a colon is a drive: "/:x" is a path of this system.
bool SystemPath(const char* path, char (&out)[kSystemPathSize]) {
  if (path == nullptr) return false;
  if (HasDriveLetter(path)) {
    if (!CurrentMachine().MapPath(path, out, sizeof out)) return false;
  } else {
    std::size_t length = strnlen(path, sizeof out);
    if (length == sizeof out) return false;
    std::memcpy(out, path, length + 1);
  }
  for (char* c = out; *c != '\0'; ++c) {
    if (*c == '\\') *c = '/';
  }
  return true;
}

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
