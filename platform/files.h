// Files and directories: the wildcard directory search with 32-bit times and
// sizes, and the attribute bits of a single path. Further file operations of
// the library join this header.
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
inline constexpr std::uint32_t kAttributeNormal = 0x80;  // a file without any other bit
// A link: a POSIX symbolic link, a Windows junction or symbolic link. A link
// to a directory also has kAttributeDirectory.
inline constexpr std::uint32_t kAttributeReparsePoint = 0x400;
// The value of a failed attribute read: all bits set.
inline constexpr std::uint32_t kInvalidAttributes = 0xFFFFFFFF;

// Longest entry name plus its terminator.
inline constexpr std::size_t kFindNameSize = 260;

// One entry found by a directory search. Times are 32-bit calendar seconds
// (-1 when unknown); sizes above 4 GiB - 1 are cut to 32 bits. A link is
// reported as itself: with kAttributeReparsePoint, plus kAttributeDirectory
// when it leads to a directory. A file without other bits has attributes 0
// (the run-time's search does not report kAttributeNormal).
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

// Which entries a search reports.
enum class FindScope {
  All,          // every entry the pattern matches
  Directories,  // only those with kAttributeDirectory (links to directories too)
};

// Start a search for pattern ("E:\*.*", "dir/*.txt"); '*' and '?' match as
// on Windows, letters without regard to case. The first entry goes to *data.
// A search limited to directories spares the backend the look-up of every
// file on systems that can tell the kind of an entry from its name alone.
FindHandle FindFirst(const char* pattern, FindData* data, FindScope scope = FindScope::All);
// Next entry; false when there is none.
bool FindNext(FindHandle search, FindData* data);
void FindClose(FindHandle search);

// Attribute bits of path itself (a link is not followed), or
// kInvalidAttributes when they cannot be read. A file without any of the
// other bits reports kAttributeNormal, as the system does.
// POSIX: read-only is the owner's write permission bit missing; hidden,
// system and archive live in the extended attribute "user.DOSATTRIB" as hex
// text ("0x22"), the form Samba and Wine use; without it those bits are clear.
std::uint32_t GetAttributes(const char* path);

// Sets the read-only, hidden, system and archive bits of path to those of
// attributes (kAttributeNormal clears them all; other bits are ignored).
// POSIX: false when hidden, system or archive are asked for and the file
// system keeps no extended attributes.
bool SetAttributes(const char* path, std::uint32_t attributes);

}  // namespace platform
