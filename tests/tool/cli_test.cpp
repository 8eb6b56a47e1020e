// Black-box tests of the built ausklink binary: output, exit codes, the key
// wait through a pseudo-terminal, and the emulated machine's files.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/expected_usage.h"
#include "support/test_machine.h"

namespace {

struct Result {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  ssize_t got;
  while ((got = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, got);
  return text;
}

// Runs the binary with arguments and extra environment; standard input is
// the given text, or an open pipe that never delivers anything.
Result RunTool(const std::vector<std::string>& arguments,
               const std::vector<std::string>& environment = {}, const char* input = "",
               bool holdInputOpen = false) {
  int in[2], out[2], err[2];
  if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) return {};
  pid_t child = fork();
  if (child == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
    unsetenv("AUSKLINK_MACHINE");
    unsetenv("AUSKLINK_MACHINE_LOG");
    for (const auto& setting : environment) putenv(const_cast<char*>(setting.c_str()));
    std::vector<char*> argv{const_cast<char*>(AUSKLINK_BINARY)};
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(AUSKLINK_BINARY, argv.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  if (write(in[1], input, strlen(input)) < 0) {
  }
  if (!holdInputOpen) close(in[1]);
  Result result;
  result.out = ReadAll(out[0]);
  result.err = ReadAll(err[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (holdInputOpen) close(in[1]);
  close(out[0]);
  close(err[0]);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

TEST(Cli, UsageScreenByteForByte) {
  Result result = RunTool({});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, testsupport::kUsageScreen);
  EXPECT_EQ(result.err, "");
}

TEST(Cli, MalformedArgumentsEndSilentlyWithZero) {
  for (const char* argument : {"EF", "E:\\", "ALL:", "/R"}) {
    Result result = RunTool({argument, "E:"}, {}, "", true);
    EXPECT_EQ(result.exitCode, 0) << argument;
    EXPECT_EQ(result.out, "") << argument;
  }
}

class CliWithMachine : public ::testing::Test {
 protected:
  std::string Machine(const std::string& text) {
    std::string path = (directory_.Path() / "test.machine").string();
    std::ofstream(path) << text;
    return "AUSKLINK_MACHINE=" + path;
  }
  std::string Log() { return "AUSKLINK_MACHINE_LOG=" + (directory_.Path() / "calls.log").string(); }
  std::string LogText() {
    std::ifstream file(directory_.Path() / "calls.log");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }
  testsupport::TempDirectory directory_;
};

const char kStick[] =
    "sleep = skip\n[C:]\nmount = hex:aa bb\n"
    "[E:]\ntype = removable\nmount = device:\\??\\USBSTOR#Disk\n";

TEST_F(CliWithMachine, RemovingOptionWinsOverTheRestOfItsArgument) {
  // /RX counts as /R only: the letter is removed and the run waits for a key
  // (which standard input at its end answers).
  Result result = RunTool({"e:", "/RX"}, {Machine(kStick), Log()});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "pruefe Laufwerk E ... erfolgreich entfernt\n");
  EXPECT_NE(LogText().find("remove-letter E: ok\nclose E: ok\n"), std::string::npos);
}

TEST_F(CliWithMachine, OptionXEndsWithoutReadingAKey) {
  // Standard input stays open and silent: without /X this would wait.
  Result result = RunTool({"E", "/X"}, {Machine(kStick)}, "", true);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "pruefe Laufwerk E ... erfolgreich abgemeldet\n");
}

TEST_F(CliWithMachine, LogsTheReleaseSequence) {
  Result result = RunTool({"E", "/X"}, {Machine(kStick), Log()});
  std::string log = LogText();
  std::string sequence;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("drive-type", 0) != 0 && line.rfind("mount-value", 0) != 0) {
      sequence += line + "\n";
    }
  }
  EXPECT_EQ(sequence,
            "open E: read-write ok\nlock E: ok\ndismount E: ok\nmedia-removal E: allow ok\n"
            "eject E: ok\nclose E: ok\n");
}

TEST_F(CliWithMachine, BadMachineFileIsOneLineOnStandardErrorAndExitCode1) {
  std::string setting = Machine("[E:]\ntype = removable\nspeed = fast\n");
  Result result = RunTool({"E", "/X"}, {setting});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "");
  std::string path = setting.substr(setting.find('=') + 1);
  EXPECT_EQ(result.err, "ausklink: " + path + ":3: unknown key 'speed'\n");
}

TEST(Cli, ExampleMachineSweep) {
  Result result = RunTool({"ALL", "/X"}, {"AUSKLINK_MACHINE=" EXAMPLES_DIR "/office.machine"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out,
            "pruefe Laufwerk E ... abgemeldet\n"
            "pruefe Laufwerk F ... abgemeldet\n"
            "pruefe Laufwerk G ... abgemeldet\n"
            "\nGetestete Laufwerke : 3\n"
            "   ... 3 Laufwerke abgemeldet\n"
            "   ... 0 Laufwerke konnten nicht abgemeldet werden\n");
}

// Reads from the pseudo-terminal until text ends with suffix or time runs out.
bool ReadUntil(int fd, std::string* text, const std::string& suffix) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    if (text->size() >= suffix.size() &&
        text->compare(text->size() - suffix.size(), suffix.size(), suffix) == 0) {
      return true;
    }
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 100) > 0) {
      char buffer[512];
      ssize_t got = read(fd, buffer, sizeof buffer);
      if (got <= 0) return false;
      text->append(buffer, got);
    }
  }
  return false;
}

TEST(Cli, KeyWaitTakesOneKeyWithoutEchoAndWithoutEnter) {
  int terminal = -1;
  pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
  ASSERT_GE(child, 0);
  if (child == 0) {
    unsetenv("AUSKLINK_MACHINE");
    execl(AUSKLINK_BINARY, AUSKLINK_BINARY, static_cast<char*>(nullptr));
    _exit(127);
  }
  std::string text;
  ASSERT_TRUE(ReadUntil(terminal, &text, "Eingabeaufforderung.\r\n")) << text;
  // Still waiting for the key.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  int status = 0;
  EXPECT_EQ(waitpid(child, &status, WNOHANG), 0);
  ASSERT_EQ(write(terminal, "q", 1), 1);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  pid_t done = 0;
  while (done == 0 && std::chrono::steady_clock::now() < deadline) {
    pollfd p{terminal, POLLIN, 0};
    if (poll(&p, 1, 50) > 0) {
      char buffer[64];
      ssize_t got = read(terminal, buffer, sizeof buffer);
      if (got > 0) text.append(buffer, got);
    }
    done = waitpid(child, &status, WNOHANG);
  }
  if (done == 0) {
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
  }
  close(terminal);
  ASSERT_EQ(done, child) << "no exit after one key";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(text.find('q'), std::string::npos) << "the key was echoed";
}

}  // namespace
