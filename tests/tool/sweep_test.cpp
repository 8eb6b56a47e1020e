#include "tool/sweep.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/console.h"
#include "support/test_machine.h"
#include "tool/volume_removal.h"

namespace ausklink {
namespace {

using testsupport::TempDirectory;
using testsupport::TestMachine;

const std::string kSystemDisk = "[C:]\ntype = fixed\nmount = hex:aa bb cc dd 00 7e 00 00\n";

std::string External(char letter, const std::string& extra = "") {
  return std::string("[") + letter + ":]\ntype = removable\nmount = device:\\??\\USBSTOR#" +
         letter + "\n" + extra;
}

// D released, E busy, F an internal disk (fails the gate), G refuses to
// dismount, H not excluded but without a mount-table value, K released.
const std::string kMixed = kSystemDisk + External('D') + External('E', "lock = busy\n") +
                           "[F:]\ntype = fixed\nmount = hex:aa 00 00 00\n" +
                           External('G', "dismount = fail\n") + "[H:]\ntype = removable\n" +
                           External('K');

TEST(ReleaseAllDrives, CountsAndPrintsEachExternalDrive) {
  TestMachine machine(kMixed);
  platform::ConsoleCapture console;
  char exclusions[] = "";
  int tested = -1, released = -1, failed = -1;
  EXPECT_EQ(ReleaseAllDrives(exclusions, tested, released, failed, true), 0);
  EXPECT_EQ(console.Text(),
            "pruefe Laufwerk D ... abgemeldet\n"
            "pruefe Laufwerk E ... FEHLER beim abmelden\n"
            "pruefe Laufwerk G ... FEHLER beim abmelden\n"
            "pruefe Laufwerk K ... abgemeldet\n");
  EXPECT_EQ(tested, 4);
  EXPECT_EQ(released, 2);
  EXPECT_EQ(failed, 2);
  EXPECT_EQ(machine.CountCalls("remove-letter"), 0);
}

TEST(ReleaseAllDrives, RemovingLettersUsesItsOwnTextsAndRemovesTheLetters) {
  TestMachine machine(kMixed);
  platform::ConsoleCapture console;
  char exclusions[] = "";
  int tested, released, failed;
  ReleaseAllDrivesRemovingLetters(exclusions, tested, released, failed, true);
  EXPECT_EQ(console.Text(),
            "pruefe Laufwerk D ... entfernt\n"
            "pruefe Laufwerk E ... FEHLER beim entfernen\n"
            "pruefe Laufwerk G ... FEHLER beim entfernen\n"
            "pruefe Laufwerk K ... entfernt\n");
  EXPECT_EQ(machine.CountCalls("remove-letter"), 2);
}

TEST(ReleaseAllDrives, ExclusionsAreUpperCasedInPlaceAndSkipped) {
  TestMachine machine(kMixed);
  platform::ConsoleCapture console;
  char exclusions[] = "d,k x";
  int tested, released, failed;
  ReleaseAllDrives(exclusions, tested, released, failed, false);
  EXPECT_STREQ(exclusions, "D,K X");
  EXPECT_EQ(tested, 2);
  EXPECT_EQ(released, 0);
  EXPECT_EQ(machine.CountCalls("open D:"), 0);
  EXPECT_EQ(machine.CountCalls("drive-type D:"), 0);
  EXPECT_EQ(machine.CountCalls("open K:"), 0);
  EXPECT_EQ(console.Text(), "");
}

TEST(ReleaseAllDrives, NeverExaminesAToC) {
  TestMachine machine(
      "[A:]\ntype = removable\nmount = device:\\??\\A\n"
      "[C:]\ntype = fixed\nmount = device:\\??\\C\n");
  char exclusions[] = "";
  int tested, released, failed;
  ReleaseAllDrives(exclusions, tested, released, failed, false);
  EXPECT_EQ(tested, 0);
  EXPECT_EQ(machine.CountCalls("drive-type A:") + machine.CountCalls("drive-type C:"), 0);
  EXPECT_EQ(machine.CountCalls("drive-type "), 23);
}

TEST(ReleaseAllDrives, QuietMembersPrintNothingButRelease) {
  for (bool removing : {false, true}) {
    TestMachine machine(kMixed);
    platform::ConsoleCapture console;
    char exclusions[] = "e";
    EXPECT_EQ(removing ? ReleaseAllDrivesRemovingLettersQuiet(exclusions)
                       : ReleaseAllDrivesQuiet(exclusions),
              0);
    EXPECT_EQ(console.Text(), "");
    EXPECT_STREQ(exclusions, "E");
    EXPECT_EQ(machine.CountCalls("eject D: ok"), 1);
    EXPECT_EQ(machine.CountCalls("remove-letter"), removing ? 2 : 0);
  }
}

// A machine whose mount table loses E:'s value between the gate and the release.
class ChangingMachine : public TestMachine {
 public:
  using TestMachine::TestMachine;
  platform::MountQuery QueryMountValue(const char* name, void* buffer, std::size_t capacity,
                                       std::uint32_t* type, std::size_t* size) override {
    if (std::string(name) == "\\DosDevices\\E:" && ++queries_ > 1) {
      return platform::MountQuery::Missing;
    }
    return TestMachine::QueryMountValue(name, buffer, capacity, type, size);
  }

