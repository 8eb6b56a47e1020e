#include "platform/host.h"

namespace platform {

bool RunningUnderWine() {
  return false;
}

}  // namespace platform
