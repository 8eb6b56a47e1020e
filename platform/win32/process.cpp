#include "platform/process.h"

#include <direct.h>
#include <windows.h>

#include <cstring>
#include <new>

#include "platform/win32/system_path.h"

namespace platform {
namespace {

// The C run-time's functions take int lengths; larger buffers are used in part.
int IntCapacity(std::size_t capacity) {
  return capacity > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(capacity);
}

// The marked directory's full name, of whatever length the system reports.
char* MarkedName(DirectoryMark mark) {
  return mark == kNoDirectoryMark ? nullptr : reinterpret_cast<char*>(mark);
}

}  // namespace

bool CurrentDirectory(char* buffer, std::size_t capacity) {
  if (buffer == nullptr || capacity == 0) return false;
  if (_getcwd(buffer, IntCapacity(capacity)) == nullptr) {
    buffer[0] = '\0';
    return false;
  }
  return true;
}

bool ChangeDirectory(const char* path) {
  char mapped[kSystemPathSize];
  return SystemPath(path, mapped) && _chdir(mapped) == 0;
}

bool SelectDrive(int drive) {
  if (drive < kFirstDrive || drive > kLastDrive) return false;
  return _chdrive(drive) == 0;
}

DirectoryMark MarkCurrentDirectory() {
  // The first call tells the size, terminator included; another thread may
  // enter a longer directory before the second, which then asks for more.
  DWORD size = GetCurrentDirectoryA(0, nullptr);
  for (int attempt = 0; attempt < 4 && size != 0; ++attempt) {
    char* name = new (std::nothrow) char[size];
    if (name == nullptr) return kNoDirectoryMark;
    DWORD length = GetCurrentDirectoryA(size, name);
    if (length != 0 && length < size) return reinterpret_cast<DirectoryMark>(name);
    delete[] name;
    size = length;
  }
  return kNoDirectoryMark;
}

bool ReturnToMark(DirectoryMark mark) {
  const char* name = MarkedName(mark);
  return name != nullptr && SetCurrentDirectoryA(name) != 0;
}

void ReleaseMark(DirectoryMark mark) {
  delete[] MarkedName(mark);
}

bool ProgramPath(char* buffer, std::size_t capacity) {
  if (buffer == nullptr || capacity == 0) return false;
  DWORD size = capacity > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<DWORD>(capacity);
  DWORD length = GetModuleFileNameA(nullptr, buffer, size);
  // A name that does not fit comes back cut to the whole buffer.
  if (length == 0 || length >= size) {
    buffer[0] = '\0';
    return false;
  }
  return true;
}

std::FILE* OpenStream(const char* path, const char* mode) {
  char mapped[kSystemPathSize];
  if (mode == nullptr || !SystemPath(path, mapped)) return nullptr;
  return std::fopen(mapped, mode);
}

}  // namespace platform
