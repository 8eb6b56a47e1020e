#include "utillib/listings/directory_listing.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <string_view>
#include <vector>

#include "utillib/files/long_path.h"
#include "utillib/foundation/network_drives.h"
#include "utillib/foundation/path_names.h"
#include "utillib/listings/listing_support.h"
#include "utillib/values/stamp_text.h"

namespace utillib {

namespace listing {

void JoinEntryPath(char (&out)[PATH_FIELD_SIZE], const char* directory, const char* name) {
  if (directory[0] == '\0') {
    std::snprintf(out, sizeof out, "%s", name);
  } else {
    std::snprintf(out, sizeof out, "%s\\%s", directory, name);
  }
}

std::string SearchText(const char* directory, const char* pattern) {
  std::string text(directory);
  if (!text.empty() && text.back() != '\\' && text.back() != '/') text += '\\';
  text += "*.";
  text += pattern;
  return text;
}

void FillEntry(ListingEntry* entry, const char* directory, const platform::FindData& found,
               bool isDirectory, std::int32_t level) {
  std::memset(entry, 0, sizeof *entry);
  std::snprintf(entry->name, sizeof entry->name, "%s", found.name);
  std::snprintf(entry->directory, sizeof entry->directory, "%s", directory);
  JoinEntryPath(entry->path, entry->directory, entry->name);
  entry->size = isDirectory ? 0 : found.size;
  entry->isDirectory = isDirectory ? 1 : 0;
  entry->level = level;
  StampFromTime(&entry->modified, found.writeTime);
}

const char* RelativeTo(const char* path, const char* base) {
  if (base[0] == '\0') return path;
  std::size_t skip = std::strlen(base) + 1;
  std::size_t length = std::strlen(path);
  return skip <= length ? path + skip : path + length;
}

bool MayEnter(const char* path) {
  std::uint32_t attributes = GetFileAttributesLong(path);
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & platform::kAttributeDirectory) != 0 &&
         (attributes & platform::kAttributeReparsePoint) == 0;
}

}  // namespace listing

namespace {

const ListingEntry kEmptyEntry = {};

bool IsDots(const char* name) {
  return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

// One entry of a listing call before it is ordered: where its name lies in
// the names text, and what the search reported of it.
struct Found {
  std::uint32_t nameOffset;
  std::uint32_t size;
  std::int32_t writeTime;
};

enum class Key { None, A, E, D, S, N, DN };

Key FileKey(std::int32_t sortMode) {
  switch (sortMode) {
    case SORT_NONE:
      return Key::None;
    case SORT_BY_EXTENSION:
      return Key::E;
    case SORT_BY_DATE:
      return Key::D;
    case SORT_BY_SIZE:
      return Key::S;
    default:
      return Key::A;
  }
}

Key DirectoryKey(std::int32_t sortMode) {
  if (sortMode == SORT_NONE) return Key::None;
  return sortMode == SORT_BY_DATE ? Key::DN : Key::N;
}

// Appends the sort key of one entry to keys. The base name and extension
// come from the folded name; fixed widths make shorter texts sort first.
void AppendKey(std::string& keys, Key key, const char* name, std::uint32_t size,
               std::int32_t writeTime) {
  char work[NAME_FIELD_SIZE];
  std::snprintf(work, sizeof work, "%s", name);
  const char* folded = FoldUpperKey(work);
  char directory[PATH_BUFFER_SIZE];
  char base[PATH_BUFFER_SIZE];
  char extension[PATH_BUFFER_SIZE];
  SplitPath(folded, directory, base, extension);
  char stamp[16] = "";
  if (key == Key::D || key == Key::DN) {
    DateTimeStamp modified;
    StampFromTime(&modified, writeTime);
    std::snprintf(stamp, sizeof stamp, "%s", FormatStampCompact(modified));
  }
  // Names hold at most 259 characters: every key fits.
  char text[1024];
  int length = 0;
  switch (key) {
    case Key::A:
      length = std::snprintf(text, sizeof text, "%-255s %-8s", base, extension);
      break;
    case Key::E:
      length = std::snprintf(text, sizeof text, "%-8s %-255s", extension, base);
      break;
    case Key::D:
      length = std::snprintf(text, sizeof text, "%14s %-255s %-8s", stamp, base, extension);
      break;
    case Key::S:
      length = std::snprintf(text, sizeof text, "%010u %-255s %-8s", size, base, extension);
      break;
    case Key::N:
      length = std::snprintf(text, sizeof text, "%-255s", folded);
      break;
    case Key::DN:
      length = std::snprintf(text, sizeof text, "%14s %-255s", stamp, folded);
      break;
    case Key::None:
      break;
  }
  keys.append(text, static_cast<std::size_t>(std::clamp(length, 0, int{sizeof text} - 1)));
}

// The order of the entries found: by key ascending, equal keys in search
// order. Each key is built once.
std::vector<std::uint32_t> Order(const std::vector<Found>& found, const std::string& names,
                                 Key key) {
  std::vector<std::uint32_t> order(found.size());
  std::iota(order.begin(), order.end(), 0u);
  if (key == Key::None) return order;
  std::string keys;
  std::vector<std::uint32_t> starts;
  starts.reserve(found.size() + 1);
  for (const Found& entry : found) {
    starts.push_back(static_cast<std::uint32_t>(keys.size()));
    AppendKey(keys, key, names.c_str() + entry.nameOffset, entry.size, entry.writeTime);
  }
  starts.push_back(static_cast<std::uint32_t>(keys.size()));
  auto view = [&](std::uint32_t i) {
    return std::string_view(keys).substr(starts[i], starts[i + 1] - starts[i]);
  };
  std::stable_sort(order.begin(), order.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return view(a) < view(b); });
  return order;
}

}  // namespace

