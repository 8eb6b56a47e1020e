#include "utillib/foundation/path_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace utillib {
namespace {

struct SplitCase {
  const char* path;
  const char* directory;
  const char* name;
  const char* extension;
};

TEST(SplitPath, CutsDirectoryNameAndExtension) {
  const SplitCase cases[] = {
      {"C:\\DATA\\report.txt", "C:\\DATA", "report", "txt"},
      {"C:\\report.txt", "C:", "report", "txt"},
      {"report.txt", "", "report", "txt"},
      {"C:report.txt", "", "C:report", "txt"},
      {"C:\\DIR.X\\file", "C:\\DIR.X", "file", ""},
      {"C:\\DATA\\", "C:\\DATA", "", ""},
      {"archive.tar.", "", "archive.tar", ""},
      {".profile", "", "", "profile"},
      {"a/b.c", "a", "b", "c"},
      {"", "", "", ""},
      {"C:/x\\y/z.tar.gz", "C:/x\\y", "z.tar", "gz"},
      {"\\\\server\\share\\f", "\\\\server\\share", "f", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    char directory[PATH_BUFFER_SIZE];
    char name[PATH_BUFFER_SIZE];
    char extension[PATH_BUFFER_SIZE];
    EXPECT_EQ(SplitPath(c.path, directory, name, extension), 0);
    EXPECT_STREQ(directory, c.directory);
    EXPECT_STREQ(name, c.name);
    EXPECT_STREQ(extension, c.extension);
  }
}

struct PartsCase {
  const char* path;
  const char* nameWithExtension;
  const char* withoutExtension;
};

TEST(PathParts, RecombineTheParts) {
  const PartsCase cases[] = {
      {"C:\\DATA\\report.txt", "report.txt", "C:\\DATA\\report"},
      {"archive.tar.", "archive.tar", "archive.tar"},
      {"\\report.txt", "report.txt", "report"},
      {"a/b.c", "b.c", "a\\b"},
      {"C:\\DATA\\", "", "C:\\DATA\\"},
      {".profile", ".profile", ""},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_STREQ(PathNameWithExtension(c.path), c.nameWithExtension);
    EXPECT_STREQ(PathNameWithExtension2(c.path), c.nameWithExtension);
    EXPECT_STREQ(PathWithoutExtension(c.path), c.withoutExtension);
  }
  EXPECT_STREQ(PathDirectory("C:\\DIR.X\\file"), "C:\\DIR.X");
  EXPECT_STREQ(PathFileName("C:\\DIR.X\\file.txt"), "file");
  EXPECT_STREQ(PathExtension("C:\\DIR.X\\file.txt"), "txt");
}

TEST(PathParts, EachOperationOwnsOneStaticBuffer) {
  char* first = PathDirectory("C:\\one\\a.txt");
  char* second = PathDirectory("D:\\two\\b.txt");
  EXPECT_EQ(first, second);
  EXPECT_STREQ(first, "D:\\two");

  char* name = PathNameWithExtension("C:\\x\\first.txt");
  char* name2 = PathNameWithExtension2("C:\\x\\second.txt");
  EXPECT_NE(name, name2);
  EXPECT_STREQ(name, "first.txt");
  EXPECT_STREQ(name2, "second.txt");

  const std::vector<char*> results = {PathDirectory("a"),          PathFileName("a"),
                                      PathExtension("a"),          PathNameWithExtension("a"),
                                      PathNameWithExtension2("a"), PathWithoutExtension("a")};
  for (std::size_t i = 0; i < results.size(); ++i) {
    for (std::size_t j = i + 1; j < results.size(); ++j) EXPECT_NE(results[i], results[j]);
  }
}

TEST(SplitPath, OutputMayBeThePathItself) {
  char path[PATH_BUFFER_SIZE] = "C:\\DATA\\report.txt";
  char name[PATH_BUFFER_SIZE];
  char extension[PATH_BUFFER_SIZE];
  SplitPath(path, path, name, extension);
  EXPECT_STREQ(path, "C:\\DATA");
  EXPECT_STREQ(name, "report");
  EXPECT_STREQ(extension, "txt");
}

TEST(SplitPath, PathOfBufferSizeOrMoreIsRejected) {
  char directory[PATH_BUFFER_SIZE];
  char name[PATH_BUFFER_SIZE];
  char extension[PATH_BUFFER_SIZE];

  // 599 characters: the longest path, every part still whole.
  std::string longest = "C:\\" + std::string(PATH_BUFFER_SIZE - 1 - 3 - 5, 'd') + "\\f.tx";
  ASSERT_EQ(longest.size(), PATH_BUFFER_SIZE - 1);
  EXPECT_EQ(SplitPath(longest.c_str(), directory, name, extension), 0);
  EXPECT_EQ(std::strlen(directory), PATH_BUFFER_SIZE - 1 - 5);
  EXPECT_STREQ(name, "f");
  EXPECT_STREQ(extension, "tx");
  EXPECT_EQ(std::string(PathWithoutExtension(longest.c_str())), longest.substr(0, 596));

  for (std::size_t length : {PATH_BUFFER_SIZE, PATH_BUFFER_SIZE + 1, 5 * PATH_BUFFER_SIZE}) {
    SCOPED_TRACE(length);
    std::string tooLong = "C:\\" + std::string(length - 10, 'd') + "\\file.x";
    ASSERT_EQ(tooLong.size(), length);
    EXPECT_EQ(SplitPath(tooLong.c_str(), directory, name, extension), -1);
    EXPECT_STREQ(directory, "");
    EXPECT_STREQ(name, "");
    EXPECT_STREQ(extension, "");
    EXPECT_STREQ(PathFileName(tooLong.c_str()), "");
    EXPECT_STREQ(PathWithoutExtension(tooLong.c_str()), "");
    EXPECT_STREQ(PathNameWithExtension(tooLong.c_str()), "");
  }
}

TEST(PathDriveLetter, UpperCaseLetterBeforeAColon) {
  const struct {
    const char* path;
    char letter;
  } cases[] = {{"e:\\x", 'E'}, {"C:", 'C'}, {"Z:rel", 'Z'}, {"\\\\server", '\0'},
               {"", '\0'},     {"C", '\0'}, {"/:x", '/'},   {"CD:", '\0'}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(PathDriveLetter(c.path), c.letter);
  }
}

TEST(EnsureRootBackslash, AppendsToBareDriveSpecificationInPlace) {
  const struct {
    const char* text;
    const char* result;
  } cases[] = {{"C:", "C:\\"}, {"x:", "x:\\"}, {"?:", "?:\\"}, {"C:\\", "C:\\"},
               {"CD", "CD"},   {"C:x", "C:x"}, {"", ""},       {"C", "C"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    char buffer[8];
    std::memset(buffer, 'y', sizeof buffer);
    std::strcpy(buffer, c.text);
    EnsureRootBackslash(buffer);
    EXPECT_STREQ(buffer, c.result);
  }
}

TEST(FixedTableEntry, AddressesEntriesByIndexAndWidth) {
  char table[40];
  EXPECT_EQ(FixedTableEntry(table, 3, 10), table + 30);
  EXPECT_EQ(FixedTableEntry(table + 30, -2, 10), table + 10);
  const char* constant = table;
  EXPECT_EQ(FixedTableEntry(constant, 1, 7), table + 7);
}

// A table of count entries of width bytes, each filled with filler before its
// text is written.
std::vector<char> MakeTable(const std::vector<std::string>& texts, std::size_t width,
                            char filler = '#') {
  std::vector<char> table(texts.size() * width, filler);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    std::size_t bytes = std::min(texts[i].size() + 1, width);
    std::memcpy(table.data() + i * width, texts[i].c_str(), bytes);
  }
  return table;
}

std::vector<std::string> Texts(const std::vector<char>& table, std::size_t width) {
  std::vector<std::string> texts;
  for (std::size_t offset = 0; offset < table.size(); offset += width) {
    texts.emplace_back(table.data() + offset, strnlen(table.data() + offset, width));
  }
  return texts;
}

TEST(SortFixedTable, SortsByUpperCasedTextKeepingCaseAndOrderOfEqualKeys) {
  const struct {
    std::vector<std::string> input;
    std::vector<std::string> sorted;
  } cases[] = {
      {{}, {}},
      {{"only"}, {"only"}},
      {{"pear", "Apple", "banana"}, {"Apple", "banana", "pear"}},
      // Equal keys keep their order, also when a smaller key lies beyond them.
      {{"x", "X", "a"}, {"a", "x", "X"}},
      {{"b", "A", "a", "B"}, {"A", "a", "b", "B"}},
      // Shorter text first; '_' (0x5F) sorts after the upper-cased letters.
      {{"ab", "a", "a_", "aB"}, {"a", "ab", "aB", "a_"}},
      // Bytes compare unsigned: umlauts after every ASCII letter, not folded.
      {{"\xE4rger", "zebra", "\xC4RA"}, {"zebra", "\xC4RA", "\xE4rger"}},
  };
  for (const auto& c : cases) {
    std::vector<char> table = MakeTable(c.input, 12);
    EXPECT_EQ(SortFixedTable(table.data(), static_cast<std::ptrdiff_t>(c.input.size()), 12), 0);
    EXPECT_EQ(Texts(table, 12), c.sorted);
  }
}

TEST(SortFixedTable, MovesOnlyTextsWithinTheirWidth) {
  // Width 6: the bytes after each terminator stay with their position; a text
  // filling the whole width has no terminator and moves whole.
  std::vector<char> table = {'c', 'c',  'c', '\0', 'P', 'P',  //
                             'a', '\0', 'Q', 'Q',  'Q', 'Q',  //
                             'b', 'b',  'b', 'b',  'b', 'b'};
  const std::vector<char> expected = {'a', '\0', 'c', '\0', 'P', 'P',  //
                                      'b', 'b',  'b', 'b',  'b', 'b',  //
                                      'c', 'c',  'c', '\0', 'b', 'b'};
  EXPECT_EQ(SortFixedTable(table.data(), 3, 6), 0);
  EXPECT_EQ(table, expected);
}

TEST(SortFixedTable, MatchesAStableSortOnALargeTable) {
  const std::size_t width = 9;
  const std::size_t count = 5000;
  std::mt19937 random(7);
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < count; ++i) {
    std::string text;
    std::size_t length = random() % width;  // up to the whole width
    for (std::size_t k = 0; k < length; ++k) text += "aAbB_\xFC"[random() % 6];
    texts.push_back(text);
  }
  std::vector<char> table = MakeTable(texts, width);
  auto key = [](std::string text) {
    for (char& c : text) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return std::vector<unsigned char>(text.begin(), text.end());
  };
  std::stable_sort(texts.begin(), texts.end(),
                   [&](const std::string& a, const std::string& b) { return key(a) < key(b); });
  EXPECT_EQ(SortFixedTable(table.data(), count, width), 0);
  EXPECT_EQ(Texts(table, width), texts);
}

TEST(SortFixedTable, LeavesTableUnsortedWithoutScratchMemory) {
  std::vector<char> table = MakeTable({"b", "a"}, 4);
  const std::vector<char> before = table;
  ScratchAllocator previous = SetSortScratchAllocator([](std::size_t) -> void* { return nullptr; });
  int result = SortFixedTable(table.data(), 2, 4);
  SetSortScratchAllocator(previous);
  EXPECT_EQ(result, -1);
  EXPECT_EQ(table, before);
  // Nothing to sort needs no scratch memory.
  EXPECT_EQ(SortFixedTable(table.data(), 2, 0), 0);
  EXPECT_EQ(SortFixedTable(table.data(), 2, 4), 0);
  EXPECT_EQ(Texts(table, 4), (std::vector<std::string>{"a", "b"}));
}

TEST(FoldUpperKey, FoldsUmlautsInTheKeyAndUpperCasesTheCallersText) {
  char text[] = "M\xFCller \xE4\xF6\xFC\xDF \xC4x";
  const char* key = FoldUpperKey(text);
  EXPECT_STREQ(key, "M\xDCLLER \xC4\xD6\xDC\xDF \xC4X");
  EXPECT_STREQ(text, "M\xFCLLER \xE4\xF6\xFC\xDF \xC4X");
  char other[] = "b";
  EXPECT_EQ(FoldUpperKey(other), key);
  EXPECT_STREQ(key, "B");
}

TEST(FoldUpperKey, CutsTextLongerThanItsBuffer) {
  std::string text(FOLD_KEY_BUFFER_SIZE + 500, 'a');
  text[FOLD_KEY_BUFFER_SIZE - 2] = '\xFC';
  const char* key = FoldUpperKey(text.data());
  ASSERT_EQ(std::strlen(key), FOLD_KEY_BUFFER_SIZE - 1);
  EXPECT_EQ(key[FOLD_KEY_BUFFER_SIZE - 2], '\xDC');
  EXPECT_EQ(key[0], 'A');
  // The caller's text is upper-cased whole.
  EXPECT_EQ(text.find('a'), std::string::npos);
}

}  // namespace
}  // namespace utillib
