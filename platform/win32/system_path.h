// The Win32 backend's one mapping of the paths of our interface, shared by
// every file and directory call: the current machine maps drive letters (an
// installed emulated machine to its drives' directories, the real one not
// at all).
#pragma once

#include <cstddef>

#include "platform/machine.h"

namespace platform {

// Longest mapped path handled here, terminator included.
inline constexpr std::size_t kSystemPathSize = 4096;

inline bool SystemPath(const char* path, char (&out)[kSystemPathSize]) {
  return path != nullptr && CurrentMachine().MapPath(path, out, sizeof out);
}

}  // namespace platform
