// The cursor of a directory listing and the counts built on it.
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "utillib/foundation/network_drives.h"
#include "utillib/foundation/path_names.h"
#include "utillib/listings/directory_listing.h"
#include "utillib/listings/listing_support.h"

namespace utillib {

bool DirectoryListing::StartCursor(char* directory) {
  CloseSearch();
  if (directory == nullptr) return false;
  EnsureRootBackslash(directory);
  std::size_t length = listing::DirectoryLength(directory);
  if (length == DIRECTORY_FIELD_SIZE) return false;
  std::memcpy(cursorDirectory, directory, length + 1);
  std::memcpy(baseDirectory, directory, length + 1);
  // Reachability probe: reconnects a network drive that finds nothing.
  platform::FindData probe;
  std::string text = listing::SearchText(cursorDirectory, "*");
  platform::FindHandle search = FindFirstReconnecting(text.c_str(), &probe);
  if (search != platform::kInvalidFind) platform::FindClose(search);
  return true;
}

bool DirectoryListing::StartPatternSearch() {
  for (; patternIndex < patternCount; ++patternIndex) {
    std::string text = listing::SearchText(cursorDirectory, patternSlots[patternIndex]);
    searchHandle = platform::FindFirst(text.c_str(), &findData);
    if (searchHandle != platform::kInvalidFind) return true;
  }
  return false;
}

bool DirectoryListing::StepFiles(bool examineFound) {
  for (;;) {
    if (!examineFound) {
      bool next =
          searchHandle != platform::kInvalidFind && platform::FindNext(searchHandle, &findData);
      if (!next) {
        CloseSearch();
        if (patternIndex < patternCount) ++patternIndex;
        if (!StartPatternSearch()) return false;
      }
    }
    examineFound = false;
    if (PassesFileTest(findData, cursorDirectory)) {
      FillCurrent(false);
      return true;
    }
  }
}

void DirectoryListing::FillCurrent(bool directory) {
  listing::FillEntry(&current, cursorDirectory, findData, directory, 0);
}

bool DirectoryListing::FirstFile(char* directory) {
  return FirstFile(directory, "");
}

bool DirectoryListing::FirstFile(char* directory, const char* patterns) {
  if (!ParsePatterns(patterns)) {
    CloseSearch();
    return false;
  }
  if (!StartCursor(directory)) return false;
  patternIndex = 0;
  return StartPatternSearch() && StepFiles(true);
}

bool DirectoryListing::NextFile() {
  return StepFiles(false);
}

bool DirectoryListing::FirstDirectory(char* directory) {
  if (!StartCursor(directory)) return false;
  std::string text = listing::SearchText(cursorDirectory, "*");
  searchHandle = platform::FindFirst(text.c_str(), &findData, platform::FindScope::Directories);
  if (searchHandle == platform::kInvalidFind) return false;
  if (PassesDirectoryTest(findData, cursorDirectory)) {
    FillCurrent(true);
    return true;
  }
  return NextDirectory();
}

bool DirectoryListing::NextDirectory() {
  while (searchHandle != platform::kInvalidFind && platform::FindNext(searchHandle, &findData)) {
    if (PassesDirectoryTest(findData, cursorDirectory)) {
      FillCurrent(true);
      return true;
    }
  }
  return false;
}

const char* DirectoryListing::CurrentRelativePath() const {
  return listing::RelativeTo(current.path, baseDirectory);
}

std::int32_t DirectoryListing::CountFiles(char* directory) {
  return CountFiles(directory, "");
}

std::int32_t DirectoryListing::CountFiles(char* directory, const char* patterns) {
  if (!ParsePatterns(patterns)) return 0;
  // Each pattern on its own through the cursor, which takes the slots.
  char parsed[PATTERN_SLOT_COUNT][PATTERN_SLOT_SIZE];
  std::memcpy(parsed, patternSlots, sizeof parsed);
  std::int32_t patterns_ = patternCount;
  std::int32_t count = 0;
  for (std::int32_t slot = 0; slot < patterns_; ++slot) {
    std::memset(patternSlots, 0, sizeof patternSlots);
    std::memcpy(patternSlots[0], parsed[slot], PATTERN_SLOT_SIZE);
    patternCount = 1;
    patternIndex = 0;
    if (StartCursor(directory) && StartPatternSearch() && StepFiles(true)) {
      do {
        ++count;
        totalSize += current.size;
      } while (StepFiles(false));
    }
    CloseSearch();
  }
  return count;
}

std::int32_t DirectoryListing::CountFilesInTree(char* directory) {
  return CountFilesInTree(directory, "");
}

std::int32_t DirectoryListing::CountFilesInTree(char* directory, const char* patterns) {
  std::int32_t count = CountFiles(directory, patterns);
  if (directory == nullptr) return count;
  std::unique_ptr<DirectoryListing> subdirectories(new (std::nothrow) DirectoryListing);
  if (subdirectories == nullptr) return count;
  subdirectories->ListDirectories(directory);
  for (std::int32_t i = 0; i < subdirectories->Count(); ++i) {
    char path[PATH_FIELD_SIZE];
    std::memcpy(path, subdirectories->EntryPath(i), sizeof path);
    if (listing::MayEnter(path)) count += CountFilesInTree(path, patterns);
  }
  return count;
}

std::int32_t DirectoryListing::CountDirectories(char* directory) {
  std::int32_t count = 0;
  if (FirstDirectory(directory)) {
    do {
      ++count;
    } while (NextDirectory());
  }
  CloseSearch();
  return count;
}

}  // namespace utillib
