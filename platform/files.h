// Files and directories: the wildcard directory search with 32-bit times and
// sizes. Further file operations of the library join this header.
//
// Paths are Windows paths: either separator, and a leading drive letter with
// a colon that the current machine maps (Machine::MapPath). On POSIX the
// backslashes become slashes at the system boundary.
//
// Error contract: no function throws or prints; failure is reported through
// the result alone.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// Attribute bits of a directory entry, numbered as the system numbers them.
inline constexpr std::uint32_t kAttributeReadOnly = 0x01;
inline constexpr std::uint32_t kAttributeHidden = 0x02;
inline constexpr std::uint32_t kAttributeSystem = 0x04;
inline constexpr std::uint32_t kAttributeDirectory = 0x10;
inline constexpr std::uint32_t kAttributeArchive = 0x20;

// Longest entry name plus its terminator.
inline constexpr std::size_t kFindNameSize = 260;

// One entry found by a directory search. Times are 32-bit calendar seconds
// (-1 when unknown); sizes above 4 GiB - 1 are cut to 32 bits.
struct FindData {
  std::uint32_t attributes;
  std::int32_t createTime;
  std::int32_t accessTime;
  std::int32_t writeTime;
  std::uint32_t size;
  char name[kFindNameSize];
};

using FindHandle = std::intptr_t;
inline constexpr FindHandle kInvalidFind = -1;

// Start a search for pattern ("E:\*.*", "dir/*.txt"); '*' and '?' match as
// on Windows, letters without regard to case. The first entry goes to *data.
FindHandle FindFirst(const char* pattern, FindData* data);
// Next entry; false when there is none.
bool FindNext(FindHandle search, FindData* data);
void FindClose(FindHandle search);

}  // namespace platform
