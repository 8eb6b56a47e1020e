#include "platform/files.h"

// clang-format off
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// clang-format on

#include <cstring>

#include "platform/win32/system_path.h"

namespace platform {
namespace {

// The system's own search reports every attribute bit of an entry, links
// (junctions, symbolic links) with their reparse-point bit included; its
// 64-bit times and sizes are narrowed here to the 32-bit ones of FindData.

// FILETIME counts 100-nanosecond ticks since 1601-01-01 UTC; calendar
// seconds count from 1970-01-01 UTC.
constexpr ULONGLONG kTicksPerSecond = 10000000;
constexpr ULONGLONG kTicksTo1970 = 116444736000000000;

std::int32_t Time32(const FILETIME& time) {
  ULONGLONG ticks = (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  if (ticks < kTicksTo1970) return -1;
  ULONGLONG seconds = (ticks - kTicksTo1970) / kTicksPerSecond;
  return seconds > 0x7FFFFFFF ? -1 : static_cast<std::int32_t>(seconds);
}

struct Search {
  HANDLE system;
  bool skipDots;  // a drive's root directory has no "." and ".." entries
  FindScope scope;
};

bool IsDots(const char* name) {
  return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

bool Reports(const Search& search, const WIN32_FIND_DATAA& found) {
  if (search.skipDots && IsDots(found.cFileName)) return false;
  return search.scope == FindScope::All || (found.dwFileAttributes & kAttributeDirectory) != 0;
}

void Convert(const WIN32_FIND_DATAA& found, FindData* data) {
  std::memset(data, 0, sizeof *data);
  // A file without other bits is reported with none, as by the run-time's
  // search, not with the system's FILE_ATTRIBUTE_NORMAL.
  data->attributes = found.dwFileAttributes == FILE_ATTRIBUTE_NORMAL ? 0 : found.dwFileAttributes;
  data->createTime = Time32(found.ftCreationTime);
  data->accessTime = Time32(found.ftLastAccessTime);
  data->writeTime = Time32(found.ftLastWriteTime);
  data->size = found.nFileSizeLow;
  std::size_t length = strnlen(found.cFileName, kFindNameSize - 1);
  std::memcpy(data->name, found.cFileName, length);
  data->name[length] = '\0';
}

// Takes found, or the next entry after it, that the search reports.
bool Deliver(Search* search, WIN32_FIND_DATAA* found, FindData* data) {
  while (!Reports(*search, *found)) {
    if (!FindNextFileA(search->system, found)) return false;
  }
  Convert(*found, data);
  return true;
}

// "E:\*.*" searches the drive's root directory.
bool SearchesDriveRoot(const char* pattern) {
  if (pattern[0] == '\0' || pattern[1] != ':') return false;
  const char* rest = pattern + 2;
  return (rest[0] == '\\' || rest[0] == '/') && std::strpbrk(rest + 1, "\\/") == nullptr;
}

}  // namespace

FindHandle FindFirst(const char* pattern, FindData* data, FindScope scope) {
  if (pattern == nullptr || data == nullptr) return kInvalidFind;
  char mapped[kSystemPathSize];
  if (!SystemPath(pattern, mapped)) return kInvalidFind;
  WIN32_FIND_DATAA found;
  HANDLE system = FindFirstFileA(mapped, &found);
  if (system == INVALID_HANDLE_VALUE) return kInvalidFind;
  auto* search = new Search{system, SearchesDriveRoot(pattern), scope};
  if (!Deliver(search, &found, data)) {
    ::FindClose(system);
    delete search;
    return kInvalidFind;
  }
  return reinterpret_cast<FindHandle>(search);
}

bool FindNext(FindHandle handle, FindData* data) {
  if (handle == kInvalidFind || data == nullptr) return false;
  auto* search = reinterpret_cast<Search*>(handle);
  WIN32_FIND_DATAA found;
  if (!FindNextFileA(search->system, &found)) return false;
  return Deliver(search, &found, data);
}

void FindClose(FindHandle handle) {
  if (handle == kInvalidFind) return;
  auto* search = reinterpret_cast<Search*>(handle);
  ::FindClose(search->system);
  delete search;
}

std::uint32_t GetAttributes(const char* path) {
  char mapped[kSystemPathSize];
  if (!SystemPath(path, mapped)) return kInvalidAttributes;
  DWORD attributes = GetFileAttributesA(mapped);
  return attributes == INVALID_FILE_ATTRIBUTES ? kInvalidAttributes : attributes;
}

bool SetAttributes(const char* path, std::uint32_t attributes) {
  char mapped[kSystemPathSize];
  if (!SystemPath(path, mapped)) return false;
  DWORD settable =
      attributes & (kAttributeReadOnly | kAttributeHidden | kAttributeSystem | kAttributeArchive);
  return SetFileAttributesA(mapped, settable == 0 ? FILE_ATTRIBUTE_NORMAL : settable) != 0;
}

}  // namespace platform
