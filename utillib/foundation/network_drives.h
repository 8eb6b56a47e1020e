// Network-drive reconnection: a drive letter that the user's profile
// remembers as a network drive, while its connection is down, is connected
// again before a failed access through it is tried once more.
#pragma once

#include <cstddef>

#include "platform/files.h"

namespace utillib {

// Results of ReconnectNetworkDrive.
inline constexpr int RECONNECT_DONE = 0;     // remembered, now connected again
inline constexpr int RECONNECT_ALREADY = 1;  // a connected network drive
inline constexpr int RECONNECT_FAILED = 2;   // not remembered, or the query or reconnection failed
inline constexpr int RECONNECT_NO_LETTER = 3;  // the letter was the zero character

// Size of the remote name buffer; a longer remote name makes the query fail.
inline constexpr std::size_t REMOTE_NAME_SIZE = 300;

// Reconnects the network drive letter (used in the case given; callers pass
// it upper-cased) with the current credentials, keeping it remembered in the
// user's profile. Returns one of the RECONNECT_ results.
int ReconnectNetworkDrive(char letter);

// Examines the letters D to Z: a letter without a root directory (or of
// undetermined type) is reconnected; a connected network drive is left as it
// is. When verbose, reports each reconnected or already connected drive on
// the console. Returns 0.
int ReconnectAllNetworkDrives(bool verbose);

// Starts a directory search for pattern; when it finds nothing and the
// pattern begins with a drive letter and a colon, reconnects that drive and
// searches once more. platform::kInvalidFind when nothing is found.
platform::FindHandle FindFirstReconnecting(const char* pattern, platform::FindData* data,
                                           platform::FindScope scope = platform::FindScope::All);

}  // namespace utillib
