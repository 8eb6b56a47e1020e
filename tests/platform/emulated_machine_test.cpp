#include "platform/emulated/emulated_machine.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>

#include "platform/files.h"
#include "platform/host.h"
#include "support/test_machine.h"

namespace platform {
namespace {

TEST(EmulatedMachine, ReadsDrivesWithCommentsAndDefaults) {
  EmulatedMachine machine;
  std::string error;
  ASSERT_TRUE(
      machine.Load("; a comment\n"
                   "sleep = skip   # no real waits\n"
                   "\n"
                   "[e:]\n"
                   "  type = removable  ; stick\n"
                   "  mount = device:\\??\\USBSTOR#Disk&Ven_X#0001#{53f5}\n"
                   "lock = busy 2\n"
                   "[F:]\n"
                   "mount = hex:5c,00 3F 00\n"
                   "mount-type = 1\n"
                   "[N:]\n"
                   "remote = \\\\server\\share\n"
                   "connection = remembered\n",
                   "m", &error))
      << error;
  EXPECT_EQ(machine.GetDriveType("E:"), DriveType::Removable);
  EXPECT_EQ(machine.GetDriveType("F:\\"), DriveType::Fixed);
  EXPECT_EQ(machine.GetDriveType("G:"), DriveType::NoRoot);
  EXPECT_EQ(machine.GetDriveType("N:"), DriveType::NoRoot);  // remembered, not connected

  std::uint8_t value[128] = {};
  std::uint32_t type = 0;
  std::size_t size = 0;
  ASSERT_EQ(machine.QueryMountValue("\\DosDevices\\E:", value, sizeof value, &type, &size),
            MountQuery::Ok);
  EXPECT_EQ(type, kMountValueBinary);
  // The '#' inside the device path is text, not a comment.
  const char16_t expected[] = u"\\??\\USBSTOR#Disk&Ven_X#0001#{53f5}";
  ASSERT_EQ(size, sizeof expected - 2);
  for (std::size_t i = 0; i < size / 2; ++i) {
    EXPECT_EQ(value[2 * i] | (value[2 * i + 1] << 8), expected[i]) << i;
  }
  ASSERT_EQ(machine.QueryMountValue("\\DosDevices\\F:", value, sizeof value, &type, &size),
            MountQuery::Ok);
  EXPECT_EQ(type, 1u);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(std::memcmp(value, "\x5c\x00\x3f\x00", 4), 0);
  EXPECT_EQ(machine.QueryMountValue("\\DosDevices\\F:", value, 3, &type, &size),
            MountQuery::TooLarge);
  EXPECT_EQ(machine.QueryMountValue("\\DosDevices\\G:", value, sizeof value, &type, &size),
            MountQuery::Missing);
}

TEST(EmulatedMachine, RejectsBadLinesNamingFileAndLine) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"[E:]\ncolour = red\n", "m.machine:2: unknown key 'colour'"},
      {"[E:]\ntype = floppy\n", "m.machine:2: bad value 'floppy' for type"},
      {"\n\n[E:]\njust words\n", "m.machine:4: expected 'key = value': 'just words'"},
      {"type = fixed\n", "m.machine:1: key 'type' outside a drive section"},
      {"[E]\n", "m.machine:1: malformed section '[E]', expected [X:]"},
      {"[1:]\n", "m.machine:1: malformed section '[1:]', expected [X:]"},
      {"[E:]\n[e:]\n", "m.machine:2: drive E: twice"},
      {"[E:]\nmount = hex:5c 0\n", "m.machine:2: bad value 'hex:5c 0' for mount"},
      {"[E:]\nmount = text\n", "m.machine:2: bad value 'text' for mount"},
      {"[E:]\nlock = busy x\n", "m.machine:2: bad value 'busy x' for lock"},
      {"[E:]\nlock = busy 99999999999\n", "m.machine:2: bad value 'busy 99999999999' for lock"},
      {"[E:]\neject = maybe\n", "m.machine:2: bad value 'maybe' for eject"},
      {"[E:]\nmount-type = -1\n", "m.machine:2: bad value '-1' for mount-type"},
      {"[E:]\nconnection = up\n", "m.machine:2: bad value 'up' for connection"},
      {"sleep = sometimes\n", "m.machine:1: bad value 'sometimes' for sleep (real | skip)"},
      {"[E:]\nsleep = skip\n", "m.machine:2: 'sleep' belongs before the first section"},
  };
  for (const auto& c : cases) {
    EmulatedMachine machine;
    std::string error;
    EXPECT_FALSE(machine.Load(c.text, "m.machine", &error)) << c.text;
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(machine.GetDriveType("E:"), DriveType::NoRoot) << "left empty: " << c.text;
  }
}

