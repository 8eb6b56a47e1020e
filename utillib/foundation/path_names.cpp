#include "utillib/foundation/path_names.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace utillib {
namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

unsigned char UpperByte(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

void CopyPart(char* out, const char* text, std::size_t length) {
  std::memcpy(out, text, length);
  out[length] = '\0';
}

// The three parts of a path, each in a buffer of PATH_BUFFER_SIZE bytes.
struct PathParts {
  char directory[PATH_BUFFER_SIZE];
  char name[PATH_BUFFER_SIZE];
  char extension[PATH_BUFFER_SIZE];

  explicit PathParts(const char* path) { SplitPath(path, directory, name, extension); }
};

// Writes first, then the separator when asked for, then second. Parts of one
// path of less than PATH_BUFFER_SIZE characters always fit; anything longer
// is cut.
char* JoinParts(char (&result)[PATH_BUFFER_SIZE], const char* first, bool withSeparator,
                char separator, const char* second) {
  std::size_t used = strnlen(first, sizeof result - 1);
  std::memcpy(result, first, used);
  if (withSeparator && used < sizeof result - 1) result[used++] = separator;
  std::size_t length = strnlen(second, sizeof result - 1 - used);
  std::memcpy(result + used, second, length);
  result[used + length] = '\0';
  return result;
}

// Name, or name "." extension when the extension is not empty.
char* JoinNameAndExtension(char (&result)[PATH_BUFFER_SIZE], const char* path) {
  PathParts parts(path);
  return JoinParts(result, parts.name, parts.extension[0] != '\0', '.', parts.extension);
}

void* DefaultAllocate(std::size_t bytes) {
  return std::malloc(bytes);
}

ScratchAllocator scratchAllocator = DefaultAllocate;

// Length of the text that begins an entry: up to its terminator, or the
// whole width when it has none.
std::size_t TextLength(const char* entry, std::size_t width) {
  return strnlen(entry, width);
}

// Bytes that move with an entry's text: the text and its terminator.
std::size_t TextBytes(const char* entry, std::size_t width) {
  std::size_t length = TextLength(entry, width);
  return length < width ? length + 1 : width;
}

// Compares the upper-cased texts of two entries byte by byte, unsigned.
int CompareKeys(const char* first, const char* second, std::size_t width) {
  const auto* a = reinterpret_cast<const unsigned char*>(first);
  const auto* b = reinterpret_cast<const unsigned char*>(second);
  for (std::size_t k = 0; k < width; ++k) {
    unsigned char x = UpperByte(a[k]);
    unsigned char y = UpperByte(b[k]);
    if (x != y) return x < y ? -1 : 1;
    if (x == '\0') return 0;
  }
  return 0;
}

// Stable bottom-up merge sort of the entry indexes in order (n of them),
// with spare (n more) as the merge target.
void SortIndexes(const char* table, std::size_t width, std::size_t n, std::size_t* order,
                 std::size_t* spare) {
  for (std::size_t i = 0; i < n; ++i) order[i] = i;
  std::size_t* from = order;
  std::size_t* to = spare;
  for (std::size_t run = 1; run < n; run *= 2) {
    for (std::size_t low = 0; low < n; low += 2 * run) {
      std::size_t middle = low + run < n ? low + run : n;
      std::size_t high = middle + run < n ? middle + run : n;
      std::size_t i = low;
      std::size_t j = middle;
      std::size_t k = low;
      while (i < middle && j < high) {
        // Only a strictly smaller key from the right run goes first.
        if (CompareKeys(table + from[j] * width, table + from[i] * width, width) < 0) {
          to[k++] = from[j++];
        } else {
          to[k++] = from[i++];
        }
      }
      while (i < middle) to[k++] = from[i++];
      while (j < high) to[k++] = from[j++];
    }
    std::swap(from, to);
  }
  if (from != order) std::memcpy(order, from, n * sizeof *order);
}

// Moves the texts so that position p receives the text of entry order[p],
// following each cycle of the permutation with one held text. Every position
// is written once, so the bytes after its new text are its own.
void MoveTexts(char* table, std::size_t width, std::size_t n, std::size_t* order, char* held) {
  for (std::size_t start = 0; start < n; ++start) {
    if (order[start] == start) continue;
    std::size_t heldBytes = TextBytes(table + start * width, width);
    std::memcpy(held, table + start * width, heldBytes);
    std::size_t position = start;
    for (;;) {
      std::size_t source = order[position];
      order[position] = position;
      char* target = table + position * width;
      if (source == start) {
        std::memcpy(target, held, heldBytes);
        break;
      }
      const char* text = table + source * width;
      std::memcpy(target, text, TextBytes(text, width));
      position = source;
    }
  }
}

}  // namespace