DirectoryListing::DirectoryListing() {
  Reset();
}

DirectoryListing::~DirectoryListing() = default;

void DirectoryListing::Reset() {
  CloseSearch();
  entries.Free();
  entries.SetWidth(ENTRY_WIDTH);
  totalSize = 0;
  reverseOrder = false;
  sortMode = SORT_NONE;
  filterFlags = 0;
  presetCount = 0;
}

void DirectoryListing::CloseSearch() {
  if (searchHandle != platform::kInvalidFind) platform::FindClose(searchHandle);
  searchHandle = platform::kInvalidFind;
}

ListingEntry* DirectoryListing::Entry(std::int32_t index) const {
  return reinterpret_cast<ListingEntry*>(entries.At(index));
}

const char* DirectoryListing::EntryName(std::int32_t index) const {
  const ListingEntry* entry = Entry(index);
  return entry != nullptr ? entry->name : kEmptyEntry.name;
}

const char* DirectoryListing::EntryDirectory(std::int32_t index) const {
  const ListingEntry* entry = Entry(index);
  return entry != nullptr ? entry->directory : kEmptyEntry.directory;
}

const char* DirectoryListing::EntryPath(std::int32_t index) const {
  const ListingEntry* entry = Entry(index);
  return entry != nullptr ? entry->path : kEmptyEntry.path;
}

const char* DirectoryListing::EntryRelativePath(std::int32_t index) const {
  return listing::RelativeTo(EntryPath(index), baseDirectory);
}

std::uint32_t DirectoryListing::EntrySize(std::int32_t index) const {
  const ListingEntry* entry = Entry(index);
  return entry != nullptr ? entry->size : 0;
}

const DateTimeStamp* DirectoryListing::EntryStamp(std::int32_t index) const {
  const ListingEntry* entry = Entry(index);
  return entry != nullptr ? &entry->modified : &kEmptyEntry.modified;
}

bool DirectoryListing::ParsePatterns(const char* patterns) {
  std::memset(patternSlots, 0, sizeof patternSlots);
  patternCount = 0;
  std::size_t used = 0;  // characters in the slot being filled
  for (const char* c = patterns != nullptr ? patterns : ""; *c != '\0'; ++c) {
    bool refused = static_cast<std::size_t>(patternCount) >= PATTERN_SLOT_COUNT;
    if (!refused && *c == ',') {
      ++patternCount;
      used = 0;
      continue;
    }
    refused = refused || *c == '\\' || *c == '/' || used + 1 >= PATTERN_SLOT_SIZE;
    if (refused) {
      std::memset(patternSlots, 0, sizeof patternSlots);
      patternCount = 0;
      return false;
    }
    patternSlots[patternCount][used++] = *c;
  }
  if (used > 0) ++patternCount;
  if (patternCount == 0) {
    patternSlots[0][0] = '*';
    patternCount = 1;
  }
  return true;
}

bool DirectoryListing::PassesFileTest(const platform::FindData& found,
                                      const char* directory) const {
  if ((found.attributes & platform::kAttributeDirectory) != 0) return false;
  if ((filterFlags & (SKIP_HIDDEN | SKIP_SYSTEM)) != 0) {
    // The entry's own path: with an empty directory that is the bare name in
    // the current directory.
    char path[PATH_FIELD_SIZE];
    listing::JoinEntryPath(path, directory, found.name);
    std::uint32_t attributes = GetFileAttributesLong(path);
    if ((filterFlags & SKIP_HIDDEN) != 0 && (attributes & platform::kAttributeHidden) != 0) {
      return false;
    }
    if ((filterFlags & SKIP_SYSTEM) != 0 && (attributes & platform::kAttributeSystem) != 0) {
      return false;
    }
  }
  if ((filterFlags & SKIP_EMPTY) != 0 && found.size == 0) return false;
  if ((filterFlags & SKIP_DOT_NAMES) != 0 && found.name[0] == '.') return false;
  return true;
}

