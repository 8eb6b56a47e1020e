#include "platform/process.h"

#include <direct.h>
#include <windows.h>

#include <cstring>

#include "platform/win32/system_path.h"

namespace platform {
namespace {

// The C run-time's functions take int lengths; larger buffers are used in part.
int IntCapacity(std::size_t capacity) {
  return capacity > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(capacity);
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
