#include "utillib/foundation/startup.h"

namespace utillib {

int LibraryStartup() { return 0; }

}  // namespace utillib
