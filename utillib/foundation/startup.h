// Library start-up state.
#pragma once

namespace utillib {

// Fills the library's process-wide start-up state; returns 0.
int LibraryStartup();

}  // namespace utillib
