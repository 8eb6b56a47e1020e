// The library's process-wide start-up state, current-directory handling, and
// stream opening that reconnects a network drive once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace utillib {

// Number of application folder kinds, and the size of each override text.
inline constexpr std::size_t FOLDER_KIND_COUNT = 6;
inline constexpr std::size_t FOLDER_OVERRIDE_SIZE = 300;
inline constexpr std::size_t START_DIRECTORY_SIZE = 200;
inline constexpr std::size_t PROGRAM_NAME_SIZE = 200;
// Size of SaveCurrentDirectory's work buffer: a saved directory holds at most
// SAVED_DIRECTORY_SIZE - 2 characters.
inline constexpr std::size_t SAVED_DIRECTORY_SIZE = 260;

struct LibraryEnvironment {
  // A non-empty text replaces the default folder name of kinds 11201 to
  // 11206, in that order. Only the host writes them, after LibraryStartup.
  char folderOverrides[FOLDER_KIND_COUNT][FOLDER_OVERRIDE_SIZE];
  // The current directory at start-up (at most START_DIRECTORY_SIZE - 2
  // characters), or empty.
  char startDirectory[START_DIRECTORY_SIZE];
  // Base name of the program file, without directory and extension.
  char programName[PROGRAM_NAME_SIZE];
  // Current drive at start-up: 1 for A, 2 for B, ...; 0 when the current
  // directory has no drive letter.
  std::int32_t currentDrive;
};

// The process's environment, filled by LibraryStartup.
extern LibraryEnvironment libraryEnvironment;

// When true, the library's "now" is a fixed moment (set by the host after
// LibraryStartup, for reproducible output).
extern bool fixedDate;
// True once LibraryStartup has run.
extern bool started;

// Fills the library's process-wide start-up state: clears fixedDate, sets
// started, and fills libraryEnvironment afresh. Returns 0.
int LibraryStartup();

// Opens path as a stream with mode. When that fails, reconnects the path's
// drive (if it has a drive letter) and tries once more. nullptr on failure.
std::FILE* OpenFileReconnecting(const char* path, const char* mode);

// Fills buffer (at least SAVED_DIRECTORY_SIZE - 1 bytes) with the current
// directory, or with the empty text when it is longer than
// SAVED_DIRECTORY_SIZE - 2 characters or cannot be read. Returns buffer.
char* SaveCurrentDirectory(char* buffer);

// Makes the directory path current, and its drive first when it begins with
// a drive letter and a colon (in either case). A path without a drive letter
// changes the directory only. Returns 0, or -1 when the directory cannot be
// entered. Applied to a text from SaveCurrentDirectory it returns to the
// directory saved.
int SetCurrentDriveDirectory(const char* path);

// Sets size bytes of buffer to zero. Returns buffer.
void* ClearBuffer(void* buffer, std::size_t size);

}  // namespace utillib
