// The POSIX backend's one mapping from the Windows paths of our interface to
// paths of this system, shared by every file and directory call.
#pragma once

#include <cstddef>

namespace platform {

// Longest system path handled here, terminator included.
inline constexpr std::size_t kSystemPathSize = 4096;

// A path that begins with a letter and a colon goes through the current
// machine's drive mapping; any other path is this system's own ("/:x" too).
// Backslashes become slashes. False when the drive does not exist or the
// result does not fit.
bool SystemPath(const char* path, char (&out)[kSystemPathSize]);

}  // namespace platform
