// Test support: an emulated machine loaded from text and installed for the
// lifetime of a test, with helpers to read its call log.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/emulated/emulated_machine.h"

namespace testsupport {

class TestMachine : public platform::EmulatedMachine {
 public:
  explicit TestMachine(const std::string& text) {
    std::string error;
    EXPECT_TRUE(Load(text, "test.machine", &error)) << error;
    SetRealSleep(false);
    previous_ = platform::InstallMachine(this);
  }
  ~TestMachine() override { platform::InstallMachine(previous_); }

  // The recorded calls without the drive-type and mount-table queries.
  std::vector<std::string> DeviceCalls() const {
    std::vector<std::string> result;
    for (const auto& line : Calls()) {
      if (line.rfind("drive-type", 0) != 0 && line.rfind("mount-value", 0) != 0) {
        result.push_back(line);
      }
    }
    return result;
  }

  int CountCalls(const std::string& prefix) const {
    int count = 0;
    for (const auto& line : Calls()) count += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
  }

 private:
  platform::Machine* previous_;
};

// A fresh directory, removed with its contents at the end of the test.
class TempDirectory {
 public:
  TempDirectory() {
    static int counter = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("ausklink-test-" +
             std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
             std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& Path() const { return path_; }
  std::string String() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace testsupport
