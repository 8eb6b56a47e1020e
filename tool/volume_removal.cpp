#include "tool/volume_removal.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace ausklink {
namespace {

using platform::CurrentMachine;
using platform::VolumeHandle;
using platform::VolumeRequest;

// Reads the mount-table value of driveSpec into buffer (zero-filled first).
// True when the value was read and is binary; *size is its byte count.
bool ReadMountValue(const char* driveSpec, std::uint8_t (&buffer)[MOUNT_TABLE_VALUE_SIZE],
                    std::size_t* size) {
  char name[MOUNT_VALUE_NAME_SIZE];
  std::snprintf(name, sizeof name, "\\DosDevices\\%s", driveSpec);
  std::memset(buffer, 0, sizeof buffer);
  std::uint32_t type = 0;
  *size = 0;
  if (CurrentMachine().QueryMountValue(name, buffer, sizeof buffer, &type, size) !=
      platform::MountQuery::Ok) {
    return false;
  }
  if (*size > sizeof buffer) *size = sizeof buffer;
  return type == platform::kMountValueBinary;
}

// "\??\" in UTF-16LE: the start of a device path.
constexpr std::uint8_t kDevicePathPrefix[8] = {0x5C, 0x00, 0x3F, 0x00, 0x3F, 0x00, 0x5C, 0x00};

RemovalResult Release(char letter, bool removeLetter) {
  const char driveSpec[3] = {letter, ':', '\0'};
  if (!ExternalVolumeTest(driveSpec)) return REMOVAL_NOT_EXTERNAL;
  VolumeHandle volume = OpenVolume(letter);
  if (volume == platform::kInvalidVolume) return REMOVAL_OPEN_FAILED;
  RemovalResult result = REMOVAL_DONE;
  if (!LockVolume(volume)) {
    result = REMOVAL_LOCK_FAILED;
  } else if (!DismountVolume(volume)) {
    result = REMOVAL_DISMOUNT_FAILED;
  } else {
    if (ControlMediaRemoval(volume, false)) EjectMedia(volume);
    if (removeLetter) RemoveDriveLetter(letter);
  }
  if (!CloseVolume(volume)) return REMOVAL_CLOSE_FAILED;
  return result;
}

}  // namespace

bool ExternalVolumeTest(const char* driveSpec) {
  if (driveSpec == nullptr || driveSpec[0] == '\0') return false;
  std::uint8_t value[MOUNT_TABLE_VALUE_SIZE];
  std::size_t size = 0;
  if (!ReadMountValue(driveSpec, value, &size)) return false;
  // Only bytes the query returned are examined: a short value matches
  // neither the prefix nor the two-byte comparison.
  if (size >= sizeof kDevicePathPrefix &&
      std::memcmp(value, kDevicePathPrefix, sizeof kDevicePathPrefix) == 0) {
    return true;
  }
  std::uint8_t system[MOUNT_TABLE_VALUE_SIZE];
  std::size_t systemSize = 0;
  if (!ReadMountValue("C:", system, &systemSize)) return false;
  if (size < 2 || systemSize < 2) return false;
  return value[0] != system[0] && value[1] != system[1];
}

bool IsExternalDrive(char letter) {
  const char driveSpec[3] = {letter, ':', '\0'};
  platform::DriveType type = CurrentMachine().GetDriveType(driveSpec);
  if (type != platform::DriveType::Fixed && type != platform::DriveType::Removable) return false;
  return ExternalVolumeTest(driveSpec);
}

VolumeHandle OpenVolume(char letter) {
  const char root[4] = {letter, ':', '\\', '\0'};
  platform::VolumeAccess access;
  switch (CurrentMachine().GetDriveType(root)) {
    case platform::DriveType::Removable:
    case platform::DriveType::Fixed:
      access = platform::VolumeAccess::ReadWrite;
      break;
    case platform::DriveType::CdRom:
      access = platform::VolumeAccess::Read;
      break;
    default:
      return platform::kInvalidVolume;
  }
  const char device[7] = {'\\', '\\', '.', '\\', letter, ':', '\0'};
  return CurrentMachine().OpenVolume(device, access);
}

bool CloseVolume(VolumeHandle volume) {
  return CurrentMachine().CloseVolume(volume);
}

bool LockVolume(VolumeHandle volume) {
  for (int attempt = 0; attempt < LOCK_ATTEMPTS; ++attempt) {
    if (CurrentMachine().ControlVolume(volume, VolumeRequest::Lock, nullptr, 0)) return true;
    CurrentMachine().Sleep(LOCK_RETRY_DELAY_MS);
  }
  return false;
}

bool DismountVolume(VolumeHandle volume) {
  return CurrentMachine().ControlVolume(volume, VolumeRequest::Dismount, nullptr, 0);
}

bool ControlMediaRemoval(VolumeHandle volume, bool prevent) {
  const std::uint8_t flag = prevent ? 1 : 0;
  return CurrentMachine().ControlVolume(volume, VolumeRequest::MediaRemoval, &flag, 1);
}

bool EjectMedia(VolumeHandle volume) {
  return CurrentMachine().ControlVolume(volume, VolumeRequest::Eject, nullptr, 0);
}

bool RemoveDriveLetter(char letter) {
  const char driveSpec[3] = {letter, ':', '\0'};
  return CurrentMachine().RemoveDosDevice(driveSpec);
}

RemovalResult ReleaseDrive(char letter) {
  return Release(letter, false);
}

RemovalResult ReleaseDriveRemovingLetter(char letter) {
  return Release(letter, true);
}

}  // namespace ausklink
