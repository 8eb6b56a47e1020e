// Directory listings: the files or subdirectories of one directory as
// ListingEntry records, with sort modes, filters and a running total of the
// file sizes; a cursor that steps through a directory an entry at a time,
// with counts built on it; and recursive walks over a whole tree.
//
// Directory arguments are writable texts: a bare drive specification ("C:")
// gets its backslash appended in place, so the caller's buffer needs room
// for one more character. An empty directory text means the current one.
// Paths are kept as built ("C:\" + "\" + name for a drive root).
//
// Links to directories (the search reports them with the reparse-point bit)
// are listed like subdirectories but never entered: no walk or count goes
// through them, so a link cycle cannot make a walk endless and nothing
// outside the tree is reached through one.
//
// Fields never hold a cut text: a directory of DIRECTORY_FIELD_SIZE
// characters or more is not listed (its entries could only be stored cut,
// and a cut path names another file); such a directory gives no entries and
// is not counted.
//
// Error contract: nothing throws or prints; counts and booleans are the only
// results. Accessors given an index outside 0 .. Count() - 1 return an empty
// text, size 0 or an empty stamp.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/files.h"
#include "utillib/listings/record_array.h"
#include "utillib/values/stamp.h"

namespace utillib {

inline constexpr std::size_t NAME_FIELD_SIZE = 260;
inline constexpr std::size_t DIRECTORY_FIELD_SIZE = 260;
inline constexpr std::size_t PATH_FIELD_SIZE = 520;

struct ListingEntry {
  char name[NAME_FIELD_SIZE];            // as the search reports it
  char directory[DIRECTORY_FIELD_SIZE];  // the directory text that was listed
  char path[PATH_FIELD_SIZE];            // directory "\" name, or name alone
  std::uint32_t size;                    // 0 for subdirectories
  std::uint8_t isDirectory;              // 1 for a subdirectory
  std::uint8_t reserved[3];              // zero
  std::int32_t level;                    // nesting level below a walk's root
  DateTimeStamp modified;                // last-write time
};

inline constexpr std::uint32_t ENTRY_WIDTH = 1060;
static_assert(sizeof(ListingEntry) == ENTRY_WIDTH, "a listing entry is 1060 bytes");
static_assert(offsetof(ListingEntry, directory) == 260);
static_assert(offsetof(ListingEntry, path) == 520);
static_assert(offsetof(ListingEntry, size) == 1040);
static_assert(offsetof(ListingEntry, isDirectory) == 1044);
static_assert(offsetof(ListingEntry, level) == 1048);
static_assert(offsetof(ListingEntry, modified) == 1052);

// Sort modes. Files: by name, extension, date or size, each with the name
// breaking ties; subdirectories: by date, else by name. Entries with equal
// keys keep the order of the search.
inline constexpr std::int32_t SORT_BY_NAME = 0;
inline constexpr std::int32_t SORT_BY_EXTENSION = 1;
inline constexpr std::int32_t SORT_BY_DATE = 2;
inline constexpr std::int32_t SORT_BY_SIZE = 3;
inline constexpr std::int32_t SORT_NONE = 4;

// Filter bits: an entry is skipped when ...
inline constexpr std::uint32_t SKIP_HIDDEN = 1;     // it is hidden (files, subdirectories)
inline constexpr std::uint32_t SKIP_SYSTEM = 2;     // it is a system entry (files, subdirectories)
inline constexpr std::uint32_t SKIP_EMPTY = 4;      // its size is 0 (files)
inline constexpr std::uint32_t SKIP_DOT_NAMES = 8;  // its name begins with "." (files)

inline constexpr std::size_t BASE_DIRECTORY_SIZE = 300;
inline constexpr std::size_t CURSOR_DIRECTORY_SIZE = 600;
// Extension patterns: at most PATTERN_SLOT_COUNT, each at most
// PATTERN_SLOT_SIZE - 1 characters. A pattern list with more or longer
// patterns, or with a path separator in one, is refused whole (it lists and
// counts nothing): a cut pattern would match other files.
inline constexpr std::size_t PATTERN_SLOT_COUNT = 100;
inline constexpr std::size_t PATTERN_SLOT_SIZE = 10;

class DirectoryListing {
 public:
  DirectoryListing();
  // Releases the entries; an open cursor search is closed by the owner first.
  ~DirectoryListing();
  DirectoryListing(const DirectoryListing&) = delete;
  DirectoryListing& operator=(const DirectoryListing&) = delete;

  // Closes the cursor, releases the entries and restores the settings'
  // defaults. baseDirectory, the pattern slots, cursorDirectory and current
  // stay.
  void Reset();
  void CloseSearch();

