#include "utillib/files/long_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/files.h"
#include "platform/host.h"
#include "support/test_machine.h"

namespace utillib {
namespace {

namespace fs = std::filesystem;

// Restores the current directory that a test changed.
struct KeepCurrentDirectory {
  fs::path saved = fs::current_path();
  ~KeepCurrentDirectory() { fs::current_path(saved); }
};

// A file whose full path has exactly length characters: a directory of
// padding below base, and a name that makes up the rest.
std::string FileOfLength(const fs::path& base, std::size_t length) {
  std::string root = base.string() + "/";
  std::size_t directory = std::min<std::size_t>(length - 20, 240) - root.size();
  std::string dir = root + std::string(directory, 'd');
  std::string name = std::string(length - dir.size() - 1 - 4, 'n') + ".txt";
  KeepCurrentDirectory keep;
  fs::create_directories(dir);
  fs::current_path(dir);
  std::ofstream(name) << "data";
  return dir + "/" + name;
}

TEST(LongPathRule, ShortAndLongPathsReachTheFileAndComeBack) {
  testsupport::TempDirectory base;
  for (std::size_t length : {255u, 256u, 300u}) {
    SCOPED_TRACE(length);
    std::string path = FileOfLength(base.Path() / std::to_string(length), length);
    ASSERT_EQ(path.size(), length);
    fs::path before = fs::current_path();
    {
      LongPathScope scope(path.c_str());
      EXPECT_EQ(scope.Entered(), length >= LONG_PATH_LENGTH);
    }
    EXPECT_TRUE(FileExistsLong(path.c_str()));
    std::uint32_t attributes = GetFileAttributesLong(path.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(attributes & platform::kAttributeDirectory, 0u);
    EXPECT_TRUE(SetFileAttributesLong(path.c_str(), platform::kAttributeHidden));
    EXPECT_NE(GetFileAttributesLong(path.c_str()) & platform::kAttributeHidden, 0u);
    std::string directory = path.substr(0, path.rfind('/'));
    EXPECT_FALSE(FileExistsLong(directory.c_str()));  // a directory is no file
    EXPECT_FALSE(FileExistsLong((path + "x").c_str()));
    EXPECT_EQ(GetFileAttributesLong((path + "x").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(fs::current_path(), before);
  }
}

// When the path's directory cannot be made current, the bare name would
// name a file in whatever directory is current: it stays untouched.
TEST(LongPathRule, AFailedChangeOfDirectoryTouchesNoSameNamedFile) {
  testsupport::TempDirectory base;
  KeepCurrentDirectory keep;
  fs::current_path(base.Path());
  std::ofstream("victim.txt") << "keep";
  std::string path = base.String() + "/" + std::string(250, 'm') + "/victim.txt";
  EXPECT_FALSE(FileExistsLong(path.c_str()));
  EXPECT_EQ(GetFileAttributesLong(path.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(SetFileAttributesLong(path.c_str(),
                                     platform::kAttributeReadOnly | platform::kAttributeHidden));
  EXPECT_EQ(platform::GetAttributes("victim.txt") &
                (platform::kAttributeReadOnly | platform::kAttributeHidden),
            0u);
  EXPECT_EQ(fs::current_path(), base.Path());
  // Nor does a long path that cannot be used at all: too long, or naming a
  // directory.
  std::string huge = base.String() + "/" + std::string(600, 'x') + "/victim.txt";
  EXPECT_FALSE(FileExistsLong(huge.c_str()));
  EXPECT_EQ(GetFileAttributesLong(huge.c_str()), INVALID_FILE_ATTRIBUTES);
  std::string trailing = base.String() + "/" + std::string(250, 'm') + "/";
  EXPECT_FALSE(LongPathScope(trailing.c_str()).Usable());
  EXPECT_FALSE(FileExistsLong(nullptr));
  EXPECT_EQ(GetFileAttributesLong(nullptr), INVALID_FILE_ATTRIBUTES);
}

// The saved text of SaveCurrentDirectory holds 258 characters; the rule
// comes back to a longer current directory all the same.
TEST(LongPathRule, RestoresACurrentDirectoryLongerThanTheSavedText) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows holds no current directory of 260 characters or more";
#endif
  testsupport::TempDirectory base;
  std::string path = FileOfLength(base.Path() / "file", 300);
  KeepCurrentDirectory keep;
  fs::path deep = base.Path() / std::string(200, 'a') / std::string(200, 'b');
  std::error_code error;
  fs::create_directories(deep, error);
  if (error) GTEST_SKIP() << "this system refuses a directory path of 450 characters";
  fs::current_path(deep);
  EXPECT_TRUE(FileExistsLong(path.c_str()));
  EXPECT_TRUE(SetFileAttributesLong(path.c_str(), platform::kAttributeSystem));
  EXPECT_EQ(fs::current_path(), deep);
}

TEST(LongPathRule, WorksInADriveRootAndReconnectsANetworkDrive) {
  testsupport::TempDirectory root;
  std::string name(251, 'r');  // with ".txt" the longest name a file system allows
  std::ofstream((root.Path() / (name + ".txt")).string()) << "x";
  std::ofstream((root.Path() / "short.txt").string()) << "x";
  testsupport::TestMachine machine("[E:]\nroot = " + root.String() +
                                   "\n[N:]\nroot = " + root.String() +
                                   "\nremote = \\\\srv\\share\nconnection = remembered\n");
  std::string path = "E:\\" + name + ".txt";
  fs::path before = fs::current_path();
  EXPECT_TRUE(FileExistsLong(path.c_str()));
  EXPECT_EQ(fs::current_path(), before);
  EXPECT_EQ(machine.CountCalls("add-connection"), 0);
  EXPECT_TRUE(FileExistsLong("N:\\short.txt"));
  EXPECT_EQ(machine.CountCalls("add-connection"), 1);
}

}  // namespace
}  // namespace utillib
