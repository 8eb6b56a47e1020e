#include "utillib/foundation/startup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "platform/emulated/emulated_machine.h"

namespace utillib {
namespace {

namespace fs = std::filesystem;

// A fresh directory, removed with its contents at the end of the test.
class TempDirectory {
 public:
  TempDirectory() {
    static int counter = 0;
    auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path path = fs::temp_directory_path() /
                    ("foundation_tests_" + std::to_string(ticks) + "_" + std::to_string(++counter));
    fs::create_directories(path);
    path_ = fs::canonical(path);
  }
  ~TempDirectory() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

// Restores the process's current directory at the end of the test.
class CurrentDirectoryGuard {
 public:
  ~CurrentDirectoryGuard() {
    std::error_code ignored;
    fs::current_path(saved_, ignored);
  }

 private:
  fs::path saved_ = fs::current_path();
};

// Creates below base a directory whose full path has exactly length characters.
fs::path MakeDirectoryOfLength(const fs::path& base, std::size_t length) {
  fs::path path = base;
  std::size_t used = base.string().size();
  EXPECT_GE(length, used + 2);
  while (length - used > 101) {
    path /= std::string(50, 'd');
    used += 51;
  }
  path /= std::string(length - used - 1, 'e');
  fs::create_directories(path);
  EXPECT_EQ(path.string().size(), length);
  return path;
}

int DriveNumberOf(const std::string& directory) {
  if (directory.size() < 2 || directory[1] != ':') return 0;
  char letter = directory[0];
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  return letter - 'A' + 1;
}

TEST(LibraryStartup, FillsTheEnvironmentAfresh) {
  CurrentDirectoryGuard guard;
  TempDirectory temp;
  fs::current_path(temp.Path());
  fixedDate = true;
  started = false;
  std::strcpy(libraryEnvironment.folderOverrides[3], "D:\\work");
  std::strcpy(libraryEnvironment.startDirectory, "stale");

  EXPECT_EQ(LibraryStartup(), 0);
  EXPECT_FALSE(fixedDate);
  EXPECT_TRUE(started);
  for (const auto& folder : libraryEnvironment.folderOverrides) EXPECT_STREQ(folder, "");
  EXPECT_EQ(libraryEnvironment.startDirectory, fs::current_path().string());
  EXPECT_STREQ(libraryEnvironment.programName, "foundation_tests");
  EXPECT_EQ(libraryEnvironment.currentDrive, DriveNumberOf(fs::current_path().string()));

  // The environment keeps its start-up values when the directory changes.
  fs::create_directory(temp.Path() / "later");
  fs::current_path(temp.Path() / "later");
  EXPECT_EQ(libraryEnvironment.startDirectory, temp.Path().string());
}

// Enters a directory of the given length; false when the system refuses.
bool EnterDirectoryOfLength(const fs::path& base, std::size_t length) {
  std::error_code error;
  fs::current_path(MakeDirectoryOfLength(base, length), error);
  return !error;
}

TEST(LibraryStartup, StartDirectoryOf199CharactersOrMoreIsLeftEmpty) {
  CurrentDirectoryGuard guard;
  TempDirectory temp;
  for (std::size_t length :
       {START_DIRECTORY_SIZE - 2, START_DIRECTORY_SIZE - 1, std::size_t{240}}) {
    SCOPED_TRACE(length);
    ASSERT_TRUE(EnterDirectoryOfLength(temp.Path(), length));
    LibraryStartup();
    std::string expected = length < START_DIRECTORY_SIZE - 1 ? fs::current_path().string() : "";
    EXPECT_EQ(libraryEnvironment.startDirectory, expected);
    EXPECT_STREQ(libraryEnvironment.programName, "foundation_tests");
  }
}

TEST(SaveCurrentDirectory, DirectoryOf259CharactersOrMoreGivesTheEmptyText) {
  CurrentDirectoryGuard guard;
  TempDirectory temp;
  for (std::size_t length :
       {SAVED_DIRECTORY_SIZE - 2, SAVED_DIRECTORY_SIZE - 1, std::size_t{400}}) {
    SCOPED_TRACE(length);
    if (!EnterDirectoryOfLength(temp.Path(), length)) GTEST_SKIP() << "directory not enterable";
    char saved[SAVED_DIRECTORY_SIZE];
    std::memset(saved, 'x', sizeof saved);
    EXPECT_EQ(SaveCurrentDirectory(saved), saved);
    std::string expected = length < SAVED_DIRECTORY_SIZE - 1 ? fs::current_path().string() : "";
    EXPECT_EQ(saved, expected);
  }
}

TEST(SetCurrentDriveDirectory, ReturnsToTheSavedDirectory) {
  CurrentDirectoryGuard guard;
  TempDirectory temp;
  fs::path inner = temp.Path() / "a b" / "Sub.dir";
  fs::create_directories(inner);
  fs::current_path(inner);
  char saved[SAVED_DIRECTORY_SIZE];
  SaveCurrentDirectory(saved);
  LibraryStartup();
  EXPECT_EQ(libraryEnvironment.currentDrive, DriveNumberOf(saved));

  fs::current_path(temp.Path());
  EXPECT_EQ(SetCurrentDriveDirectory(saved), 0);
  EXPECT_TRUE(fs::equivalent(fs::current_path(), inner));
}

TEST(SetCurrentDriveDirectory, EntersDirectoriesOfDriveLetters) {
  CurrentDirectoryGuard guard;
  TempDirectory temp;
  fs::create_directories(temp.Path() / "e" / "sub");
  fs::create_directories(temp.Path() / "Data");
  platform::EmulatedMachine machine;
  machine.Drive('E').root = (temp.Path() / "e").string();
  machine.Drive('F');  // a drive without a directory for file access
  platform::ScopedMachine installed(machine);

  const struct {
    const char* path;
    int result;
    fs::path directory;  // relative to temp; empty: unchanged
  } cases[] = {
      {"E:\\sub", 0, "e/sub"},
      {"E:/sub", 0, "e/sub"},
      {"e:\\sub\\..\\sub", 0, "e/sub"},
      {"E:", 0, "e"},
      {"Data", 0, "Data"},  // relative to temp: no drive letter, only the
                            // directory
      {"E:\\missing", -1, ""},
      {"F:\\", -1, ""},
      {"", -1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    fs::current_path(temp.Path());
    EXPECT_EQ(SetCurrentDriveDirectory(c.path), c.result);
    fs::path expected = c.directory.empty() ? temp.Path() : temp.Path() / c.directory;
    EXPECT_TRUE(fs::equivalent(fs::current_path(), expected)) << fs::current_path();
  }
}

#ifndef _WIN32
TEST(SaveCurrentDirectory, DirectoryNamedWithABackslashGivesTheEmptyText) {
  // Backslashes separate components, so such a directory could not be entered
  // again from its text.
  CurrentDirectoryGuard guard;
  TempDirectory temp;
  fs::create_directories(temp.Path() / "a\\b");
  fs::current_path(temp.Path() / "a\\b");
  char saved[SAVED_DIRECTORY_SIZE];
  EXPECT_STREQ(SaveCurrentDirectory(saved), "");
  EXPECT_EQ(SetCurrentDriveDirectory(saved), -1);
  EXPECT_TRUE(fs::equivalent(fs::current_path(), temp.Path() / "a\\b"));
}
#endif

std::string ReadAll(std::FILE* stream) {
  std::string text;
  char buffer[64];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, stream)) text.append(buffer, n);
  std::fclose(stream);
  return text;
}

TEST(OpenFileReconnecting, RetriesOnceThroughARememberedNetworkDrive) {
  TempDirectory temp;
  std::ofstream(temp.Path() / "data.txt") << "hello";
  platform::EmulatedMachine machine;
  std::string error;
  ASSERT_TRUE(machine.Load("[E:]\nroot = " + temp.Path().string() +
                               "\nremote = \\\\server\\share\nconnection = remembered\n",
                           "test", &error))
      << error;
  platform::ScopedMachine installed(machine);

  std::FILE* stream = OpenFileReconnecting("e:\\data.txt", "r");
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(ReadAll(stream), "hello");
  EXPECT_EQ(machine.Calls(),
            (std::vector<std::string>{"connection E: remembered", "add-connection E: ok"}));

  // Connected now: the first attempt succeeds.
  machine.ClearCalls();
  stream = OpenFileReconnecting("E:\\new.txt", "w");
  ASSERT_NE(stream, nullptr);
  std::fclose(stream);
  EXPECT_TRUE(fs::exists(temp.Path() / "new.txt"));
  EXPECT_TRUE(machine.Calls().empty());
}

TEST(OpenFileReconnecting, GivesUpAfterTheSecondAttempt) {
  TempDirectory temp;
  platform::EmulatedMachine machine;
  machine.Drive('E').root = temp.Path().string();
  machine.Drive('G') = {};
  machine.Drive('G').root = temp.Path().string();
  machine.Drive('G').remote = "\\\\server\\gone";
  machine.Drive('G').connection = platform::Connection::Unreachable;
  machine.Drive('G').type = platform::DriveType::NoRoot;
  platform::ScopedMachine installed(machine);

  const struct {
    std::string path;
    std::vector<std::string> calls;
  } cases[] = {
      {"G:\\data.txt", {"connection G: remembered", "add-connection G: fail"}},
      {"E:\\missing.txt", {"connection E: failed"}},
      {"no_such_directory\\missing.txt", {}},  // no drive letter: no reconnection
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    machine.ClearCalls();
    EXPECT_EQ(OpenFileReconnecting(c.path.c_str(), "r"), nullptr);
    EXPECT_EQ(machine.Calls(), c.calls);
  }
}

TEST(ClearBuffer, ClearsExactlySizeBytes) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(ClearBuffer(buffer, 5), buffer);
  EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(5, '\0') + "xxx");
}

}  // namespace
}  // namespace utillib
