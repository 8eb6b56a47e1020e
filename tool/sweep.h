// The sweep over the drive letters D to Z: every drive that is not excluded
// and passes the drive gate is released; the outcomes are counted and, when
// verbose, printed one line per drive.
#pragma once

#include <cstddef>

namespace ausklink {

inline constexpr char FIRST_SWEEP_LETTER = 'D';
inline constexpr char LAST_SWEEP_LETTER = 'Z';
// Copy of the exclusions kept by FindFirstExternalDrive, terminator included.
inline constexpr std::size_t EXCLUSION_COPY_SIZE = 100;

// Each upper-cases exclusions in place (null counts as empty), sets the
// counters to 0 and returns 0. tested counts drives that passed the gate,
// released those whose release was done, failed every other result except
// "not external".
int ReleaseAllDrives(char* exclusions, int& tested, int& released, int& failed, bool verbose);
int ReleaseAllDrivesRemovingLetters(char* exclusions, int& tested, int& released, int& failed,
                                    bool verbose);
int ReleaseAllDrivesQuiet(char* exclusions);
int ReleaseAllDrivesRemovingLettersQuiet(char* exclusions);

// True when the drive's root directory has at least one entry.
bool DriveHasRootEntries(char letter);

// First external drive with root entries, walking D to Z (Z to D when
// reverse), skipping the letters in exclusions (of which the first 99
// characters count); the zero character when there is none.
char FindFirstExternalDrive(const char* exclusions, bool reverse = false);

}  // namespace ausklink
