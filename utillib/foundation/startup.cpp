#include "utillib/foundation/startup.h"

#include <cstring>

#include "platform/process.h"
#include "utillib/foundation/network_drives.h"
#include "utillib/foundation/path_names.h"

namespace utillib {

LibraryEnvironment libraryEnvironment;
bool fixedDate = false;
bool started = false;

namespace {

char UpperLetter(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Drive number (1 for A ... 26 for Z) of a path beginning with a letter and a
// colon; 0 for every other path.
int DriveNumber(const char* path) {
  char letter = UpperLetter(path[0]);
  if (letter < 'A' || letter > 'Z' || path[1] != ':') return 0;
  return letter - 'A' + 1;
}

void CopyCut(char* out, std::size_t capacity, const char* text) {
  std::size_t length = strnlen(text, capacity - 1);
  std::memcpy(out, text, length);
  out[length] = '\0';
}

}  // namespace

int LibraryStartup() {
  fixedDate = false;
  started = true;
  LibraryEnvironment& environment = libraryEnvironment;
  std::memset(&environment, 0, sizeof environment);

  char directory[PATH_BUFFER_SIZE];
  if (platform::CurrentDirectory(directory, sizeof directory)) {
    environment.currentDrive = DriveNumber(directory);
  }
  // One byte less than the field: a directory of START_DIRECTORY_SIZE - 1
  // characters or more leaves it empty.
  platform::CurrentDirectory(environment.startDirectory, START_DIRECTORY_SIZE - 1);

  char program[PATH_BUFFER_SIZE];
  if (platform::ProgramPath(program, sizeof program)) {
    CopyCut(environment.programName, PROGRAM_NAME_SIZE, PathFileName(program));
  }
  return 0;
}

std::FILE* OpenFileReconnecting(const char* path, const char* mode) {
  if (path == nullptr || mode == nullptr) return nullptr;
  std::FILE* stream = platform::OpenStream(path, mode);
  if (stream != nullptr) return stream;
  if (path[0] != '\0' && path[1] == ':') ReconnectNetworkDrive(UpperLetter(path[0]));
  return platform::OpenStream(path, mode);
}

char* SaveCurrentDirectory(char* buffer) {
  char work[SAVED_DIRECTORY_SIZE] = {};
  platform::CurrentDirectory(work, SAVED_DIRECTORY_SIZE - 1);
  std::memcpy(buffer, work, std::strlen(work) + 1);
  return buffer;
}

int SetCurrentDriveDirectory(const char* path) {
  if (path == nullptr) return -1;
  int drive = DriveNumber(path);
  if (drive != 0) platform::SelectDrive(drive);
  return platform::ChangeDirectory(path) ? 0 : -1;
}

void* ClearBuffer(void* buffer, std::size_t size) {
  if (buffer != nullptr && size > 0) std::memset(buffer, 0, size);
  return buffer;
}

}  // namespace utillib
