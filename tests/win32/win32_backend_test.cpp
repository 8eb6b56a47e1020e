// The Win32 backend against the system it runs on: Windows, or Wine in the
// test harness (scripts/wine-run.sh), which also provides the scratch drive
// named by AUSKLINK_TEST_DRIVE. Tests of volume control run on that drive
// only, and are skipped where no scratch drive is given.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/host.h"
#include "platform/machine.h"
#include "support/test_machine.h"

namespace {

namespace fs = std::filesystem;
using platform::ConnectionQuery;
using platform::DefaultMachine;
using platform::DriveType;
using platform::kInvalidVolume;
using platform::MountQuery;
using platform::VolumeAccess;
using platform::VolumeRequest;

// First letter from D on that names no drive at all.
char FreeLetter() {
  for (char letter = 'D'; letter <= 'Z'; ++letter) {
    const char root[4] = {letter, ':', '\\', '\0'};
    if (DefaultMachine().GetDriveType(root) == DriveType::NoRoot) return letter;
  }
  return '\0';
}

char ScratchLetter() {
  const char* drive = std::getenv("AUSKLINK_TEST_DRIVE");
  if (drive == nullptr || drive[0] < 'A' || drive[0] > 'Z') return '\0';
  return drive[0];
}

std::string Device(char letter) {
  return std::string("\\\\.\\") + letter + ":";
}

void WriteFile(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

// Names found by a search for pattern, in the order found; empty when the
// search finds nothing. Each entry's data is kept in *entries when given.
std::vector<std::string> Search(const std::string& pattern,
                                std::vector<platform::FindData>* entries = nullptr) {
  std::vector<std::string> names;
  platform::FindData data;
  platform::FindHandle search = platform::FindFirst(pattern.c_str(), &data);
  if (search == platform::kInvalidFind) return names;
  do {
    names.push_back(data.name);
    if (entries != nullptr) entries->push_back(data);
  } while (platform::FindNext(search, &data));
  platform::FindClose(search);
  return names;
}

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Win32Machine, FrameworkStartsAndPathsAreCopiedWithinTheirBuffer) {
  EXPECT_TRUE(DefaultMachine().InitFramework());
  char out[8];
  ASSERT_TRUE(DefaultMachine().MapPath("C:\\a\\b", out, sizeof out));
  EXPECT_STREQ(out, "C:\\a\\b");
  EXPECT_TRUE(DefaultMachine().MapPath("1234567", out, sizeof out));
  EXPECT_FALSE(DefaultMachine().MapPath("12345678", out, sizeof out));
}

TEST(Win32Machine, MountTableValueOfTheSystemDrive) {
  std::uint8_t buffer[1024];
  std::uint32_t type = 0;
  std::size_t size = 0;
  ASSERT_EQ(
      DefaultMachine().QueryMountValue("\\DosDevices\\C:", buffer, sizeof buffer, &type, &size),
      MountQuery::Ok);
  EXPECT_EQ(type, platform::kMountValueBinary);
  ASSERT_GE(size, 2u);
  ASSERT_LE(size, sizeof buffer);
  // One byte less than the value needs.
  EXPECT_EQ(DefaultMachine().QueryMountValue("\\DosDevices\\C:", buffer, size - 1, &type, &size),
            MountQuery::TooLarge);
  EXPECT_EQ(DefaultMachine().QueryMountValue("\\DosDevices\\no such drive", buffer, sizeof buffer,
                                             &type, &size),
            MountQuery::Missing);
}

TEST(Win32Machine, FreeLetterHasNoRootNoVolumeAndNoConnection) {
  EXPECT_EQ(DefaultMachine().GetDriveType("C:"), DriveType::Fixed);
  EXPECT_EQ(DefaultMachine().GetDriveType("C:\\"), DriveType::Fixed);
  const char letter = FreeLetter();
  ASSERT_NE(letter, '\0');
  const char spec[3] = {letter, ':', '\0'};
  EXPECT_EQ(DefaultMachine().GetDriveType(spec), DriveType::NoRoot);
  EXPECT_EQ(DefaultMachine().OpenVolume(Device(letter).c_str(), VolumeAccess::Read),
            kInvalidVolume);
  char remote[300] = "unchanged";
  EXPECT_EQ(DefaultMachine().QueryConnection(spec, remote, sizeof remote), ConnectionQuery::Failed);
  // A local drive is no network drive either.
  EXPECT_EQ(DefaultMachine().QueryConnection("C:", remote, sizeof remote), ConnectionQuery::Failed);
  EXPECT_FALSE(DefaultMachine().AddConnection(spec, ""));
  EXPECT_EQ(DefaultMachine().GetDriveType(spec), DriveType::NoRoot);
}

TEST(Win32Machine, InvalidVolumeHandleIsRefusedAndSleepWaits) {
  const std::uint8_t allow = 0;
  EXPECT_FALSE(DefaultMachine().ControlVolume(kInvalidVolume, VolumeRequest::Lock, nullptr, 0));
  EXPECT_FALSE(
      DefaultMachine().ControlVolume(kInvalidVolume, VolumeRequest::MediaRemoval, &allow, 1));
  EXPECT_FALSE(DefaultMachine().CloseVolume(kInvalidVolume));
  auto start = std::chrono::steady_clock::now();
  DefaultMachine().Sleep(50);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(40));
}