int SplitPath(const char* path, char* directory, char* name, char* extension) {
  // Work on a copy, so that an output buffer may be the path itself.
  char work[PATH_BUFFER_SIZE];
  std::size_t length = path != nullptr ? strnlen(path, PATH_BUFFER_SIZE) : 0;
  if (length >= PATH_BUFFER_SIZE) {
    directory[0] = name[0] = extension[0] = '\0';
    return -1;
  }
  CopyPart(work, path != nullptr ? path : "", length);

  std::size_t tail = 0;  // start of the last component
  for (std::size_t i = length; i > 0; --i) {
    if (IsSeparator(work[i - 1])) {
      tail = i;
      break;
    }
  }
  std::size_t nameEnd = length;
  std::size_t extensionStart = length;
  for (std::size_t i = length; i > tail; --i) {
    if (work[i - 1] == '.') {
      nameEnd = i - 1;
      extensionStart = i;
      break;
    }
  }
  CopyPart(directory, work, tail > 0 ? tail - 1 : 0);
  CopyPart(name, work + tail, nameEnd - tail);
  CopyPart(extension, work + extensionStart, length - extensionStart);
  return 0;
}

char* PathDirectory(const char* path) {
  static char result[PATH_BUFFER_SIZE];
  PathParts parts(path);
  std::memcpy(result, parts.directory, sizeof result);
  return result;
}

char* PathFileName(const char* path) {
  static char result[PATH_BUFFER_SIZE];
  PathParts parts(path);
  std::memcpy(result, parts.name, sizeof result);
  return result;
}

char* PathExtension(const char* path) {
  static char result[PATH_BUFFER_SIZE];
  PathParts parts(path);
  std::memcpy(result, parts.extension, sizeof result);
  return result;
}

char* PathNameWithExtension(const char* path) {
  static char result[PATH_BUFFER_SIZE];
  return JoinNameAndExtension(result, path);
}

char* PathNameWithExtension2(const char* path) {
  static char result[PATH_BUFFER_SIZE];
  return JoinNameAndExtension(result, path);
}

char* PathWithoutExtension(const char* path) {
  static char result[PATH_BUFFER_SIZE];
  PathParts parts(path);
  return JoinParts(result, parts.directory, parts.directory[0] != '\0', '\\', parts.name);
}

char PathDriveLetter(const char* path) {
  // Only the first two characters decide, so no copy of the path is needed.
  if (path == nullptr || path[0] == '\0' || path[1] != ':') return '\0';
  return static_cast<char>(UpperByte(static_cast<unsigned char>(path[0])));
}

void EnsureRootBackslash(char* text) {
  if (text == nullptr || text[0] == '\0' || text[1] != ':' || text[2] != '\0') return;
  text[2] = '\\';
  text[3] = '\0';
}

char* FixedTableEntry(void* base, std::ptrdiff_t index, std::ptrdiff_t width) {
  return static_cast<char*>(base) + index * width;
}

const char* FixedTableEntry(const void* base, std::ptrdiff_t index, std::ptrdiff_t width) {
  return static_cast<const char*>(base) + index * width;
}

int SortFixedTable(void* base, std::ptrdiff_t count, std::ptrdiff_t width) {
  if (base == nullptr || count < 2 || width < 1) return 0;
  auto n = static_cast<std::size_t>(count);
  auto w = static_cast<std::size_t>(width);
  // Scratch: the sorted order, a merge target of the same size, and one text.
  if (n > (SIZE_MAX - w) / (2 * sizeof(std::size_t))) return -1;
  void* scratch = scratchAllocator(2 * n * sizeof(std::size_t) + w);
  if (scratch == nullptr) return -1;
  auto* order = static_cast<std::size_t*>(scratch);
  char* held = reinterpret_cast<char*>(order + 2 * n);
  char* table = static_cast<char*>(base);
  SortIndexes(table, w, n, order, order + n);
  MoveTexts(table, w, n, order, held);
  std::free(scratch);
  return 0;
}

ScratchAllocator SetSortScratchAllocator(ScratchAllocator allocator) {
  ScratchAllocator previous = scratchAllocator;
  scratchAllocator = allocator != nullptr ? allocator : DefaultAllocate;
  return previous;
}

char* FoldUpperKey(char* text) {
  static char result[FOLD_KEY_BUFFER_SIZE];
  if (text == nullptr) {
    result[0] = '\0';
    return result;
  }
  for (char* c = text; *c != '\0'; ++c)
    *c = static_cast<char>(UpperByte(static_cast<unsigned char>(*c)));
  std::size_t length = strnlen(text, FOLD_KEY_BUFFER_SIZE - 1);
  CopyPart(result, text, length);
  for (std::size_t i = 0; i < length; ++i) {
    switch (static_cast<unsigned char>(result[i])) {
      case 0xE4:  // ä
        result[i] = static_cast<char>(0xC4);
        break;
      case 0xF6:  // ö
        result[i] = static_cast<char>(0xD6);
        break;
      case 0xFC:  // ü
        result[i] = static_cast<char>(0xDC);
        break;
      default:
        break;
    }
  }
  return result;
}

}  // namespace utillib
