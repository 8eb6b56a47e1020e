#include "utillib/foundation/network_drives.h"

#include "platform/console.h"
#include "platform/machine.h"

namespace utillib {

int ReconnectNetworkDrive(char letter) {
  if (letter == '\0') return RECONNECT_NO_LETTER;
  const char localName[] = {letter, ':', '\0'};
  char remote[REMOTE_NAME_SIZE] = {};
  platform::Machine& machine = platform::CurrentMachine();
  switch (machine.QueryConnection(localName, remote, sizeof remote)) {
    case platform::ConnectionQuery::Connected:
      return RECONNECT_ALREADY;
    case platform::ConnectionQuery::Unavailable:
      return machine.AddConnection(localName, remote) ? RECONNECT_DONE : RECONNECT_FAILED;
    case platform::ConnectionQuery::Failed:
      break;
  }
  return RECONNECT_FAILED;
}

int ReconnectAllNetworkDrives(bool verbose) {
  for (char letter = 'D'; letter <= 'Z'; ++letter) {
    const char driveSpec[] = {letter, ':', '\0'};
    switch (platform::CurrentMachine().GetDriveType(driveSpec)) {
      case platform::DriveType::Unknown:
      case platform::DriveType::NoRoot: {
        int result = ReconnectNetworkDrive(letter);
        if (!verbose) break;
        if (result == RECONNECT_DONE) {
          platform::ConsolePrint("... Netzlaufwerk %c geoeffnet\n", letter);
        } else if (result == RECONNECT_ALREADY) {
          platform::ConsolePrint("... Netzlaufwerk %c ist bereits geoeffnet\n", letter);
        }
        break;
      }
      case platform::DriveType::Remote:
        if (verbose) platform::ConsolePrint("... Netzlaufwerk %c ist bereits geoeffnet\n", letter);
        break;
      default:
        break;
    }
  }
  return 0;
}

platform::FindHandle FindFirstReconnecting(const char* pattern, platform::FindData* data,
                                           platform::FindScope scope) {
  platform::FindHandle search = platform::FindFirst(pattern, data, scope);
  if (search != platform::kInvalidFind || pattern == nullptr) return search;
  if (pattern[0] == '\0' || pattern[1] != ':') return search;
  char letter = pattern[0];
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  ReconnectNetworkDrive(letter);
  return platform::FindFirst(pattern, data, scope);
}

}  // namespace utillib
