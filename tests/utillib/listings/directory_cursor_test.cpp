#include <gtest/gtest.h>

#include <string>

#include "listing_support.h"
#include "platform/host.h"
#include "utillib/listings/directory_listing.h"

namespace utillib {
namespace {

using testsupport::DirectoryText;
using testsupport::MakeDirectory;
using testsupport::MakeFile;

class Cursor : public ::testing::Test {
 protected:
  // The names the file cursor yields, in order.
  std::string Walk(const std::string& directory, const char* patterns) {
    DirectoryText text(directory);
    std::string names;
    if (listing.FirstFile(text, patterns)) {
      do {
        names += std::string(names.empty() ? "" : " ") + listing.CurrentName();
      } while (listing.NextFile());
    }
    return names;
  }
  testsupport::TempDirectory dir;
  DirectoryListing listing;
};

TEST_F(Cursor, StepsPatternByPattern) {
  MakeFile(dir.Path() / "a.txt", "1");
  MakeFile(dir.Path() / "b.doc", "22");
  MakeFile(dir.Path() / "c.bak", "333");
  MakeDirectory(dir.Path() / "sub.txt");
  EXPECT_EQ(Walk(dir.String(), "txt,xyz,doc"), "a.txt b.doc");
  EXPECT_FALSE(listing.NextFile());  // stays at the end
  EXPECT_FALSE(listing.NextFile());
  EXPECT_EQ(listing.searchHandle, platform::kInvalidFind);
  EXPECT_EQ(Walk(dir.String(), "doc,doc"), "b.doc b.doc");

  DirectoryText text(dir.String());
  ASSERT_TRUE(listing.FirstFile(text, "txt"));
  EXPECT_EQ(std::string(listing.CurrentPath()), dir.String() + "\\a.txt");
  EXPECT_STREQ(listing.CurrentRelativePath(), "a.txt");
  EXPECT_EQ(std::string(listing.CurrentDirectory()), dir.String());
  EXPECT_EQ(listing.CurrentSize(), 1u);
  EXPECT_NE(listing.CurrentStamp()->date.year, 0);
  EXPECT_EQ(listing.Count(), 0);  // the cursor never touches the entries
  listing.CloseSearch();
}

TEST_F(Cursor, FindsNothingInADirectoryWithoutFiles) {
  MakeDirectory(dir.Path() / "only");
  DirectoryText text(dir.String());
  listing.totalSize = 7;
  EXPECT_FALSE(listing.FirstFile(text));
  EXPECT_EQ(listing.CountFiles(text), 0);
  EXPECT_EQ(listing.totalSize, 7.0);
  DirectoryText only((dir.Path() / "only").string());
  EXPECT_FALSE(listing.FirstDirectory(only));
  EXPECT_EQ(listing.CountDirectories(only), 0);
}

TEST_F(Cursor, CountsFilesAndAddsTheirSizes) {
  MakeFile(dir.Path() / "a.txt", "1234");
  MakeFile(dir.Path() / "b.txt", "12");
  MakeFile(dir.Path() / "c.doc", "1");
  DirectoryText text(dir.String());
  EXPECT_EQ(listing.CountFiles(text), 3);
  EXPECT_EQ(listing.totalSize, 7.0);
  EXPECT_EQ(listing.CountFiles(text), 3);
  EXPECT_EQ(listing.totalSize, 14.0);
  EXPECT_EQ(listing.searchHandle, platform::kInvalidFind);
  if (platform::RunningUnderWine())
    GTEST_SKIP() << "Wine matches the pattern \"*.\" against every name";
  EXPECT_EQ(listing.CountFiles(text, "doc,,txt"), 3);
}

TEST_F(Cursor, StepsThroughSubdirectoriesWithoutDots) {
  MakeDirectory(dir.Path() / "one");
  MakeDirectory(dir.Path() / "two");
  MakeFile(dir.Path() / "file.txt");
  DirectoryText text(dir.String());
  std::string names;
  ASSERT_TRUE(listing.FirstDirectory(text));
  do {
    EXPECT_EQ(listing.current.isDirectory, 1);
    names += listing.CurrentName();
  } while (listing.NextDirectory());
  listing.CloseSearch();
  EXPECT_TRUE(names == "onetwo" || names == "twoone") << names;
  EXPECT_EQ(listing.CountDirectories(text), 2);
}

TEST_F(Cursor, CountsATreeWithFiltersOnFilesOnly) {
  MakeFile(dir.Path() / "a" / "one.txt", "1");
  MakeFile(dir.Path() / "a" / "b" / "two.txt", "22");
  MakeFile(dir.Path() / "a" / "b" / "hidden.txt", "333");
  MakeFile(dir.Path() / "secret" / "three.txt", "4444");
  ASSERT_TRUE(platform::SetAttributes((dir.Path() / "a" / "b" / "hidden.txt").string().c_str(),
                                      platform::kAttributeHidden));
  ASSERT_TRUE(platform::SetAttributes((dir.Path() / "secret").string().c_str(),
                                      platform::kAttributeHidden));
  DirectoryText text(dir.String());
  EXPECT_EQ(listing.CountFilesInTree(text), 4);
  EXPECT_EQ(listing.totalSize, 10.0);
  listing.Reset();
  listing.filterFlags = SKIP_HIDDEN;
  EXPECT_EQ(listing.CountFilesInTree(text), 3);  // the hidden directory is entered
  EXPECT_EQ(listing.totalSize, 7.0);
  EXPECT_EQ(listing.CountFilesInTree(text, "doc"), 0);
}

}  // namespace
}  // namespace utillib