 private:
  int queries_ = 0;
};

TEST(ReleaseAllDrives, DriveThatStopsBeingExternalCountsAsTestedOnly) {
  ChangingMachine machine(kSystemDisk + External('E'));
  platform::ConsoleCapture console;
  char exclusions[] = "";
  int tested, released, failed;
  ReleaseAllDrives(exclusions, tested, released, failed, true);
  EXPECT_EQ(console.Text(), "pruefe Laufwerk E ... kein USB oder FireWire\n");
  EXPECT_EQ(tested, 1);
  EXPECT_EQ(released, 0);
  EXPECT_EQ(failed, 0);
}

class RootedDrives : public ::testing::Test {
 protected:
  // F and K external with one file each, M external with an empty root.
  std::string Machine() {
    std::ofstream(f_.Path() / "a.txt") << "a";
    std::ofstream(k_.Path() / "b.txt") << "b";
    return kSystemDisk + External('F', "root = " + f_.String() + "\n") +
           External('K', "root = " + k_.String() + "\n") +
           External('M', "root = " + empty_.String() + "\n") +
           "[N:]\ntype = fixed\nmount = hex:aa 00\nroot = " + f_.String() + "\n";
  }
  TempDirectory f_, k_, empty_;
};

TEST_F(RootedDrives, DriveHasRootEntries) {
  TestMachine machine(Machine());
  EXPECT_TRUE(DriveHasRootEntries('F'));
  EXPECT_FALSE(DriveHasRootEntries('M'));
  EXPECT_FALSE(DriveHasRootEntries('Q'));
}

TEST_F(RootedDrives, FindFirstExternalDriveWalksBothWaysAndSkipsEmptyMedia) {
  TestMachine machine(Machine());
  EXPECT_EQ(FindFirstExternalDrive("", false), 'F');
  EXPECT_EQ(FindFirstExternalDrive("", true), 'K');
  EXPECT_EQ(FindFirstExternalDrive("f"), 'K');
  EXPECT_EQ(FindFirstExternalDrive("F,K"), '\0');
  EXPECT_EQ(FindFirstExternalDrive(nullptr), 'F');
}

TEST_F(RootedDrives, FindFirstExternalDriveLooksAtTheFirst99CharactersOnly) {
  TestMachine machine(Machine());
  std::string exclusions(99, '-');
  EXPECT_EQ(FindFirstExternalDrive((exclusions + "F").c_str()), 'F');
  exclusions[98] = 'F';
  EXPECT_EQ(FindFirstExternalDrive(exclusions.c_str()), 'K');
  std::string huge(100000, 'x');
  EXPECT_EQ(FindFirstExternalDrive(huge.c_str()), 'F');
}

}  // namespace
}  // namespace ausklink
