// The recursive walks of a directory listing over a whole tree. Each level
// lists its subdirectories in a listing of its own, taken from the heap so
// that the depth of a tree does not weigh on the stack.
#include <cstring>
#include <memory>
#include <new>

#include "utillib/foundation/path_names.h"
#include "utillib/listings/directory_listing.h"
#include "utillib/listings/listing_support.h"

namespace utillib {
namespace {

std::unique_ptr<DirectoryListing> Subdirectories(char* directory) {
  std::unique_ptr<DirectoryListing> listing(new (std::nothrow) DirectoryListing);
  if (listing != nullptr) listing->ListDirectories(directory);
  return listing;
}

}  // namespace

namespace {

// Sets up a walk from root: false when the root cannot be walked (no text,
// or too long for the entries' fields).
bool StartWalk(char* root, char (&baseDirectory)[BASE_DIRECTORY_SIZE]) {
  if (root == nullptr) return false;
  EnsureRootBackslash(root);
  std::size_t length = listing::DirectoryLength(root);
  if (length == DIRECTORY_FIELD_SIZE) return false;
  std::memcpy(baseDirectory, root, length + 1);
  return true;
}

}  // namespace

std::int32_t DirectoryListing::ListTreeFiles(char* root) {
  return ListTreeFiles(root, "");
}

std::int32_t DirectoryListing::ListTreeFiles(char* root, const char* patterns) {
  if (!StartWalk(root, baseDirectory)) return 0;
  std::int32_t level = 0;
  return WalkFiles(root, patterns, 0, level);
}

std::int32_t DirectoryListing::ListTreeDirectories(char* root) {
  if (!StartWalk(root, baseDirectory)) return 0;
  std::int32_t level = 0;
  return WalkDirectories(root, 0, level);
}

std::int32_t DirectoryListing::ListTree(char* root) {
  return ListTree(root, "");
}

std::int32_t DirectoryListing::ListTree(char* root, const char* patterns) {
  if (!StartWalk(root, baseDirectory)) return 0;
  std::int32_t level = 0;
  return WalkTree(root, patterns, 0, level);
}

std::int32_t DirectoryListing::WalkFiles(char* directory, const char* patterns, std::int32_t start,
                                         std::int32_t& level) {
  if (directory == nullptr) return 0;
  EnsureRootBackslash(directory);
  std::int32_t count = 0;
  if (reverseOrder) count += ListFilesMatching(directory, patterns, start, level);
  std::unique_ptr<DirectoryListing> subdirectories = Subdirectories(directory);
  if (subdirectories == nullptr) return count;
  for (std::int32_t i = 0; i < subdirectories->Count(); ++i) {
    char path[PATH_FIELD_SIZE];
    std::memcpy(path, subdirectories->EntryPath(i), sizeof path);
    if (!listing::MayEnter(path)) continue;
    ++level;
    count += WalkFiles(path, patterns, start + count, level);
    --level;
  }
  subdirectories->Reset();
  if (!reverseOrder) count += ListFilesMatching(directory, patterns, start + count, level);
  return count;
}

std::int32_t DirectoryListing::WalkDirectories(char* directory, std::int32_t start,
                                               std::int32_t& level) {
  if (directory == nullptr) return 0;
  EnsureRootBackslash(directory);
  std::int32_t count = 0;
  std::unique_ptr<DirectoryListing> subdirectories = Subdirectories(directory);
  if (subdirectories == nullptr) return 0;
  for (std::int32_t i = 0; i < subdirectories->Count(); ++i) {
    ListingEntry* entry = subdirectories->Entry(i);
    entry->level = level;
    bool enter = listing::MayEnter(entry->path);
    if (!reverseOrder) {
      entries.Append(entry, ENTRY_WIDTH);
      ++count;
    }
    if (enter) {
      ++level;
      count += WalkDirectories(entry->path, start + count, level);
      --level;
    }
    if (reverseOrder) {
      entries.Append(entry, ENTRY_WIDTH);
      ++count;
    }
  }
  return count;
}

std::int32_t DirectoryListing::WalkTree(char* directory, const char* patterns, std::int32_t start,
                                        std::int32_t& level) {
  if (directory == nullptr) return 0;
  EnsureRootBackslash(directory);
  std::int32_t count = 0;
  if (reverseOrder) count += ListFilesMatching(directory, patterns, start, level);
  std::unique_ptr<DirectoryListing> subdirectories = Subdirectories(directory);
  if (subdirectories == nullptr) return count;
  for (std::int32_t i = 0; i < subdirectories->Count(); ++i) {
    ListingEntry* entry = subdirectories->Entry(i);
    entry->level = level;
    entries.Append(entry, ENTRY_WIDTH);
    ++count;
    if (!listing::MayEnter(entry->path)) continue;
    ++level;
    count += WalkTree(entry->path, patterns, start + count, level);
    --level;
  }
  subdirectories->Reset();
  if (!reverseOrder) count += ListFilesMatching(directory, patterns, start + count, level);
  return count;
}

}  // namespace utillib
