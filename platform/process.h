// The process's place in the file system: its current directory and drive,
// the path of its program file, and opening stream files.
//
// Paths are Windows paths: either separator, and a leading drive letter with
// a colon that the current machine maps (Machine::MapPath). On POSIX the
// backslashes become slashes at the system boundary.
//
// Error contract: no function throws or prints. Every call reports success or
// failure through its result alone; the operating system's error codes are
// not kept. A function that fills a caller buffer leaves it empty (when its
// capacity allows a terminator) on failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace platform {

// Drive numbers: 1 is A, 26 is Z.
inline constexpr int kFirstDrive = 1;
inline constexpr int kLastDrive = 26;

// Current directory into buffer (capacity bytes, terminator included). False
// when it cannot be read or does not fit. On POSIX a directory whose name
// contains a backslash also fails: the separator rule above could not bring
// the process back to it.
bool CurrentDirectory(char* buffer, std::size_t capacity);

// Makes path the current directory. False when it cannot be entered, also
// when its drive letter has no directory on this machine.
bool ChangeDirectory(const char* path);

// Makes drive number drive current. Numbers outside kFirstDrive..kLastDrive
// select nothing and give false.
// Windows: the drive becomes current together with its own current directory.
// POSIX: a process has one current directory and no current drive, so nothing
// changes; the result tells whether the machine has a directory for that
// drive. A ChangeDirectory to a drive-letter path enters the drive itself.
bool SelectDrive(int drive);

// A hold on the current directory that brings the process back to exactly
// that directory, whatever the length of its name and wherever the process
// went since (POSIX: an open descriptor of the directory; Windows: its full
// name). kNoDirectoryMark marks a failed mark.
using DirectoryMark = std::intptr_t;
inline constexpr DirectoryMark kNoDirectoryMark = -1;

DirectoryMark MarkCurrentDirectory();
// Makes the marked directory current again. False when it cannot be entered.
bool ReturnToMark(DirectoryMark mark);
void ReleaseMark(DirectoryMark mark);

// Full path of the running program's file into buffer (capacity bytes,
// terminator included). False when it is unknown or does not fit.
bool ProgramPath(char* buffer, std::size_t capacity);

// Opens a stream file as std::fopen does, with the mode given ("r", "ab",
// ...). nullptr when it cannot be opened or an argument is null.
std::FILE* OpenStream(const char* path, const char* mode);

}  // namespace platform
