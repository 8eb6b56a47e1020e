#include "utillib/foundation/network_drives.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/emulated/emulated_machine.h"

namespace utillib {
namespace {

using Calls = std::vector<std::string>;

// An emulated machine loaded from its text form and installed for the test.
class ScriptedMachine {
 public:
  explicit ScriptedMachine(const std::string& text) {
    std::string error;
    EXPECT_TRUE(machine_.Load(text, "test", &error)) << error;
  }
  platform::EmulatedMachine& operator*() { return machine_; }
  platform::EmulatedMachine* operator->() { return &machine_; }

 private:
  platform::EmulatedMachine machine_;
  platform::ScopedMachine installed_{machine_};
};

const char kNetwork[] = R"(
[C:]
remote = \\server\c
connection = remembered
[D:]
remote = \\server\d
connection = connected
[E:]
remote = \\server\e
connection = remembered
[F:]
remote = \\server\f
connection = unreachable
[G:]
type = fixed
[H:]
type = unknown
remote = \\server\h
connection = connected
[Z:]
remote = \\server\z
connection = remembered
)";

TEST(ReconnectNetworkDrive, ResultFollowsTheConnectionState) {
  ScriptedMachine machine(kNetwork);
  const struct {
    char letter;
    int result;
    Calls calls;
  } cases[] = {
      {'D', RECONNECT_ALREADY, {"connection D: connected"}},
      {'E', RECONNECT_DONE, {"connection E: remembered", "add-connection E: ok"}},
      {'E', RECONNECT_ALREADY, {"connection E: connected"}},  // connected from now on
      {'F', RECONNECT_FAILED, {"connection F: remembered", "add-connection F: fail"}},
      {'G', RECONNECT_FAILED, {"connection G: failed"}},  // local drive
      {'K', RECONNECT_FAILED, {"connection K: failed"}},  // free letter
      {'\0', RECONNECT_NO_LETTER, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.letter);
    machine->ClearCalls();
    EXPECT_EQ(ReconnectNetworkDrive(c.letter), c.result);
    EXPECT_EQ(machine->Calls(), c.calls);
  }
  EXPECT_EQ(machine->GetDriveType("E:"), platform::DriveType::Remote);
}

TEST(ReconnectNetworkDrive, RemoteNameMustFitItsBuffer) {
  ScriptedMachine machine(
      "[D:]\nremote = x\nconnection = connected\n[E:]\nremote = x\n"
      "connection = remembered\n");
  for (char letter : {'D', 'E'}) {
    SCOPED_TRACE(letter);
    machine->Drive(letter).remote = "\\\\" + std::string(REMOTE_NAME_SIZE - 3, 's');
    EXPECT_EQ(ReconnectNetworkDrive(letter), letter == 'D' ? RECONNECT_ALREADY : RECONNECT_DONE);
    machine->Drive(letter).remote += 's';
    machine->Drive(letter).connection =
        letter == 'D' ? platform::Connection::Connected : platform::Connection::Remembered;
    machine->ClearCalls();
    EXPECT_EQ(ReconnectNetworkDrive(letter), RECONNECT_FAILED);
    EXPECT_EQ(machine->Calls(), Calls{std::string("connection ") + letter + ": failed"});
  }
}

TEST(ReconnectAllNetworkDrives, ExaminesDToZByDriveTypeAndReports) {
  for (bool verbose : {true, false}) {
    SCOPED_TRACE(verbose);
    ScriptedMachine machine(kNetwork);
    platform::ConsoleCapture console;
    EXPECT_EQ(ReconnectAllNetworkDrives(verbose), 0);
    EXPECT_EQ(console.Text(), verbose ? "... Netzlaufwerk D ist bereits geoeffnet\n"
                                        "... Netzlaufwerk E geoeffnet\n"
                                        "... Netzlaufwerk H ist bereits geoeffnet\n"
                                        "... Netzlaufwerk Z geoeffnet\n"
                                      : "");

    const Calls& calls = machine->Calls();
    // The connected drive D is reported from its type, without a query.
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0], "drive-type D: remote");
    EXPECT_EQ(calls[1], "drive-type E: no-root");
    EXPECT_EQ(calls[2], "connection E: remembered");
    EXPECT_EQ(calls[3], "add-connection E: ok");
    int typeQueries = 0;
    for (const auto& line : calls) {
      EXPECT_EQ(line.find("C:"), std::string::npos) << line;
      EXPECT_NE(line, "connection D: connected");
      EXPECT_NE(line, "connection G: failed");  // a fixed drive is passed over
      typeQueries += line.rfind("drive-type ", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(typeQueries, 23);
    EXPECT_EQ(calls.back(), "add-connection Z: ok");
  }
}

}  // namespace
}  // namespace utillib