TEST(EmulatedMachine, MissingFileIsAnError) {
  EmulatedMachine machine;
  std::string error;
  EXPECT_FALSE(machine.LoadFile("/nonexistent/x.machine", &error));
  EXPECT_EQ(error, "/nonexistent/x.machine: cannot read the machine file");
}

TEST(EmulatedMachine, LogsEveryCallToTheLogFile) {
  testsupport::TempDirectory directory;
  std::string log = (directory.Path() / "calls.log").string();
  {
    testsupport::TestMachine machine("[E:]\ntype = cdrom\nclose = fail\n");
    machine.SetLogFile(log);
    VolumeHandle volume = machine.OpenVolume("\\\\.\\E:", VolumeAccess::Read);
    const std::uint8_t prevent = 1;
    machine.ControlVolume(volume, VolumeRequest::MediaRemoval, &prevent, 1);
    machine.Sleep(500);
    machine.CloseVolume(volume);
    EXPECT_EQ(machine.OpenVolume("\\\\.\\Q:", VolumeAccess::ReadWrite), kInvalidVolume);
  }
  std::ifstream file(log);
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_EQ(text.str(),
            "open E: read ok\nmedia-removal E: prevent ok\nsleep 500\nclose E: fail\n"
            "open Q: read-write fail\n");
}

TEST(EmulatedMachine, RemovedLetterIsGone) {
  testsupport::TestMachine machine("[E:]\ntype = removable\nroot = /tmp\n");
  char out[64];
  EXPECT_TRUE(machine.MapPath("E:\\x", out, sizeof out));
  EXPECT_TRUE(machine.RemoveDosDevice("E:"));
  EXPECT_EQ(machine.GetDriveType("E:"), DriveType::NoRoot);
  EXPECT_FALSE(machine.MapPath("E:\\x", out, sizeof out));
  EXPECT_FALSE(machine.RemoveDosDevice("E:"));
}

TEST(EmulatedMachine, MapsDrivePathsThroughTheRootAndBoundsTheResult) {
  testsupport::TestMachine machine("[E:]\nroot = /srv/stick\n[F:]\n");
  char out[32];
  ASSERT_TRUE(machine.MapPath("e:\\dir\\file.txt", out, sizeof out));
  EXPECT_STREQ(out, "/srv/stick\\dir\\file.txt");
  ASSERT_TRUE(machine.MapPath("E:", out, sizeof out));
  EXPECT_STREQ(out, "/srv/stick");
  ASSERT_TRUE(machine.MapPath("E:file", out, sizeof out));
  EXPECT_STREQ(out, "/srv/stick\\file");
  ASSERT_TRUE(machine.MapPath("relative/x", out, sizeof out));
  EXPECT_STREQ(out, "relative/x");
  EXPECT_FALSE(machine.MapPath("F:\\x", out, sizeof out));  // a drive without a root
  EXPECT_FALSE(machine.MapPath("G:\\x", out, sizeof out));  // no such drive
  EXPECT_FALSE(machine.MapPath(std::string(40, 'a').c_str(), out, sizeof out));
}

