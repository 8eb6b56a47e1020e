#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "listing_support.h"
#include "utillib/listings/directory_listing.h"

namespace utillib {
namespace {

using testsupport::DirectoryText;
using testsupport::MakeDirectory;
using testsupport::MakeFile;
using testsupport::Tree;

namespace fs = std::filesystem;

class Walks : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeFile(dir.Path() / "a", "1");
    MakeFile(dir.Path() / "b", "22");
    MakeFile(dir.Path() / "s" / "c", "333");
  }
  // A fresh listing's walk with the files of each directory by name.
  std::string Run(std::int32_t (DirectoryListing::*walk)(char*), bool reverse) {
    listing.Reset();
    listing.sortMode = SORT_BY_NAME;
    listing.reverseOrder = reverse;
    DirectoryText root(dir.String());
    std::int32_t count = (listing.*walk)(root);
    EXPECT_EQ(count, listing.Count());
    return Tree(listing);
  }
  testsupport::TempDirectory dir;
  DirectoryListing listing;
};

TEST_F(Walks, ListTreeFilesInBothOrders) {
  EXPECT_EQ(Run(&DirectoryListing::ListTreeFiles, false), "s/c:1 a:0 b:0");
  EXPECT_EQ(listing.totalSize, 6.0);
  EXPECT_EQ(Run(&DirectoryListing::ListTreeFiles, true), "a:0 b:0 s/c:1");
  EXPECT_EQ(std::string(listing.baseDirectory), dir.String());
}

TEST_F(Walks, ListTreeInBothOrders) {
  EXPECT_EQ(Run(&DirectoryListing::ListTree, false), "s:0 s/c:1 a:0 b:0");
  EXPECT_EQ(listing.Entry(0)->isDirectory, 1);
  EXPECT_EQ(Run(&DirectoryListing::ListTree, true), "a:0 b:0 s:0 s/c:1");
}

TEST_F(Walks, ListTreeDirectoriesParentsFirstOrLast) {
  MakeDirectory(dir.Path() / "s" / "t");
  EXPECT_EQ(Run(&DirectoryListing::ListTreeDirectories, false), "s:0 s/t:1");
  EXPECT_EQ(Run(&DirectoryListing::ListTreeDirectories, true), "s/t:1 s:0");
}

TEST_F(Walks, PatternListsPerDirectoryAndDriveRoots) {
  MakeFile(dir.Path() / "s" / "x.txt");
  MakeFile(dir.Path() / "s" / "y.doc");
  MakeFile(dir.Path() / "z.doc");
  testsupport::TestMachine machine("[E:]\nroot = " + dir.String() + "\n");
  DirectoryText root("E:");
  listing.sortMode = SORT_BY_NAME;
  EXPECT_EQ(listing.ListTreeFiles(root, "txt,doc"), 3);
  EXPECT_STREQ(root, "E:\\");
  EXPECT_EQ(Tree(listing), "s/x.txt:1 s/y.doc:1 z.doc:0");
  EXPECT_STREQ(listing.EntryPath(2), "E:\\\\z.doc");
}

TEST_F(Walks, AnEmptyOrMissingRootGivesNothing) {
  testsupport::TempDirectory empty;
  for (const std::string& root : {empty.String(), empty.String() + "/missing"}) {
    DirectoryText text(root);
    listing.Reset();
    EXPECT_EQ(listing.ListTree(text), 0);
    EXPECT_EQ(listing.ListTreeDirectories(text), 0);
    EXPECT_EQ(listing.Count(), 0);
  }
}

// Links to directories are listed as entries but never entered: a link out
// of the tree reaches nothing outside it and a link back to the root does
// not make the walk endless.
TEST_F(Walks, DirectoryLinksAreNeverFollowed) {
  testsupport::TempDirectory outside;
  MakeFile(outside.Path() / "secret.txt", "outside");
  std::error_code error;
  fs::create_directory_symlink(outside.Path(), dir.Path() / "s" / "out", error);
  fs::create_directory_symlink(dir.Path(), dir.Path() / "s" / "loop", error);
  if (error) GTEST_SKIP() << "this system does not let the test make a directory link";
  EXPECT_EQ(Run(&DirectoryListing::ListTreeFiles, false), "s/c:1 a:0 b:0");
  std::string directories = Run(&DirectoryListing::ListTreeDirectories, false);
  EXPECT_NE(directories.find("s/out:1"), std::string::npos) << directories;
  EXPECT_NE(directories.find("s/loop:1"), std::string::npos) << directories;
  EXPECT_EQ(listing.Count(), 3);
  EXPECT_EQ(Run(&DirectoryListing::ListTree, true).find("secret"), std::string::npos);
  DirectoryText root(dir.String());
  listing.Reset();
  EXPECT_EQ(listing.CountFilesInTree(root), 3);
}

// Entries whose directory would not fit the field are skipped, never stored
// cut: every path listed names the file that was found.
TEST_F(Walks, DeepTreesStoreNoCutPath) {
  fs::path deep = dir.Path();
  while (deep.string().size() < 2 * DIRECTORY_FIELD_SIZE) {
    deep /= std::string(40, 'd');
    std::error_code error;
    fs::create_directories(deep, error);
    if (error) GTEST_SKIP() << "this system refuses a directory path of 520 characters";
    MakeFile(deep / "f.txt", "x");
  }
  DirectoryText root(dir.String());
  listing.sortMode = SORT_BY_NAME;
  std::int32_t count = listing.ListTreeFiles(root);
  EXPECT_GT(count, 3);
  for (std::int32_t i = 0; i < listing.Count(); ++i) {
    std::string path = listing.EntryPath(i);
    for (char& c : path) c = c == '\\' ? '/' : c;
    EXPECT_LT(std::string(listing.EntryDirectory(i)).size(), DIRECTORY_FIELD_SIZE);
    EXPECT_TRUE(fs::is_regular_file(path)) << path;
  }
  std::int32_t stored = listing.Count();
  listing.Reset();
  EXPECT_EQ(listing.CountFilesInTree(root), stored);
}

}  // namespace
}  // namespace utillib
