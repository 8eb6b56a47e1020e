// The Win32 machine: every call goes to the real system.
#include "platform/machine.h"

// clang-format off
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <winioctl.h>
#include <winnetwk.h>
// clang-format on

#include <climits>
#include <cstring>

// The ANSI names of these calls are used explicitly; the macros would rename
// the Machine methods of the same names.
#undef GetDriveType

namespace platform {
namespace {

HANDLE ToHandle(VolumeHandle volume) {
  return reinterpret_cast<HANDLE>(volume);
}

// Byte counts handed to the system are 32-bit; larger capacities are used in part.
DWORD ToDword(std::size_t size) {
  return size > static_cast<std::size_t>(ULONG_MAX) ? ULONG_MAX : static_cast<DWORD>(size);
}

DWORD ControlCode(VolumeRequest request) {
  switch (request) {
    case VolumeRequest::Lock:
      return FSCTL_LOCK_VOLUME;
    case VolumeRequest::Dismount:
      return FSCTL_DISMOUNT_VOLUME;
    case VolumeRequest::MediaRemoval:
      return IOCTL_STORAGE_MEDIA_REMOVAL;
    case VolumeRequest::Eject:
      return IOCTL_STORAGE_EJECT_MEDIA;
  }
  return 0;
}

class Win32Machine final : public Machine {
 public:
  // There is no application framework to set up for the console process;
  // what remains of its start is the module handle and the command line.
  bool InitFramework() override {
    return GetModuleHandleA(nullptr) != nullptr && GetCommandLineA() != nullptr;
  }

  DriveType GetDriveType(const char* path) override {
    UINT type = GetDriveTypeA(path);
    if (type > static_cast<UINT>(DriveType::RamDisk)) return DriveType::Unknown;
    return static_cast<DriveType>(type);
  }

  MountQuery QueryMountValue(const char* valueName, void* buffer, std::size_t capacity,
                             std::uint32_t* type, std::size_t* size) override {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\MountedDevices", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
      return MountQuery::NoTable;
    }
    DWORD valueType = 0;
    DWORD valueSize = ToDword(capacity);
    LONG status = RegQueryValueExA(key, valueName, nullptr, &valueType, static_cast<BYTE*>(buffer),
                                   &valueSize);
    RegCloseKey(key);
    if (status == ERROR_MORE_DATA) return MountQuery::TooLarge;
    if (status != ERROR_SUCCESS) return MountQuery::Missing;
    if (type != nullptr) *type = valueType;
    if (size != nullptr) *size = valueSize;
    return MountQuery::Ok;
  }

  VolumeHandle OpenVolume(const char* devicePath, VolumeAccess access) override {
    DWORD rights = access == VolumeAccess::ReadWrite ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
    HANDLE volume = CreateFileA(devicePath, rights, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (volume == INVALID_HANDLE_VALUE) return kInvalidVolume;
    return reinterpret_cast<VolumeHandle>(volume);
  }

  bool ControlVolume(VolumeHandle volume, VolumeRequest request, const void* input,
                     std::size_t inputSize) override {
    if (volume == kInvalidVolume) return false;
    DWORD returned = 0;
    return DeviceIoControl(ToHandle(volume), ControlCode(request), const_cast<void*>(input),
                           ToDword(inputSize), nullptr, 0, &returned, nullptr) != FALSE;
  }

  bool CloseVolume(VolumeHandle volume) override {
    if (volume == kInvalidVolume) return false;
    return CloseHandle(ToHandle(volume)) != FALSE;
  }

  bool RemoveDosDevice(const char* driveSpec) override {
    return DefineDosDeviceA(DDD_REMOVE_DEFINITION, driveSpec, nullptr) != FALSE;
  }

  ConnectionQuery QueryConnection(const char* localName, char* remote,
                                  std::size_t capacity) override {
    if (remote == nullptr || capacity == 0) return ConnectionQuery::Failed;
    DWORD length = ToDword(capacity);
    DWORD status = WNetGetConnectionA(localName, remote, &length);
    if (status == NO_ERROR) return ConnectionQuery::Connected;
    if (status == ERROR_CONNECTION_UNAVAIL) return ConnectionQuery::Unavailable;
    return ConnectionQuery::Failed;
  }

  bool AddConnection(const char* localName, const char* remoteName) override {
    NETRESOURCEA resource;
    std::memset(&resource, 0, sizeof resource);
    resource.dwType = RESOURCETYPE_DISK;
    resource.lpLocalName = const_cast<char*>(localName);
    resource.lpRemoteName = const_cast<char*>(remoteName);
    return WNetAddConnection2A(&resource, nullptr, nullptr, CONNECT_UPDATE_PROFILE) == NO_ERROR;
  }

  void Sleep(std::uint32_t milliseconds) override { ::Sleep(milliseconds); }

  // Drive letters are the system's own: paths stay as they are.
  bool MapPath(const char* path, char* out, std::size_t capacity) override {
    if (path == nullptr || out == nullptr) return false;
    std::size_t length = std::strlen(path);
    if (length >= capacity) return false;
    std::memcpy(out, path, length + 1);
    return true;
  }
};

}  // namespace

Machine& DefaultMachine() {
  static Win32Machine machine;
  return machine;
}

}  // namespace platform
