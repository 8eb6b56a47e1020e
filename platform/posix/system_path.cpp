#include "platform/posix/system_path.h"

#include <cstring>

#include "platform/machine.h"

namespace platform {
namespace {

bool HasDriveLetter(const char* path) {
  char c = path[0];
  return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && path[1] == ':';
}

}  // namespace

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

}  // namespace platform
