#include "utillib/listings/directory_listing.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "listing_support.h"
#include "platform/host.h"
#include "utillib/values/stamp_text.h"

namespace utillib {
namespace {

using testsupport::DirectoryText;
using testsupport::MakeDirectory;
using testsupport::MakeFile;
using testsupport::Names;

class Listing : public ::testing::Test {
 protected:
  std::string Dir() const { return dir.String(); }
  testsupport::TempDirectory dir;
  DirectoryListing listing;
};

TEST_F(Listing, ListsTheFilesOfADriveRootWithItsPathForm) {
  MakeFile(dir.Path() / "a.txt", "12345");
  MakeFile(dir.Path() / "b.doc", "123");
  MakeDirectory(dir.Path() / "sub");
  testsupport::TestMachine machine("[E:]\nroot = " + Dir() + "\n");
  DirectoryText drive("E:");
  listing.sortMode = SORT_BY_NAME;
  EXPECT_EQ(listing.ListFiles(drive), 2);
  EXPECT_STREQ(drive, "E:\\");
  EXPECT_EQ(Names(listing), "a.txt b.doc");
  EXPECT_STREQ(listing.EntryDirectory(0), "E:\\");
  EXPECT_STREQ(listing.EntryPath(0), "E:\\\\a.txt");
  EXPECT_EQ(listing.EntrySize(0), 5u);
  EXPECT_EQ(listing.Entry(0)->isDirectory, 0);
  EXPECT_EQ(listing.totalSize, 8.0);
  EXPECT_NE(listing.EntryStamp(0)->date.year, 0);
  // Out of range: empty texts, no entry.
  EXPECT_EQ(listing.Entry(2), nullptr);
  EXPECT_STREQ(listing.EntryPath(-1), "");
  EXPECT_EQ(listing.EntrySize(2), 0u);
}

TEST_F(Listing, AnEmptyDirectoryTextListsTheCurrentDirectory) {
  MakeFile(dir.Path() / "only.txt", "x");
  MakeFile(dir.Path() / "hidden.txt", "x");
  testsupport::KeepCurrentDirectory keep;
  std::filesystem::current_path(dir.Path());
  ASSERT_TRUE(platform::SetAttributes("hidden.txt", platform::kAttributeHidden));
  DirectoryText empty("");
  // The filter reads the attributes of the entry itself, in the current
  // directory.
  listing.filterFlags = SKIP_HIDDEN;
  EXPECT_EQ(listing.ListFiles(empty), 1);
  EXPECT_STREQ(listing.EntryPath(0), "only.txt");
  EXPECT_STREQ(listing.EntryName(0), "only.txt");
}

TEST_F(Listing, SortsFilesByEachKey) {
  if (platform::RunningUnderWine()) {
    GTEST_SKIP() << "under Wine the test's std::filesystem calls and the ANSI file calls disagree "
                    "on the name \\xE4.txt";
  }
  MakeFile(dir.Path() / "b.txt", "1234567890", 300);
  MakeFile(dir.Path() / "A.txt", "123456789", 100);
  MakeFile(dir.Path() / "\xE4.txt", "12", 200);  // ä in the ANSI code page
  MakeFile(dir.Path() / "abc", "123", 50);
  MakeFile(dir.Path() / "abc.txt", "", 400);
  MakeFile(dir.Path() / "z.doc", "1", 250);
  const std::pair<std::int32_t, const char*> cases[] = {
      {SORT_BY_NAME, "A.txt abc abc.txt b.txt z.doc \xE4.txt"},
      {77, "A.txt abc abc.txt b.txt z.doc \xE4.txt"},  // an unknown mode sorts by name
      {SORT_BY_EXTENSION, "abc z.doc A.txt abc.txt b.txt \xE4.txt"},
      {SORT_BY_DATE, "abc A.txt \xE4.txt z.doc b.txt abc.txt"},
      {SORT_BY_SIZE, "abc.txt z.doc \xE4.txt abc A.txt b.txt"},
  };
  for (const auto& [mode, expected] : cases) {
    SCOPED_TRACE(mode);
    listing.Reset();
    listing.sortMode = mode;
    DirectoryText text(Dir());
    EXPECT_EQ(listing.ListFiles(text), 6);
    EXPECT_EQ(Names(listing), expected);
  }
}

TEST_F(Listing, SortsSubdirectoriesByNameOrDate) {
#ifdef _WIN32
  GTEST_SKIP() << "std::filesystem cannot set a directory's time on Windows";
#endif
  MakeDirectory(dir.Path() / "new", 900);
  MakeDirectory(dir.Path() / "Old", 100);
  MakeDirectory(dir.Path() / "mid", 500);
  MakeFile(dir.Path() / "file.txt", "xyz");
  DirectoryText text(Dir());
  listing.totalSize = 99;
  listing.sortMode = SORT_BY_DATE;
  EXPECT_EQ(listing.ListDirectories(text), 3);
  EXPECT_EQ(Names(listing), "Old mid new");
  EXPECT_EQ(listing.totalSize, 0.0);
  EXPECT_EQ(listing.Entry(0)->isDirectory, 1);
  EXPECT_EQ(listing.EntrySize(0), 0u);
  listing.Reset();
  listing.sortMode = SORT_BY_SIZE;  // subdirectories: by name
  EXPECT_EQ(listing.ListDirectories(text), 3);
  EXPECT_EQ(Names(listing), "mid new Old");
}

// Names that differ only in letters the key does not fold give equal keys:
// every entry is listed exactly once, in search order.
TEST_F(Listing, EqualKeysLoseNoEntry) {
  MakeFile(dir.Path() / "same.txt", "1");
  MakeFile(dir.Path() / "SAME.txt", "1");
  MakeFile(dir.Path() / "Same.TXT", "1");
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    names.insert(entry.path().filename().string());
  }
  if (names.size() < 3) GTEST_SKIP() << "this file system folds the case of names";
  DirectoryText text(Dir());
  listing.ListFiles(text);
  std::string searchOrder = Names(listing);
  for (std::int32_t mode : {SORT_BY_NAME, SORT_BY_EXTENSION, SORT_BY_DATE, SORT_BY_SIZE}) {
    listing.Reset();
    listing.sortMode = mode;
    EXPECT_EQ(listing.ListFiles(text), 3);
    EXPECT_EQ(Names(listing), searchOrder) << mode;
  }
}

TEST_F(Listing, FiltersSkipHiddenSystemEmptyAndDotFiles) {
  if (platform::RunningUnderWine()) GTEST_SKIP() << "Wine reports dot-names as hidden";
  MakeFile(dir.Path() / "plain.txt", "x");
  MakeFile(dir.Path() / "hidden.txt", "x");
  MakeFile(dir.Path() / "system.txt", "x");
  MakeFile(dir.Path() / "empty.txt", "");
  MakeFile(dir.Path() / ".dot", "x");
  MakeDirectory(dir.Path() / "hiddendir");
  ASSERT_TRUE(platform::SetAttributes((dir.Path() / "hidden.txt").string().c_str(),
                                      platform::kAttributeHidden));
  ASSERT_TRUE(platform::SetAttributes((dir.Path() / "system.txt").string().c_str(),
                                      platform::kAttributeSystem));
  ASSERT_TRUE(platform::SetAttributes((dir.Path() / "hiddendir").string().c_str(),
                                      platform::kAttributeHidden));
  const std::pair<std::uint32_t, const char*> cases[] = {
      {0, ".dot empty.txt hidden.txt plain.txt system.txt"},
      {SKIP_HIDDEN, ".dot empty.txt plain.txt system.txt"},
      {SKIP_SYSTEM, ".dot empty.txt hidden.txt plain.txt"},
      {SKIP_EMPTY, ".dot hidden.txt plain.txt system.txt"},
      {SKIP_DOT_NAMES, "empty.txt hidden.txt plain.txt system.txt"},
      {SKIP_HIDDEN | SKIP_SYSTEM | SKIP_EMPTY | SKIP_DOT_NAMES, "plain.txt"},
  };
  DirectoryText text(Dir());
  for (const auto& [flags, expected] : cases) {
    listing.Reset();
    listing.sortMode = SORT_BY_NAME;
    listing.filterFlags = flags;
    listing.ListFiles(text);
    EXPECT_EQ(Names(listing), expected) << flags;
  }
  listing.Reset();
  listing.filterFlags = SKIP_HIDDEN | SKIP_EMPTY | SKIP_DOT_NAMES;
  EXPECT_EQ(listing.ListDirectories(text), 0);  // hidden; the other bits are for files
}

TEST_F(Listing, PatternListsGroupByPattern) {
  for (const char* name : {"a.txt", "b.doc", "c", "d.txt", "e.bak"}) MakeFile(dir.Path() / name);
  DirectoryText text(Dir());
  const std::pair<const char*, const char*> cases[] = {
      {"txt,,doc", "a.txt d.txt c b.doc"},
      {"", "a.txt b.doc c d.txt e.bak"},
      {",txt,", "c a.txt d.txt"},
      {"txt,txt", "a.txt d.txt a.txt d.txt"},
      {"nothing,bak", "e.bak"},
      {"123456789,b?k", "e.bak"},  // nine characters fit a slot
  };
  for (const auto& [patterns, expected] : cases) {
    listing.Reset();
    listing.sortMode = SORT_BY_NAME;
    listing.ListFilesMatching(text, patterns);
    std::string list = patterns;
    bool emptyPattern = list.find(",,") != std::string::npos || list.rfind(",", 0) == 0;
    if (platform::RunningUnderWine() && emptyPattern) {
      continue;  // Wine matches "*." against every name (skipped with that reason in
                 // platform_tests)
    }
    EXPECT_EQ(Names(listing), expected) << patterns;
  }
}

// A list that cannot be held whole is refused rather than cut: a cut
// pattern would match other files.
TEST_F(Listing, PatternListsBeyondTheSlotsAreRefused) {
  if (platform::RunningUnderWine()) {
    GTEST_SKIP() << "Wine's search finds a second match for the list of 100 patterns; not yet "
                    "explained";
  }
  MakeFile(dir.Path() / "a.txt");
  MakeFile(dir.Path() / "a.txtbackup1");
  DirectoryText text(Dir());
  std::string hundred;
  for (int i = 0; i < 99; ++i) hundred += "x,";
  EXPECT_EQ(listing.ListFilesMatching(text, (hundred + "txt").c_str()), 1);
  const std::string refused[] = {"txtbackup1", hundred + "x,txt", "..\\*", "txt,../*"};
  for (const auto& patterns : refused) {
    listing.Reset();
    EXPECT_EQ(listing.ListFilesMatching(text, patterns.c_str()), 0) << patterns;
    EXPECT_EQ(listing.Count(), 0);
    EXPECT_FALSE(listing.FirstFile(text, patterns.c_str()));
    EXPECT_EQ(listing.CountFiles(text, patterns.c_str()), 0);
  }
  EXPECT_EQ(listing.ListFiles(text, 0, "../*", 0), 0);
}

TEST_F(Listing, StartIndexCollectsSeveralListingsAndTotals) {
  testsupport::TempDirectory other;
  MakeFile(dir.Path() / "d1.txt", "12");
  MakeFile(other.Path() / "e1.txt", "123");
  MakeFile(other.Path() / "e2.txt", "1234");
  DirectoryText d(Dir());
  DirectoryText e(other.String());
  listing.sortMode = SORT_BY_NAME;
  EXPECT_EQ(listing.ListFiles(d, 0), 1);
  EXPECT_EQ(listing.ListFiles(e, listing.Count()), 2);
  EXPECT_EQ(Names(listing), "d1.txt e1.txt e2.txt");
  EXPECT_EQ(listing.totalSize, 9.0);
  listing.Reset();
  listing.ListFiles(d, 0);
  EXPECT_EQ(listing.totalSize, 2.0);  // start 0 restarts the total
  // presetCount bounds the entries of one call.
  listing.Reset();
  listing.presetCount = 1;
  EXPECT_EQ(listing.ListFiles(e), 1);
  EXPECT_EQ(listing.Count(), 1);
  listing.presetCount = -1;
  EXPECT_EQ(listing.ListFiles(e, listing.Count()), 0);
  listing.Reset();
  EXPECT_EQ(listing.sortMode, SORT_NONE);
  EXPECT_EQ(listing.presetCount, 0);
  EXPECT_EQ(listing.Count(), 0);
}

TEST_F(Listing, AMissingDirectoryListsNothing) {
  DirectoryText missing(Dir() + "/missing");
  listing.totalSize = 5;
  EXPECT_EQ(listing.ListFiles(missing), 0);
  EXPECT_EQ(listing.ListDirectories(missing), 0);
  EXPECT_EQ(listing.Count(), 0);
  EXPECT_EQ(listing.totalSize, 0.0);
  EXPECT_EQ(listing.ListFiles(nullptr), 0);
}

// A directory text too long for the entries' field is not listed: its
// entries would be stored with a cut directory and path.
TEST_F(Listing, ADirectoryTooLongForTheFieldListsNothing) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows' search refuses a search text of 260 characters or more";
#endif
  std::string base = Dir() + "/";
  std::string fits = base + std::string(DIRECTORY_FIELD_SIZE - 1 - base.size(), 'f');
  std::string longer = fits + "g";
  std::error_code error;
  std::filesystem::create_directories(fits, error);
  std::filesystem::create_directories(longer, error);
  if (error) GTEST_SKIP() << "this system refuses a directory path of 260 characters";
  MakeFile(fits + "/a.txt", "x");
  MakeFile(longer + "/a.txt", "x");
  DirectoryText fitting(fits);
  DirectoryText tooLong(longer);
  EXPECT_EQ(listing.ListFiles(fitting), 1);
  EXPECT_EQ(std::string(listing.EntryPath(0)), fits + "\\a.txt");
  EXPECT_EQ(listing.ListFiles(tooLong, listing.Count()), 0);
  EXPECT_EQ(listing.CountFiles(tooLong), 0);
  EXPECT_FALSE(listing.FirstFile(tooLong));
  EXPECT_EQ(listing.Count(), 1);
}

}  // namespace
}  // namespace utillib
