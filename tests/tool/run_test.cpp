#include "tool/run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/console.h"
#include "support/expected_usage.h"
#include "support/test_machine.h"
#include "tool/volume_removal.h"
#include "utillib/foundation/startup.h"

namespace ausklink {
namespace {

using testsupport::TestMachine;

const std::string kMachine =
    "[C:]\ntype = fixed\nmount = hex:aa bb cc dd\n"
    "[E:]\ntype = removable\nmount = device:\\??\\USBSTOR#E\n"
    "[F:]\ntype = removable\nmount = device:\\??\\USBSTOR#F\nlock = busy\n";

struct Outcome {
  int exitCode;
  std::string output;
  int keyReads;
};

Outcome RunTool(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "ausklink.exe");
  std::vector<const char*> argv;
  for (const auto& argument : arguments) argv.push_back(argument.c_str());
  platform::ConsoleCapture console;
  int code = RunAusklink(static_cast<int>(argv.size()), argv.data());
  return {code, console.Text(), console.KeyReads()};
}

TEST(Run, WithoutArgumentsShowsTheUsageScreenAndWaitsForAKey) {
  TestMachine machine(kMachine);
  Outcome outcome = RunTool({});
  EXPECT_EQ(outcome.exitCode, 0);
  EXPECT_EQ(outcome.output, testsupport::kUsageScreen);
  EXPECT_EQ(outcome.keyReads, 1);
  EXPECT_TRUE(utillib::started);
}

TEST(Run, FrameworkFailureEndsWithExitCode1) {
  TestMachine machine(kMachine);
  machine.SetFrameworkOk(false);
  utillib::started = false;
  Outcome outcome = RunTool({"E"});
  EXPECT_FALSE(utillib::started) << "the library start-up must not run";
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(outcome.output, "Schwerwiegender Fehler: MFC-Initialisierung fehlgeschlagen\n");
  EXPECT_EQ(outcome.keyReads, 0);
  EXPECT_TRUE(machine.DeviceCalls().empty());
}

TEST(Run, SingleDriveInEveryWritingNamesTheCapitalLetter) {
  for (const char* argument : {"e", "E", "e:", "E:"}) {
    TestMachine machine(kMachine);
    Outcome outcome = RunTool({argument});
    EXPECT_EQ(outcome.output, "pruefe Laufwerk E ... erfolgreich abgemeldet\n") << argument;
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.keyReads, 1);
  }
}

TEST(Run, ResultTextsForASingleDrive) {
  const struct {
    std::vector<std::string> arguments;
    const char* output;
    int keyReads;
  } cases[] = {
      {{"E", "/R"}, "pruefe Laufwerk E ... erfolgreich entfernt\n", 1},
      {{"E", "/RX"}, "pruefe Laufwerk E ... erfolgreich entfernt\n", 1},  // /RX is /R only
      {{"E", "/xyz"}, "pruefe Laufwerk E ... erfolgreich abgemeldet\n", 0},
      {{"E", "/x", "/r"}, "pruefe Laufwerk E ... erfolgreich entfernt\n", 0},
      {{"E", "/E=E", "/X"}, "pruefe Laufwerk E ... erfolgreich abgemeldet\n", 0},
      {{"E", "/Q", "X"}, "pruefe Laufwerk E ... erfolgreich abgemeldet\n", 1},
      {{"F", "/X"}, "pruefe Laufwerk F ... FEHLER beim abmelden\n", 0},
      {{"F", "/R"}, "pruefe Laufwerk F ... FEHLER beim entfernen\n", 1},
      {{"1"}, "pruefe Laufwerk 1 ... kein USB oder FireWire\n", 1},
      {{"G", "/R", "/X"}, "pruefe Laufwerk G ... kein USB oder FireWire\n", 0},
  };
  for (const auto& c : cases) {
    TestMachine machine(kMachine);
    Outcome outcome = RunTool(c.arguments);
    EXPECT_EQ(outcome.output, c.output) << c.arguments[1 % c.arguments.size()];
    EXPECT_EQ(outcome.keyReads, c.keyReads) << c.output;
    EXPECT_EQ(outcome.exitCode, 0);
  }
}

TEST(Run, MalformedDriveArgumentEndsSilently) {
  const std::string arguments[] = {
      "", "EF", "E:\\", "E:\\DATA", "ALL:", "/R", std::string(5000, 'E')};
  for (const std::string& argument : arguments) {
    TestMachine machine(kMachine);
    Outcome outcome = RunTool({argument, "E:"});
    EXPECT_EQ(outcome.exitCode, 0) << argument;
    EXPECT_EQ(outcome.output, "") << argument;
    EXPECT_EQ(outcome.keyReads, 0) << argument;
    EXPECT_TRUE(machine.DeviceCalls().empty()) << argument;
  }
}

TEST(Run, AllSweepsAndPrintsTheSummary) {
  for (const char* all : {"all", "All", "ALL"}) {
    TestMachine machine(kMachine);
    Outcome outcome = RunTool({all, "/X"});
    EXPECT_EQ(outcome.output,
              "pruefe Laufwerk E ... abgemeldet\n"
              "pruefe Laufwerk F ... FEHLER beim abmelden\n"
              "\nGetestete Laufwerke : 2\n"
              "   ... 1 Laufwerke abgemeldet\n"
              "   ... 1 Laufwerke konnten nicht abgemeldet werden\n")
        << all;
    EXPECT_EQ(outcome.keyReads, 0);
    EXPECT_EQ(outcome.exitCode, 0);
  }
}

TEST(Run, AllWithExclusionsAndLetterRemoval) {
  TestMachine machine(kMachine);
  Outcome outcome = RunTool({"ALL", "/e=cf", "/R"});
  EXPECT_EQ(outcome.output,
            "pruefe Laufwerk E ... entfernt\n"
            "\nGetestete Laufwerke : 1\n"
            "   ... 1 Laufwerke entfernt\n"
            "   ... 0 Laufwerke konnten nicht entfernt werden\n");
  EXPECT_EQ(outcome.keyReads, 1);
  EXPECT_EQ(machine.CountCalls("remove-letter E: ok"), 1);
  EXPECT_EQ(machine.CountCalls("open F:"), 0);
}

TEST(Run, AllWithoutExternalDrivesReportsZeros) {
  TestMachine machine("[C:]\nmount = hex:aa bb\n");
  Outcome outcome = RunTool({"ALL", "/X", "/E=" + std::string(5000, 'q')});
  EXPECT_EQ(outcome.output,
            "\nGetestete Laufwerke : 0\n"
            "   ... 0 Laufwerke abgemeldet\n"
            "   ... 0 Laufwerke konnten nicht abgemeldet werden\n");
}

TEST(Run, LongExclusionsAreCutToTheArgumentBuffer) {
  // Of the letters after "/E=", the first 299 characters count: E is the
  // 299th and still excluded, F lies beyond and is dropped.
  TestMachine machine(kMachine);
  Outcome outcome = RunTool({"ALL", "/X", "/E=" + std::string(298, '-') + "EF"});
  EXPECT_EQ(outcome.output.find("pruefe Laufwerk E"), std::string::npos);
  EXPECT_NE(outcome.output.find("pruefe Laufwerk F"), std::string::npos);
}

}  // namespace
}  // namespace ausklink
