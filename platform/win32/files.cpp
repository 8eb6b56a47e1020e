#include "platform/files.h"

#include <io.h>

#include <cstring>

#include "platform/win32/system_path.h"

namespace platform {
namespace {

// The run-time's search with 64-bit times and sizes is available on every
// Windows target; its values are narrowed here to the 32-bit ones of
// FindData, as the 32-bit search reports them.
using RunTimeFindData = struct __finddata64_t;

std::int32_t Time32(__time64_t t) {
  return (t < 0 || t > 0x7FFFFFFF) ? -1 : static_cast<std::int32_t>(t);
}

struct Search {
  intptr_t runTime;
  bool skipDots;  // a drive's root directory has no "." and ".." entries
};

bool IsDots(const char* name) {
  return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

void Convert(const RunTimeFindData& found, FindData* data) {
  std::memset(data, 0, sizeof *data);
  data->attributes = found.attrib;
  data->createTime = Time32(found.time_create);
  data->accessTime = Time32(found.time_access);
  data->writeTime = Time32(found.time_write);
  data->size = static_cast<std::uint32_t>(found.size);
  std::size_t length = strnlen(found.name, kFindNameSize - 1);
  std::memcpy(data->name, found.name, length);
  data->name[length] = '\0';
}

// Takes found, or the next entry after it, that the search reports.
bool Deliver(Search* search, RunTimeFindData* found, FindData* data) {
  while (search->skipDots && IsDots(found->name)) {
    if (_findnext64(search->runTime, found) != 0) return false;
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

FindHandle FindFirst(const char* pattern, FindData* data) {
  if (pattern == nullptr || data == nullptr) return kInvalidFind;
  char mapped[kSystemPathSize];
  if (!SystemPath(pattern, mapped)) return kInvalidFind;
  RunTimeFindData found;
  intptr_t runTime = _findfirst64(mapped, &found);
  if (runTime == -1) return kInvalidFind;
  auto* search = new Search{runTime, SearchesDriveRoot(pattern)};
  if (!Deliver(search, &found, data)) {
    _findclose(runTime);
    delete search;
    return kInvalidFind;
  }
  return reinterpret_cast<FindHandle>(search);
}

bool FindNext(FindHandle handle, FindData* data) {
  if (handle == kInvalidFind || data == nullptr) return false;
  auto* search = reinterpret_cast<Search*>(handle);
  RunTimeFindData found;
  if (_findnext64(search->runTime, &found) != 0) return false;
  return Deliver(search, &found, data);
}

void FindClose(FindHandle handle) {
  if (handle == kInvalidFind) return;
  auto* search = reinterpret_cast<Search*>(handle);
  _findclose(search->runTime);
  delete search;
}

}  // namespace platform
