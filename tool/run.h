// The tool's run: framework initialisation, library start-up, arguments,
// the single-drive release or the sweep, and the final key wait.
#pragma once

#include <cstddef>

namespace ausklink {

// Each argument is examined in a buffer of this size; longer ones are cut.
inline constexpr std::size_t ARGUMENT_BUFFER_SIZE = 300;

inline constexpr const char* kBanner =
    "ausklink 1.0 - USB-Speichermedien und FireWire-Platten sicher abmelden";

// Runs the tool on the command line argv[0..argc-1]; returns the exit code.
int RunAusklink(int argc, const char* const* argv);

}  // namespace ausklink
