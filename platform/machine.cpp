#include "platform/machine.h"

namespace platform {
namespace {
Machine* installed = nullptr;
}

Machine& CurrentMachine() {
  return installed != nullptr ? *installed : DefaultMachine();
}

Machine* InstallMachine(Machine* machine) {
  Machine* previous = installed;
  installed = machine;
  return previous;
}

}  // namespace platform
