#include "platform/files.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <ctime>
#include <string>

#include "platform/posix/system_path.h"

namespace platform {
namespace {

char Fold(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool Match(const char* pattern, const char* name) {
  // Iterative '*' matching with one back-tracking point.
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name != '\0') {
    if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (*pattern == '?' || (*pattern != '\0' && Fold(*pattern) == Fold(*name))) {
      ++pattern;
      ++name;
    } else if (star != nullptr) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}

// Windows rules: a pattern ending in ".*" also matches names without a dot
// ("*.*" matches everything); one ending in "." matches names without one.
bool MatchWindows(const std::string& pattern, const char* name) {
  if (Match(pattern.c_str(), name)) return true;
  std::size_t n = pattern.size();
  if (n >= 2 && pattern[n - 2] == '.' && pattern[n - 1] == '*') {
    return std::strchr(name, '.') == nullptr && Match(pattern.substr(0, n - 2).c_str(), name);
  }
  if (n >= 1 && pattern[n - 1] == '.') {
    return std::strchr(name, '.') == nullptr && Match(pattern.substr(0, n - 1).c_str(), name);
  }
  return false;
}

std::int32_t Time32(std::time_t t) {
  return (t < 0 || t > 0x7FFFFFFF) ? -1 : static_cast<std::int32_t>(t);
}

struct Search {
  DIR* dir;
  std::string directory;
  std::string pattern;
  bool skipDots;  // a drive's root directory has no "." and ".." entries
};

bool NextMatch(Search* search, FindData* data) {
  while (dirent* entry = readdir(search->dir)) {
    const char* name = entry->d_name;
    bool dots = std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
    if (dots && search->skipDots) continue;
    if (!MatchWindows(search->pattern, name)) continue;
    if (std::strlen(name) >= kFindNameSize) continue;
    std::string full = search->directory + "/" + name;
    struct stat info {};
    if (stat(full.c_str(), &info) != 0) continue;
    std::memset(data, 0, sizeof *data);
    if (S_ISDIR(info.st_mode))
      data->attributes |= kAttributeDirectory;
    else
      data->attributes |= kAttributeArchive;
    if ((info.st_mode & S_IWUSR) == 0) data->attributes |= kAttributeReadOnly;
    if (name[0] == '.' && !dots) data->attributes |= kAttributeHidden;
    data->createTime = Time32(info.st_ctime);
    data->accessTime = Time32(info.st_atime);
    data->writeTime = Time32(info.st_mtime);
    data->size = S_ISDIR(info.st_mode) ? 0 : static_cast<std::uint32_t>(info.st_size);
    std::memcpy(data->name, name, std::strlen(name) + 1);
    return true;
  }
  return false;
}

}  // namespace

FindHandle FindFirst(const char* pattern, FindData* data) {
  if (pattern == nullptr || data == nullptr) return kInvalidFind;
  char mapped[kSystemPathSize];
  if (!SystemPath(pattern, mapped)) return kInvalidFind;
  std::string path(mapped);
  std::size_t slash = path.rfind('/');
  auto* search = new Search{nullptr, ".", path, false};
  if (slash != std::string::npos) {
    search->directory = slash == 0 ? "/" : path.substr(0, slash);
    search->pattern = path.substr(slash + 1);
  }
  // "E:\*.*" searches the drive's root directory.
  const char* rest = pattern[0] != '\0' && pattern[1] == ':' ? pattern + 2 : nullptr;
  search->skipDots = rest != nullptr && (rest[0] == '\\' || rest[0] == '/') &&
                     std::strpbrk(rest + 1, "\\/") == nullptr;
  search->dir = opendir(search->directory.c_str());
  if (search->dir == nullptr || !NextMatch(search, data)) {
    if (search->dir != nullptr) closedir(search->dir);
    delete search;
    return kInvalidFind;
  }
  return reinterpret_cast<FindHandle>(search);
}

bool FindNext(FindHandle handle, FindData* data) {
  if (handle == kInvalidFind || data == nullptr) return false;
  return NextMatch(reinterpret_cast<Search*>(handle), data);
}

void FindClose(FindHandle handle) {
  if (handle == kInvalidFind) return;
  auto* search = reinterpret_cast<Search*>(handle);
  closedir(search->dir);
  delete search;
}

}  // namespace platform
