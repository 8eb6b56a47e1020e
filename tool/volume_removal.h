// The volume removal engine: decides from the mount table whether a drive is
// an external (USB or FireWire) volume, and releases one volume through the
// volume control requests, optionally removing its drive letter.
#pragma once

#include <cstddef>

#include "platform/machine.h"

namespace ausklink {

// Per-drive result of a release.
using RemovalResult = int;
inline constexpr RemovalResult REMOVAL_DONE = 0;
inline constexpr RemovalResult REMOVAL_NOT_EXTERNAL = 1;
inline constexpr RemovalResult REMOVAL_OPEN_FAILED = 2;
// The volume could not be locked (still in use) or dismounted: it was not
// released and must not be unplugged.
inline constexpr RemovalResult REMOVAL_LOCK_FAILED = 3;
inline constexpr RemovalResult REMOVAL_DISMOUNT_FAILED = 4;
inline constexpr RemovalResult REMOVAL_CLOSE_FAILED = 99;

inline constexpr int LOCK_ATTEMPTS = 20;
inline constexpr unsigned LOCK_RETRY_DELAY_MS = 500;
inline constexpr std::size_t MOUNT_TABLE_VALUE_SIZE = 1024;
// Longest mount-table value name, terminator included.
inline constexpr std::size_t MOUNT_VALUE_NAME_SIZE = 256;

// True when the mount-table value of driveSpec ("E:") marks an external
// volume: a device path, or a disk signature whose first two bytes both
// differ from those of the system disk C:.
bool ExternalVolumeTest(const char* driveSpec);

// The drive gate of the sweeps: a fixed or removable drive that passes
// ExternalVolumeTest.
bool IsExternalDrive(char letter);

platform::VolumeHandle OpenVolume(char letter);
bool CloseVolume(platform::VolumeHandle volume);
// Up to LOCK_ATTEMPTS lock requests, LOCK_RETRY_DELAY_MS after each failure.
bool LockVolume(platform::VolumeHandle volume);
bool DismountVolume(platform::VolumeHandle volume);
bool ControlMediaRemoval(platform::VolumeHandle volume, bool prevent);
bool EjectMedia(platform::VolumeHandle volume);
bool RemoveDriveLetter(char letter);

// The release sequence: test, open, lock, dismount, allow removal, eject,
// close. A failed lock or dismount gives its own result; a refused media
// removal or eject after a successful dismount still counts as done.
RemovalResult ReleaseDrive(char letter);
// The same, removing the drive letter after the eject step.
RemovalResult ReleaseDriveRemovingLetter(char letter);

}  // namespace ausklink