// ".." at a drive's root stays at the root, as on Windows: no drive-letter
// path leads out of the drive's directory.
TEST(EmulatedMachine, DrivePathsStayInsideTheirDrive) {
  testsupport::TestMachine machine("[E:]\nroot = /srv/stick\n");
  const std::pair<const char*, const char*> cases[] = {
      {"E:\\..\\..\\etc\\passwd", "/srv/stick\\etc\\passwd"},
      {"E:..", "/srv/stick"},
      {"E:/a/../../b/./c", "/srv/stick\\b\\c"},
      {"E:\\a\\..\\", "/srv/stick\\"},
      {"E:\\a\\\\b\\...\\x", "/srv/stick\\a\\b\\...\\x"},
      {"E:\\*.*", "/srv/stick\\*.*"},
  };
  for (const auto& [path, expected] : cases) {
    char out[64];
    ASSERT_TRUE(machine.MapPath(path, out, sizeof out)) << path;
    EXPECT_STREQ(out, expected) << path;
  }
}

TEST(EmulatedMachine, NetworkDrivesConnectOnlyWhenRemembered) {
  testsupport::TestMachine machine(
      "[M:]\nremote = \\\\srv\\a\nconnection = connected\n"
      "[N:]\nremote = \\\\srv\\b\nconnection = remembered\n"
      "[O:]\nremote = \\\\srv\\c\nconnection = unreachable\n");
  char remote[300];
  EXPECT_EQ(machine.QueryConnection("M:", remote, sizeof remote), ConnectionQuery::Connected);
  EXPECT_STREQ(remote, "\\\\srv\\a");
  EXPECT_EQ(machine.QueryConnection("M:", remote, 5), ConnectionQuery::Failed);
  EXPECT_EQ(machine.GetDriveType("M:"), DriveType::Remote);
  EXPECT_EQ(machine.QueryConnection("N:", remote, sizeof remote), ConnectionQuery::Unavailable);
  EXPECT_TRUE(machine.AddConnection("N:", remote));
  EXPECT_EQ(machine.QueryConnection("N:", remote, sizeof remote), ConnectionQuery::Connected);
  EXPECT_EQ(machine.QueryConnection("O:", remote, sizeof remote), ConnectionQuery::Unavailable);
  EXPECT_FALSE(machine.AddConnection("O:", remote));
  EXPECT_EQ(machine.QueryConnection("P:", remote, sizeof remote), ConnectionQuery::Failed);
}

TEST(DirectorySearch, MatchesWindowsWildcardsThroughADriveRoot) {
  testsupport::TempDirectory root;
  for (const char* name : {"a.txt", "B.TXT", "readme", "c.txt.bak"}) {
    std::ofstream(root.Path() / name) << name;
  }
  testsupport::TestMachine machine("[E:]\nroot = " + root.String() + "\n");
  auto names = [](const char* pattern) {
    std::string found;
    FindData data;
    FindHandle search = FindFirst(pattern, &data);
    if (search == kInvalidFind) return found;
    std::multiset<std::string> sorted;
    do {
      sorted.insert(data.name);
    } while (FindNext(search, &data));
    FindClose(search);
    for (const auto& name : sorted) found += name + " ";
    return found;
  };
  EXPECT_EQ(names("E:\\*.*"), "B.TXT a.txt c.txt.bak readme ");  // no "." in a root
  EXPECT_EQ(names("E:\\*.txt"), "B.TXT a.txt ");
  EXPECT_EQ(names("E:/?.TXT"), "B.TXT a.txt ");
  EXPECT_EQ(names("E:\\nothing*"), "");
  EXPECT_EQ(names("Q:\\*.*"), "");
  FindData data;
  FindHandle search = FindFirst("E:\\a.txt", &data);
  ASSERT_NE(search, kInvalidFind);
  EXPECT_EQ(data.size, 5u);
  EXPECT_EQ(data.attributes & kAttributeDirectory, 0u);
  EXPECT_GT(data.writeTime, 0);
  FindClose(search);
  if (RunningUnderWine()) GTEST_SKIP() << "Wine matches the pattern \"*.\" against every name";
  EXPECT_EQ(names("E:\\*."), "readme ");
}

}  // namespace
}  // namespace platform
