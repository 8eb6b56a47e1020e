#include "utillib/foundation/startup.h"

namespace utillib {

bool fixedDate = false;
bool started = false;

int LibraryStartup() {
  return 0;
}

}  // namespace utillib
