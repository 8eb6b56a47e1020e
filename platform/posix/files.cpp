#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
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

// The bits that the extended attribute keeps; read-only and directory come
// from the inode itself.
constexpr std::uint32_t kStoredBits = kAttributeHidden | kAttributeSystem | kAttributeArchive;
constexpr char kAttributeName[] = "user.DOSATTRIB";

// Hidden, system and archive of a file or directory (links keep none).
// Samba may store a NUL and binary data after the hex text; only the text
// counts.
std::uint32_t StoredBits(const char* path) {
  char text[64];
  ssize_t length = lgetxattr(path, kAttributeName, text, sizeof text - 1);
  if (length < 3) return 0;
  text[length] = '\0';
  if (text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return 0;
  char* end = nullptr;
  unsigned long value = std::strtoul(text + 2, &end, 16);
  if (end == text + 2) return 0;
  return static_cast<std::uint32_t>(value) & kStoredBits;
}

// Attribute bits of an entry from its own (not followed) status; for a link
// the target's kind is asked for too (base, name relative to the directory
// descriptor at). path names the same entry for the extended attribute.
std::uint32_t AttributesOf(int at, const char* name, const char* path, const struct stat& own) {
  std::uint32_t attributes = 0;
  if (S_ISLNK(own.st_mode)) {
    attributes |= kAttributeReparsePoint;
    struct stat target {};
    if (fstatat(at, name, &target, 0) == 0 && S_ISDIR(target.st_mode)) {
      attributes |= kAttributeDirectory;
    }
    return attributes;
  }
  if (S_ISDIR(own.st_mode)) attributes |= kAttributeDirectory;
  if ((own.st_mode & S_IWUSR) == 0) attributes |= kAttributeReadOnly;
  return attributes | StoredBits(path);
}

struct Search {
  DIR* dir;
  std::string directory;
  std::string pattern;
  bool skipDots;  // a drive's root directory has no "." and ".." entries
  FindScope scope;
  std::string full;  // the current entry's path, reused from entry to entry
};

// An entry that the directory itself reports as neither a directory nor a
// link (nor of unknown kind) is no directory.
bool CannotBeDirectory(unsigned char type) {
  return type != DT_DIR && type != DT_LNK && type != DT_UNKNOWN;
}

bool NextMatch(Search* search, FindData* data) {
  while (dirent* entry = readdir(search->dir)) {
    const char* name = entry->d_name;
    bool dots = std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
    if (dots && search->skipDots) continue;
    if (search->scope == FindScope::Directories && CannotBeDirectory(entry->d_type)) continue;
    if (!MatchWindows(search->pattern, name)) continue;
    std::size_t length = std::strlen(name);
    if (length >= kFindNameSize) continue;
    struct stat info {};
    if (fstatat(dirfd(search->dir), name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    search->full.assign(search->directory).append("/").append(name, length);
    std::uint32_t attributes = AttributesOf(dirfd(search->dir), name, search->full.c_str(), info);
    if (search->scope == FindScope::Directories && (attributes & kAttributeDirectory) == 0) {
      continue;
    }
    std::memset(data, 0, sizeof *data);
    data->attributes = attributes;
    data->createTime = Time32(info.st_ctime);
    data->accessTime = Time32(info.st_atime);
    data->writeTime = Time32(info.st_mtime);
    data->size = S_ISREG(info.st_mode) ? static_cast<std::uint32_t>(info.st_size) : 0;
    std::memcpy(data->name, name, length + 1);
    return true;
  }
  return false;
}

}  // namespace

FindHandle FindFirst(const char* pattern, FindData* data, FindScope scope) {
  if (pattern == nullptr || data == nullptr) return kInvalidFind;
  char mapped[kSystemPathSize];
  if (!SystemPath(pattern, mapped)) return kInvalidFind;
  std::string path(mapped);
  std::size_t slash = path.rfind('/');
  auto* search = new Search{nullptr, ".", path, false, scope, {}};
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

std::uint32_t GetAttributes(const char* path) {
  char mapped[kSystemPathSize];
  struct stat info {};
  if (!SystemPath(path, mapped) || lstat(mapped, &info) != 0) return kInvalidAttributes;
  std::uint32_t attributes = AttributesOf(AT_FDCWD, mapped, mapped, info);
  return attributes == 0 ? kAttributeNormal : attributes;
}

bool SetAttributes(const char* path, std::uint32_t attributes) {
  char mapped[kSystemPathSize];
  struct stat info {};
  if (!SystemPath(path, mapped) || lstat(mapped, &info) != 0) return false;
  // A link's own mode and extended attributes cannot be set here.
  if (S_ISLNK(info.st_mode)) return false;
  std::uint32_t stored = attributes & kStoredBits;
  if (stored != 0) {
    char text[16];
    int length = std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(stored));
    if (lsetxattr(mapped, kAttributeName, text, static_cast<std::size_t>(length), 0) != 0) {
      return false;
    }
  } else if (lremovexattr(mapped, kAttributeName) != 0 && errno != ENODATA && errno != ENOTSUP) {
    return false;
  }
  mode_t mode = info.st_mode & 07777;
  mode_t wanted = (attributes & kAttributeReadOnly) != 0
                      ? static_cast<mode_t>(mode & ~(S_IWUSR | S_IWGRP | S_IWOTH))
                      : static_cast<mode_t>(mode | S_IWUSR);
  return wanted == mode || chmod(mapped, wanted) == 0;
}

}  // namespace platform
