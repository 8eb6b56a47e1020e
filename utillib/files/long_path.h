// The long-path rule and the single-file attribute operations built on it.
//
// The platform's file calls refuse paths that are too long. A path of
// LONG_PATH_LENGTH characters or more is therefore used from inside its
// directory: the operation makes that directory current, works with the
// bare name, and makes the previous current directory current again before
// it returns. A shorter path is used as it stands and the current directory
// is not touched.
//
// The rule guarantees two things on every path through an operation: the
// process ends up in exactly the directory it was in (whatever the length of
// its name), and when the path's directory cannot be made current nothing is
// done with the bare name (it would name a file in another directory).
//
// Error contract: nothing throws or prints; results are booleans or
// attribute bits.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/process.h"
#include "utillib/foundation/path_names.h"

namespace utillib {

// A path of this many characters or more is a long path.
inline constexpr std::size_t LONG_PATH_LENGTH = 256;
// All bits set: the result of a failed attribute read.
inline constexpr std::uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
// FileExistsLong works on paths of at most this many characters less one; a
// longer path is not cut but reported missing.
inline constexpr std::size_t EXISTS_BUFFER_SIZE = 600;

// Applies the long-path rule for the lifetime of a scope:
//
//   LongPathScope scope(path);
//   if (!scope.Usable()) return failure;
//   ... platform call on scope.Name() ...
//
// For a short path Name() is the path itself. For a long path the scope
// marks the current directory, enters the path's directory and gives the
// last component of the path as Name(); the destructor returns to the
// marked directory. A long path of PATH_BUFFER_SIZE characters or more, one
// whose directory cannot be entered, one ending in a separator, or a current
// directory that cannot be marked leave the scope unusable, in the directory
// it started in.
class LongPathScope {
 public:
  explicit LongPathScope(const char* path);
  ~LongPathScope();
  LongPathScope(const LongPathScope&) = delete;
  LongPathScope& operator=(const LongPathScope&) = delete;

  bool Usable() const { return name_ != nullptr; }
  // The text to hand to the platform call; null when not usable.
  const char* Name() const { return name_; }
  // True when the scope changed the current directory (a long path).
  bool Entered() const { return mark_ != platform::kNoDirectoryMark; }

 private:
  const char* name_ = nullptr;
  platform::DirectoryMark mark_ = platform::kNoDirectoryMark;
};

// True when the first entry that a search for path finds exists and is not a
// directory. A search that finds nothing reconnects the path's network drive
// (when it has a drive letter) and searches once more.
bool FileExistsLong(const char* path);

// The attribute bits of path as the system reports them, or
// INVALID_FILE_ATTRIBUTES.
std::uint32_t GetFileAttributesLong(const char* path);

// Sets the attribute bits of path; true when the system call succeeded.
bool SetFileAttributesLong(const char* path, std::uint32_t attributes);

}  // namespace utillib
