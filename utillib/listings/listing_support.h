// Pieces shared by the listing, the cursor and the walks: building entries,
// the search texts, and the test for a subdirectory that may be entered.
// Internal to the listings area.
#pragma once

#include <cstddef>
#include <string>

#include "platform/files.h"
#include "utillib/listings/directory_listing.h"

namespace utillib::listing {

// Length of a directory text that fits the entries' directory field, or
// DIRECTORY_FIELD_SIZE when it does not.
inline std::size_t DirectoryLength(const char* directory) {
  return strnlen(directory, DIRECTORY_FIELD_SIZE);
}

// directory "\" name, or name alone when the directory is empty, into out
// (PATH_FIELD_SIZE bytes; a directory and a name that fit their fields always
// fit).
void JoinEntryPath(char (&out)[PATH_FIELD_SIZE], const char* directory, const char* name);

// The search text for the entries of directory that match "*." pattern; no
// second separator after a directory that ends in one.
std::string SearchText(const char* directory, const char* pattern);

// Fills a zero record for one entry the search found in directory.
void FillEntry(ListingEntry* entry, const char* directory, const platform::FindData& found,
               bool isDirectory, std::int32_t level);

// The part of path below base and the separator after it; the whole path
// when base is empty.
const char* RelativeTo(const char* path, const char* base);

// True for a subdirectory entry that a walk or count may enter: a real
// directory, not a link to one, whose attributes can be read.
bool MayEnter(const char* path);

}  // namespace utillib::listing
