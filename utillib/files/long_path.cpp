#include "utillib/files/long_path.h"

#include <cstring>

#include "platform/files.h"
#include "utillib/foundation/network_drives.h"
#include "utillib/foundation/startup.h"

namespace utillib {
namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

}  // namespace

LongPathScope::LongPathScope(const char* path) {
  if (path == nullptr) return;
  std::size_t length = strnlen(path, PATH_BUFFER_SIZE);
  if (length < LONG_PATH_LENGTH) {
    name_ = path;
    return;
  }
  if (length == PATH_BUFFER_SIZE) return;

  // The directory is the text before the last separator: the separator
  // itself for a path in the root ("\name"), and the drive's root for
  // "X:\name" ("X:" alone would be the drive's current directory).
  const char* last = path + length;
  while (last > path && !IsSeparator(last[-1])) --last;
  if (last == path || *last == '\0') return;
  char directory[PATH_BUFFER_SIZE + 1];
  std::size_t directoryLength = static_cast<std::size_t>(last - path) - 1;
  std::memcpy(directory, path, directoryLength);
  directory[directoryLength] = '\0';
  if (directoryLength == 0 || (directoryLength == 2 && directory[1] == ':')) {
    directory[directoryLength] = path[directoryLength];
    directory[directoryLength + 1] = '\0';
  }

  platform::DirectoryMark mark = platform::MarkCurrentDirectory();
  if (mark == platform::kNoDirectoryMark) return;
  mark_ = mark;
  if (SetCurrentDriveDirectory(directory) != 0) return;
  // The last component exactly as the caller wrote it, so that the bare name
  // names the same file (a trailing dot is no extension separator here).
  name_ = last;
}

LongPathScope::~LongPathScope() {
  if (mark_ == platform::kNoDirectoryMark) return;
  platform::ReturnToMark(mark_);
  platform::ReleaseMark(mark_);
}

bool FileExistsLong(const char* path) {
  if (path == nullptr || strnlen(path, EXISTS_BUFFER_SIZE) == EXISTS_BUFFER_SIZE) return false;
  LongPathScope scope(path);
  if (!scope.Usable()) return false;
  platform::FindData found;
  platform::FindHandle search = FindFirstReconnecting(scope.Name(), &found);
  if (search == platform::kInvalidFind) return false;
  platform::FindClose(search);
  return (found.attributes & platform::kAttributeDirectory) == 0;
}

std::uint32_t GetFileAttributesLong(const char* path) {
  LongPathScope scope(path);
  if (!scope.Usable()) return INVALID_FILE_ATTRIBUTES;
  return platform::GetAttributes(scope.Name());
}

bool SetFileAttributesLong(const char* path, std::uint32_t attributes) {
  LongPathScope scope(path);
  return scope.Usable() && platform::SetAttributes(scope.Name(), attributes);
}

}  // namespace utillib
