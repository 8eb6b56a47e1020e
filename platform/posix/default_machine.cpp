// The POSIX machine: an emulated Windows machine read from the file that
// AUSKLINK_MACHINE names (no drives without it). AUSKLINK_MACHINE_LOG names
// a file that receives one line per device call.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/emulated/emulated_machine.h"

namespace platform {

Machine& DefaultMachine() {
  static EmulatedMachine* machine = [] {
    auto* created = new EmulatedMachine();
    const char* file = std::getenv("AUSKLINK_MACHINE");
    if (file != nullptr && file[0] != '\0') {
      std::string error;
      if (!created->LoadFile(file, &error)) {
        std::fprintf(stderr, "ausklink: %s\n", error.c_str());
        std::exit(1);
      }
    }
    const char* log = std::getenv("AUSKLINK_MACHINE_LOG");
    if (log != nullptr && log[0] != '\0') created->SetLogFile(log);
    return created;
  }();
  return *machine;
}

}  // namespace platform
