// Path names: splitting a path into directory, base name and extension, the
// single parts in static buffers, drive letters, root directories, and tables
// of fixed-width entries sorted by their text.
//
// Paths are zero-terminated Windows-1252 texts; both the backslash and the
// forward slash separate components. A path holds at most
// PATH_BUFFER_SIZE - 1 characters; a longer one is rejected: all its parts are
// empty.
//
// The part operations and FoldUpperKey return the address of a static buffer
// of their own, which the next call of the same operation overwrites.
#pragma once

#include <cstddef>

namespace utillib {

// Size of SplitPath's working buffers and of each part operation's result.
inline constexpr std::size_t PATH_BUFFER_SIZE = 600;
// Size of FoldUpperKey's result; a longer text is cut to one byte less.
inline constexpr std::size_t FOLD_KEY_BUFFER_SIZE = 3000;

// Cuts path into its directory (the text before the last separator), its base
// name and its extension (the text after the last dot of the last
// component). Each output buffer must hold the whole path. Returns 0, or -1
// when the path has PATH_BUFFER_SIZE characters or more (all parts empty).
int SplitPath(const char* path, char* directory, char* name, char* extension);

// Directory part.
char* PathDirectory(const char* path);
// Base name without directory and extension.
char* PathFileName(const char* path);
// Extension without the dot.
char* PathExtension(const char* path);
// Name, dot, extension; the name alone when the extension is empty.
char* PathNameWithExtension(const char* path);
// The same in a buffer of its own, so that two results can be held at once.
char* PathNameWithExtension2(const char* path);
// Directory, backslash, name; the name alone when the directory is empty.
char* PathWithoutExtension(const char* path);

// Upper-case drive letter of a path that has a colon in second place, or the
// zero character. The first character is not checked to be a letter.
char PathDriveLetter(const char* path);

// Appends a backslash in place to a text of exactly two characters whose
// second is a colon ("C:" becomes "C:\"). The buffer must have room for it.
void EnsureRootBackslash(char* text);

// Entry index of a table of entries width bytes wide: base + index * width.
char* FixedTableEntry(void* base, std::ptrdiff_t index, std::ptrdiff_t width);
const char* FixedTableEntry(const void* base, std::ptrdiff_t index, std::ptrdiff_t width);

// Sorts count entries of width bytes, each beginning with a zero-terminated
// text (or filling the whole width), ascending by the text with the letters
// a to z upper-cased, compared byte by byte as unsigned values. Entries with
// equal keys keep their order. Only the texts move, up to and including their
// terminators; the bytes after a text's terminator stay with the position.
// Returns 0, or -1 when the scratch memory cannot be had (table unchanged).
int SortFixedTable(void* base, std::ptrdiff_t count, std::ptrdiff_t width);

// Where SortFixedTable takes its scratch memory: a block of the given size
// that std::free releases, or null. nullptr restores std::malloc. Returns the
// allocator in use before. Tests install one that fails.
using ScratchAllocator = void* (*)(std::size_t bytes);
ScratchAllocator SetSortScratchAllocator(ScratchAllocator allocator);

// Upper-cases text in place (letters a to z), copies it into the static
// result (cut to FOLD_KEY_BUFFER_SIZE - 1 characters) and there folds the
// umlauts ä, ö, ü to Ä, Ö, Ü. Returns the static result.
char* FoldUpperKey(char* text);

}  // namespace utillib