TEST(Win32Machine, ScratchVolumeOpensForBothAccessesLocksAndCloses) {
  const char letter = ScratchLetter();
  if (letter == '\0') GTEST_SKIP() << "no scratch drive (AUSKLINK_TEST_DRIVE)";
  const char root[4] = {letter, ':', '\\', '\0'};
  ASSERT_EQ(DefaultMachine().GetDriveType(root), DriveType::Fixed);
  for (VolumeAccess access : {VolumeAccess::ReadWrite, VolumeAccess::Read}) {
    platform::VolumeHandle volume = DefaultMachine().OpenVolume(Device(letter).c_str(), access);
    ASSERT_NE(volume, kInvalidVolume);
    EXPECT_TRUE(DefaultMachine().ControlVolume(volume, VolumeRequest::Lock, nullptr, 0));
    EXPECT_TRUE(DefaultMachine().CloseVolume(volume));
  }
}

TEST(Win32Machine, ScratchVolumeDismountsOnceLocked) {
  const char letter = ScratchLetter();
  if (letter == '\0') GTEST_SKIP() << "no scratch drive (AUSKLINK_TEST_DRIVE)";
  if (platform::RunningUnderWine()) {
    GTEST_SKIP() << "Wine cannot dismount a volume backed by a directory (error 50)";
  }
  platform::VolumeHandle volume =
      DefaultMachine().OpenVolume(Device(letter).c_str(), VolumeAccess::ReadWrite);
  ASSERT_NE(volume, kInvalidVolume);
  EXPECT_TRUE(DefaultMachine().ControlVolume(volume, VolumeRequest::Lock, nullptr, 0));
  EXPECT_TRUE(DefaultMachine().ControlVolume(volume, VolumeRequest::Dismount, nullptr, 0));
  EXPECT_TRUE(DefaultMachine().CloseVolume(volume));
}

// Last of the scratch drive's tests: its letter is gone afterwards, until the
// harness's next start.
TEST(Win32Machine, ScratchLetterIsRemoved) {
  const char letter = ScratchLetter();
  if (letter == '\0') GTEST_SKIP() << "no scratch drive (AUSKLINK_TEST_DRIVE)";
  const char spec[3] = {letter, ':', '\0'};
  ASSERT_EQ(DefaultMachine().GetDriveType(spec), DriveType::Fixed);
  EXPECT_TRUE(DefaultMachine().RemoveDosDevice(spec));
  EXPECT_EQ(DefaultMachine().OpenVolume(Device(letter).c_str(), VolumeAccess::Read),
            kInvalidVolume);
}

TEST(Win32Files, TimesAndSizesAreNarrowedToThirtyTwoBits) {
  testsupport::TempDirectory dir;
  using std::chrono::January;
  using std::chrono::sys_days;
  using std::chrono::sys_seconds;
  using std::chrono::year;
  // 4 GiB + 5 bytes, sparse where the file system allows it.
  WriteFile(dir.Path() / "big.bin", "");
  fs::resize_file(dir.Path() / "big.bin", 0x100000005ull);
  WriteFile(dir.Path() / "early.txt", "abc");
  fs::last_write_time(
      dir.Path() / "early.txt",
      fs::file_time_type::clock::from_sys(sys_seconds{sys_days{year{2001} / January / 1}}));
  WriteFile(dir.Path() / "late.txt", "abcd");
  fs::last_write_time(
      dir.Path() / "late.txt",
      fs::file_time_type::clock::from_sys(sys_seconds{sys_days{year{2040} / January / 1}}));
  fs::create_directory(dir.Path() / "sub");

  std::vector<platform::FindData> entries;
  Search(dir.String() + "\\*.*", &entries);
  auto entry = [&](const std::string& name) {
    for (const auto& found : entries) {
      if (name == found.name) return found;
    }
    ADD_FAILURE() << name << " not found";
    return platform::FindData{};
  };
  EXPECT_EQ(entry("big.bin").size, 5u);
  EXPECT_EQ(entry("early.txt").size, 3u);
  EXPECT_EQ(entry("early.txt").writeTime, 978307200);  // 2001-01-01 00:00:00 UTC
  EXPECT_EQ(entry("late.txt").size, 4u);
  EXPECT_EQ(entry("late.txt").writeTime, -1);  // beyond 2038
  EXPECT_EQ(entry("early.txt").attributes & platform::kAttributeDirectory, 0u);
  EXPECT_NE(entry("sub").attributes & platform::kAttributeDirectory, 0u);
  EXPECT_EQ(entry("sub").size, 0u);
  fs::resize_file(dir.Path() / "big.bin", 0);
}

// A drive served from a directory by an installed machine looks like a real
// drive's root: no "." and ".." entries, so an empty medium finds nothing;
// below the root the run-time's entries are passed on as they are.
TEST(Win32Files, DriveRootOfAnInstalledMachineHasNoDotEntries) {
  testsupport::TempDirectory empty;
  testsupport::TempDirectory full;
  WriteFile(full.Path() / "a.txt", "x");
  fs::create_directory(full.Path() / "sub");
  testsupport::TestMachine machine("[E:]\nroot = " + empty.String() +
                                   "\n[F:]\nroot = " + full.String() + "\n");
  EXPECT_TRUE(Search("E:\\*.*").empty());
  EXPECT_EQ(Sorted(Search("F:\\*.*")), (std::vector<std::string>{"a.txt", "sub"}));
  EXPECT_EQ(Sorted(Search("f:/*")), (std::vector<std::string>{"a.txt", "sub"}));
  EXPECT_EQ(Sorted(Search("F:\\sub\\*.*")), (std::vector<std::string>{".", ".."}));
}

}  // namespace