bool DirectoryListing::PassesDirectoryTest(const platform::FindData& found,
                                           const char* directory) const {
  if ((found.attributes & platform::kAttributeDirectory) == 0 || IsDots(found.name)) return false;
  if ((filterFlags & (SKIP_HIDDEN | SKIP_SYSTEM)) != 0) {
    char path[PATH_FIELD_SIZE];
    listing::JoinEntryPath(path, directory, found.name);
    std::uint32_t attributes = GetFileAttributesLong(path);
    if ((filterFlags & SKIP_HIDDEN) != 0 && (attributes & platform::kAttributeHidden) != 0) {
      return false;
    }
    if ((filterFlags & SKIP_SYSTEM) != 0 && (attributes & platform::kAttributeSystem) != 0) {
      return false;
    }
  }
  return true;
}

std::int32_t DirectoryListing::ListOne(char* directory, std::int32_t start, const char* pattern,
                                       std::int32_t level, bool directories) {
  if (directory == nullptr) return 0;
  EnsureRootBackslash(directory);
  if (start == 0) totalSize = 0;
  if (listing::DirectoryLength(directory) == DIRECTORY_FIELD_SIZE) return 0;
  if (pattern == nullptr || std::strpbrk(pattern, "\\/") != nullptr) return 0;
  // At most presetCount files; a negative count prepares nothing.
  std::int64_t limit = INT32_MAX;
  if (!directories && presetCount != 0) limit = presetCount;
  if (limit <= 0) return 0;

  // One read of the directory: the entries that pass the test, in search
  // order. A search that finds nothing reconnects a network drive first.
  std::string text = listing::SearchText(directory, pattern);
  platform::FindScope scope =
      directories ? platform::FindScope::Directories : platform::FindScope::All;
  std::vector<Found> found;
  std::string names;
  platform::FindData data;
  platform::FindHandle search = FindFirstReconnecting(text.c_str(), &data, scope);
  if (search != platform::kInvalidFind) {
    do {
      bool passes =
          directories ? PassesDirectoryTest(data, directory) : PassesFileTest(data, directory);
      if (!passes) continue;
      found.push_back({static_cast<std::uint32_t>(names.size()), data.size, data.writeTime});
      names.append(data.name, std::strlen(data.name) + 1);
    } while (static_cast<std::int64_t>(found.size()) < limit && platform::FindNext(search, &data));
    platform::FindClose(search);
  }

  auto n = static_cast<std::int32_t>(found.size());
  if (!directories) {
    for (const Found& entry : found) totalSize += entry.size;
  }
  if (n == 0 || !entries.Grow(n, ENTRY_WIDTH)) return n;
  std::vector<std::uint32_t> order =
      Order(found, names, directories ? DirectoryKey(sortMode) : FileKey(sortMode));
  for (std::int32_t i = 0; i < n; ++i) {
    ListingEntry* entry = Entry(start + i);
    if (entry == nullptr) continue;
    const Found& source = found[order[static_cast<std::size_t>(i)]];
    platform::FindData record = {};
    std::snprintf(record.name, sizeof record.name, "%s", names.c_str() + source.nameOffset);
    record.size = source.size;
    record.writeTime = source.writeTime;
    listing::FillEntry(entry, directory, record, directories, directories ? 0 : level);
  }
  return n;
}

std::int32_t DirectoryListing::ListFiles(char* directory) {
  return ListOne(directory, 0, "*", 0, false);
}

std::int32_t DirectoryListing::ListFiles(char* directory, std::int32_t start) {
  return ListOne(directory, start, "*", 0, false);
}

std::int32_t DirectoryListing::ListFiles(char* directory, std::int32_t start, const char* pattern,
                                         std::int32_t level) {
  return ListOne(directory, start, pattern, level, false);
}

std::int32_t DirectoryListing::ListFilesMatching(char* directory, const char* patterns) {
  return ListFilesMatching(directory, patterns, 0, 0);
}

std::int32_t DirectoryListing::ListFilesMatching(char* directory, const char* patterns,
                                                 std::int32_t start) {
  return ListFilesMatching(directory, patterns, start, 0);
}

std::int32_t DirectoryListing::ListFilesMatching(char* directory, const char* patterns,
                                                 std::int32_t start, std::int32_t level) {
  if (!ParsePatterns(patterns)) {
    if (directory != nullptr) EnsureRootBackslash(directory);
    if (start == 0) totalSize = 0;
    return 0;
  }
  std::int32_t sum = 0;
  for (std::int32_t slot = 0; slot < patternCount; ++slot) {
    sum += ListOne(directory, start + sum, patternSlots[slot], level, false);
  }
  return sum;
}

std::int32_t DirectoryListing::ListDirectories(char* directory) {
  return ListOne(directory, 0, "*", 0, true);
}

std::int32_t DirectoryListing::ListDirectories(char* directory, std::int32_t start) {
  return ListOne(directory, start, "*", 0, true);
}

}  // namespace utillib
