#include "tool/volume_removal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_machine.h"

namespace ausklink {
namespace {

using testsupport::TestMachine;
using Lines = std::vector<std::string>;

// C: is a basic disk whose signature begins aa bb; E: a USB stick.
const std::string kSystemDisk =
    "[C:]\n"
    "type = fixed\n"
    "mount = hex:aa bb cc dd 00 7e 00 00 00 00 00 00\n";
const std::string kStick =
    "[E:]\n"
    "type = removable\n"
    "mount = device:\\??\\USBSTOR#Disk&Ven_X&Prod_Y#0001#{53f56307-b6bf-11d0-94f2-00a0c91efb8b}\n";

std::string WithStick(const std::string& extra) {
  return kSystemDisk + kStick + extra;
}

TEST(ReleaseDrive, RunsTheWholeSequenceAndReportsDone) {
  TestMachine machine(WithStick(""));
  EXPECT_EQ(ReleaseDrive('E'), REMOVAL_DONE);
  EXPECT_EQ(machine.DeviceCalls(),
            (Lines{"open E: read-write ok", "lock E: ok", "dismount E: ok",
                   "media-removal E: allow ok", "eject E: ok", "close E: ok"}));
}

TEST(ReleaseDrive, RemovingLetterRemovesItAfterEjectWhileTheHandleIsOpen) {
  TestMachine machine(WithStick(""));
  EXPECT_EQ(ReleaseDriveRemovingLetter('E'), REMOVAL_DONE);
  EXPECT_EQ(machine.DeviceCalls(), (Lines{"open E: read-write ok", "lock E: ok", "dismount E: ok",
                                          "media-removal E: allow ok", "eject E: ok",
                                          "remove-letter E: ok", "close E: ok"}));
}

TEST(ReleaseDrive, BusyVolumeFailsAfterTwentyAttemptsHalfASecondApartAndOnlyCloses) {
  TestMachine machine(WithStick("lock = busy\n"));
  EXPECT_EQ(ReleaseDriveRemovingLetter('E'), REMOVAL_LOCK_FAILED);
  Lines expected{"open E: read-write ok"};
  for (int i = 0; i < LOCK_ATTEMPTS; ++i) {
    expected.push_back("lock E: fail");
    expected.push_back("sleep 500");
  }
  expected.push_back("close E: ok");
  EXPECT_EQ(machine.DeviceCalls(), expected);
}

TEST(ReleaseDrive, LockThatSucceedsOnARetryGoesOn) {
  TestMachine machine(WithStick("lock = busy 3\n"));
  EXPECT_EQ(ReleaseDrive('E'), REMOVAL_DONE);
  EXPECT_EQ(machine.CountCalls("lock E: fail"), 3);
  EXPECT_EQ(machine.CountCalls("sleep 500"), 3);
  EXPECT_EQ(machine.CountCalls("eject E: ok"), 1);
}

TEST(ReleaseDrive, FailedDismountIsAFailureAndSkipsTheRest) {
  TestMachine machine(WithStick("dismount = fail\n"));
  EXPECT_EQ(ReleaseDriveRemovingLetter('E'), REMOVAL_DISMOUNT_FAILED);
  EXPECT_EQ(machine.DeviceCalls(),
            (Lines{"open E: read-write ok", "lock E: ok", "dismount E: fail", "close E: ok"}));
}

TEST(ReleaseDrive, RefusedEjectStillCountsAsDoneAndTheLetterIsStillRemoved) {
  TestMachine machine(WithStick("eject = fail\n"));
  EXPECT_EQ(ReleaseDriveRemovingLetter('E'), REMOVAL_DONE);
  EXPECT_EQ(machine.CountCalls("eject E: fail"), 1);
  EXPECT_EQ(machine.CountCalls("remove-letter E: ok"), 1);
}

TEST(ReleaseDrive, RefusedMediaRemovalSkipsOnlyTheEject) {
  TestMachine machine(WithStick("removal = fail\n"));
  EXPECT_EQ(ReleaseDriveRemovingLetter('E'), REMOVAL_DONE);
  EXPECT_EQ(machine.DeviceCalls(),
            (Lines{"open E: read-write ok", "lock E: ok", "dismount E: ok",
                   "media-removal E: allow fail", "remove-letter E: ok", "close E: ok"}));
}

TEST(ReleaseDrive, CdRomIsOpenedReadOnlyAndReleasedLikeAnyOther) {
  TestMachine machine(kSystemDisk + "[E:]\ntype = cdrom\nmount = device:\\??\\IDE#CdRom#1\n");
  EXPECT_EQ(ReleaseDrive('E'), REMOVAL_DONE);
  EXPECT_EQ(machine.DeviceCalls(),
            (Lines{"open E: read ok", "lock E: ok", "dismount E: ok", "media-removal E: allow ok",
                   "eject E: ok", "close E: ok"}));
}

TEST(ReleaseDrive, OpenFailures) {
  {
    TestMachine machine(WithStick("open = fail\n"));
    EXPECT_EQ(ReleaseDrive('E'), REMOVAL_OPEN_FAILED);
    EXPECT_EQ(machine.DeviceCalls(), (Lines{"open E: read-write fail"}));
  }
  for (const char* type : {"remote", "ramdisk", "unknown", "no-root"}) {
    TestMachine machine(kSystemDisk + "[E:]\ntype = " + type + "\nmount = device:\\??\\X\n");
    EXPECT_EQ(ReleaseDrive('E'), REMOVAL_OPEN_FAILED) << type;
    EXPECT_TRUE(machine.DeviceCalls().empty()) << type;
  }
}

TEST(ReleaseDrive, CloseFailureGives99WhateverCameBefore) {
  {
    TestMachine machine(WithStick("close = fail\n"));
    EXPECT_EQ(ReleaseDrive('E'), REMOVAL_CLOSE_FAILED);
  }
  {
    TestMachine machine(WithStick("close = fail\nlock = fail\n"));
    EXPECT_EQ(ReleaseDrive('E'), REMOVAL_CLOSE_FAILED);
    EXPECT_EQ(machine.OpenHandles(), 0u);
  }
}

TEST(ReleaseDrive, NotExternalTouchesNoDevice) {
  TestMachine machine(kSystemDisk + "[E:]\ntype = removable\n");
  EXPECT_EQ(ReleaseDrive('E'), REMOVAL_NOT_EXTERNAL);
  EXPECT_TRUE(machine.DeviceCalls().empty());
}

TEST(ReleaseDrive, EveryOpenedHandleIsClosed) {
  for (const char* extra : {"", "lock = fail\n", "dismount = fail\n", "eject = fail\n",
                            "removal = fail\n", "close = fail\n"}) {
    TestMachine machine(WithStick(extra));
    ReleaseDriveRemovingLetter('E');
    EXPECT_EQ(machine.OpenHandles(), 0u) << extra;
    EXPECT_EQ(machine.CountCalls("close E:"), 1) << extra;
  }
}

struct MountCase {
  const char* name;
  std::string machine;
  bool external;
};

class ExternalVolume : public ::testing::TestWithParam<MountCase> {};

TEST_P(ExternalVolume, JudgesTheMountTableValue) {
  TestMachine machine(GetParam().machine);
  EXPECT_EQ(ExternalVolumeTest("E:"), GetParam().external);
}

const std::string kDevice = "mount = device:\\??\\USBSTOR#Disk\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, ExternalVolume,
    ::testing::Values(
        MountCase{"DevicePath", kSystemDisk + "[E:]\n" + kDevice, true},
        MountCase{"DevicePathWithoutSystemDisk", "[E:]\n" + kDevice, true},
        MountCase{"NoValue", kSystemDisk + "[E:]\n", false},
        MountCase{"OtherType", kSystemDisk + "[E:]\n" + kDevice + "mount-type = 1\n", false},
        MountCase{"BothBytesDiffer", kSystemDisk + "[E:]\nmount = hex:11 22 33 44\n", true},
        MountCase{"FirstByteEqual", kSystemDisk + "[E:]\nmount = hex:aa 22 33 44\n", false},
        MountCase{"SecondByteEqual", kSystemDisk + "[E:]\nmount = hex:11 bb 33 44\n", false},
        MountCase{"SystemDiskMissing", "[E:]\nmount = hex:11 22 33 44\n", false},
        MountCase{"SystemDiskOtherType",
                  kSystemDisk + "mount-type = 4\n[E:]\nmount = hex:11 22 33 44\n", false},
        MountCase{"TooLarge",
                  kSystemDisk + "[E:]\nmount = hex:" +
                      [] {
                        std::string bytes = "5c 00 3f 00 3f 00 5c 00";
                        for (int i = 8; i < 1025; ++i) bytes += " 41";
                        return bytes;
                      }() +
                      "\n",
                  false},
        // Values shorter than the bytes examined: the zero-filled rest of the
        // buffer must not complete the prefix or the comparison.
        MountCase{"ShortPrefix",
                  "[C:]\nmount = hex:5c 00 11 22\n[E:]\nmount = hex:5c 00 3f 00 3f 00 5c\n", false},
        MountCase{"OneByte", kSystemDisk + "[E:]\nmount = hex:11\n", false},
        MountCase{"EmptyValue", kSystemDisk + "[E:]\nmount = hex:\n", false},
        MountCase{"SystemDiskOneByte", "[C:]\nmount = hex:aa\n[E:]\nmount = hex:11 22 33\n",
                  false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExternalVolumeTest, ValueOfAnotherTypeIsRejectedWithoutReadingTheSystemDisk) {
  TestMachine machine(kSystemDisk + "[E:]\nmount = hex:11 22 33 44\nmount-type = 1\n");
  EXPECT_FALSE(ExternalVolumeTest("E:"));
  EXPECT_EQ(machine.CountCalls("mount-value C:"), 0);
}

TEST(ExternalVolumeTest, SystemDiskPassesOnlyInDevicePathForm) {
  {
    TestMachine machine(kSystemDisk);
    EXPECT_FALSE(ExternalVolumeTest("C:"));
  }
  {
    TestMachine machine("[C:]\n" + kDevice);
    EXPECT_TRUE(ExternalVolumeTest("C:"));
  }
}

TEST(ExternalVolumeTest, AbsentOrEmptyDriveTextIsFalse) {
  TestMachine machine(kSystemDisk + "[E:]\n" + kDevice);
  EXPECT_FALSE(ExternalVolumeTest(nullptr));
  EXPECT_FALSE(ExternalVolumeTest(""));
  EXPECT_TRUE(machine.Calls().empty());
}

TEST(IsExternalDrive, AdmitsOnlyFixedAndRemovableDrives) {
  const struct {
    const char* type;
    bool admitted;
  } cases[] = {{"removable", true}, {"fixed", true},    {"cdrom", false},  {"remote", false},
               {"ramdisk", false},  {"unknown", false}, {"no-root", false}};
  for (const auto& c : cases) {
    TestMachine machine(kSystemDisk + "[E:]\ntype = " + c.type + "\n" + kDevice);
    EXPECT_EQ(IsExternalDrive('E'), c.admitted) << c.type;
    if (!c.admitted) {
      EXPECT_EQ(machine.CountCalls("mount-value"), 0) << c.type;
    }
  }
}

}  // namespace
}  // namespace ausklink