  std::int32_t Count() const { return entries.Count(); }
  ListingEntry* Entry(std::int32_t index) const;
  const char* EntryName(std::int32_t index) const;
  const char* EntryDirectory(std::int32_t index) const;
  const char* EntryPath(std::int32_t index) const;
  // The path below baseDirectory (the whole path when baseDirectory is empty).
  const char* EntryRelativePath(std::int32_t index) const;
  std::uint32_t EntrySize(std::int32_t index) const;
  const DateTimeStamp* EntryStamp(std::int32_t index) const;

  // Files of one directory that match the extension pattern ("*" every
  // file, "" those without an extension), written at start, start + 1, ...
  // with the given level. A start of 0 restarts totalSize. Returns the
  // number of entries added.
  std::int32_t ListFiles(char* directory);
  std::int32_t ListFiles(char* directory, std::int32_t start);
  std::int32_t ListFiles(char* directory, std::int32_t start, const char* pattern,
                         std::int32_t level);
  // The same for a comma-separated pattern list ("txt,doc"), pattern after
  // pattern; an empty list lists every file.
  std::int32_t ListFilesMatching(char* directory, const char* patterns);
  std::int32_t ListFilesMatching(char* directory, const char* patterns, std::int32_t start);
  std::int32_t ListFilesMatching(char* directory, const char* patterns, std::int32_t start,
                                 std::int32_t level);
  // Subdirectories (never "." or ".."), links to directories included.
  std::int32_t ListDirectories(char* directory);
  std::int32_t ListDirectories(char* directory, std::int32_t start);

  // The cursor: the files matching the pattern list, pattern after pattern,
  // each pattern's files in search order; or the subdirectories.
  bool FirstFile(char* directory);
  bool FirstFile(char* directory, const char* patterns);
  bool NextFile();
  bool FirstDirectory(char* directory);
  bool NextDirectory();
  const char* CurrentName() const { return current.name; }
  const char* CurrentDirectory() const { return current.directory; }
  const char* CurrentPath() const { return current.path; }
  const char* CurrentRelativePath() const;
  std::uint32_t CurrentSize() const { return current.size; }
  const DateTimeStamp* CurrentStamp() const { return &current.modified; }

  // Counts through the cursor; the sizes of the files counted are added to
  // totalSize. The tree count enters every subdirectory (filters apply to
  // the files only) but no directory link.
  std::int32_t CountFiles(char* directory);
  std::int32_t CountFiles(char* directory, const char* patterns);
  std::int32_t CountFilesInTree(char* directory);
  std::int32_t CountFilesInTree(char* directory, const char* patterns);
  std::int32_t CountDirectories(char* directory);

  // Tree walks on an empty listing: the files, the directories, or both, of
  // the whole tree below root, with each entry's level; reverseOrder swaps
  // the two orders each walk knows. baseDirectory is set to the root.
  std::int32_t ListTreeFiles(char* root);
  std::int32_t ListTreeFiles(char* root, const char* patterns);
  std::int32_t ListTreeDirectories(char* root);
  std::int32_t ListTree(char* root);
  std::int32_t ListTree(char* root, const char* patterns);
  // The recursive steps of the walks, for one directory.
  std::int32_t WalkFiles(char* directory, const char* patterns, std::int32_t start,
                         std::int32_t& level);
  std::int32_t WalkDirectories(char* directory, std::int32_t start, std::int32_t& level);
  std::int32_t WalkTree(char* directory, const char* patterns, std::int32_t start,
                        std::int32_t& level);

  RecordArray entries;
  double totalSize = 0;
  char baseDirectory[BASE_DIRECTORY_SIZE] = {};
  char patternSlots[PATTERN_SLOT_COUNT][PATTERN_SLOT_SIZE] = {};
  char cursorDirectory[CURSOR_DIRECTORY_SIZE] = {};
  // Settings, restored to these defaults by Reset.
  bool reverseOrder = false;
  std::int32_t sortMode = SORT_NONE;
  std::int32_t patternCount = 0;
  std::int32_t patternIndex = 0;
  std::uint32_t filterFlags = 0;
  // 0: every file found is listed; n > 0: at most n files per listing call.
  std::int32_t presetCount = 0;
  platform::FindHandle searchHandle = platform::kInvalidFind;
  platform::FindData findData = {};
  ListingEntry current = {};

 private:
  // Parses a pattern list into the slots; false (no patterns) when refused.
  bool ParsePatterns(const char* patterns);
  std::int32_t ListOne(char* directory, std::int32_t start, const char* pattern, std::int32_t level,
                       bool directories);
  bool PassesFileTest(const platform::FindData& found, const char* directory) const;
  bool PassesDirectoryTest(const platform::FindData& found, const char* directory) const;
  bool StartCursor(char* directory);
  bool StartPatternSearch();
  bool StepFiles(bool examineFound);
  void FillCurrent(bool directory);
};

}  // namespace utillib
