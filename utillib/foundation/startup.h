// Library start-up state.
#pragma once

namespace utillib {

// When true, the library's "now" is a fixed moment (set by the tool for
// reproducible output).
extern bool fixedDate;
// True once LibraryStartup has run.
extern bool started;

// Fills the library's process-wide start-up state; returns 0.
int LibraryStartup();

}  // namespace utillib
