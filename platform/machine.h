// The machine: everything of the operating system that belongs to the Windows
// machine rather than to the C library: drive types, the mount table, volume
// devices and their control requests, the DOS-device table, network
// connections, sleeping, the application framework and the mapping of
// drive-letter paths for file access.
//
// One object implements it for the process. The Win32 backend talks to the
// real system; the POSIX backend serves an emulated machine described by the
// file that AUSKLINK_MACHINE names. Tests install a scripted machine of their
// own with InstallMachine (see platform/emulated/emulated_machine.h).
//
// Error contract: no function throws or prints. Every call reports success or
// failure through its result; the operating system's own error codes are not
// kept, except where a result names them (MountQuery, ConnectionQuery).
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// Drive types, numbered as the operating system numbers them.
enum class DriveType : int {
  Unknown = 0,
  NoRoot = 1,
  Removable = 2,
  Fixed = 3,
  Remote = 4,
  CdRom = 5,
  RamDisk = 6,
};

// An open volume device. kInvalidVolume (all bits set) marks a failed open.
using VolumeHandle = std::intptr_t;
inline constexpr VolumeHandle kInvalidVolume = -1;

enum class VolumeAccess { Read, ReadWrite };

// The four control requests issued on a volume handle.
enum class VolumeRequest {
  Lock,          // exclusive lock of the volume
  Dismount,      // dismount its file system
  MediaRemoval,  // input: one byte, 1 prevents and 0 allows media removal
  Eject,         // eject the media
};

// Outcome of one mount-table value query.
enum class MountQuery {
  Ok,        // value read: type and size are set
  NoTable,   // the mount table could not be opened
  Missing,   // no value of that name
  TooLarge,  // the value does not fit the caller's buffer
};

// Registry value type of a binary value.
inline constexpr std::uint32_t kMountValueBinary = 3;

// Outcome of a network connection query for a local drive name.
enum class ConnectionQuery {
  Connected,    // remote name returned
  Unavailable,  // remembered in the user's profile, but not connected now
  Failed,       // not a network drive, a free letter, or the name did not fit
};

class Machine {
 public:
  virtual ~Machine() = default;

  // Initialise the application framework of the console process.
  virtual bool InitFramework() = 0;

  // Drive type of a drive specification ("E:") or root path ("E:\").
  virtual DriveType GetDriveType(const char* path) = 0;

  // Read the mount-table value valueName (e.g. "\DosDevices\E:") into buffer,
  // at most capacity bytes. On Ok, *type and *size describe the value.
  virtual MountQuery QueryMountValue(const char* valueName, void* buffer, std::size_t capacity,
                                     std::uint32_t* type, std::size_t* size) = 0;

  // Open the volume device devicePath ("\\.\E:"), sharing read and write.
  virtual VolumeHandle OpenVolume(const char* devicePath, VolumeAccess access) = 0;
  // Issue one control request; input may be null when inputSize is 0.
  virtual bool ControlVolume(VolumeHandle volume, VolumeRequest request, const void* input,
                             std::size_t inputSize) = 0;
  virtual bool CloseVolume(VolumeHandle volume) = 0;

  // Remove the most recent DOS-device definition of driveSpec ("E:").
  virtual bool RemoveDosDevice(const char* driveSpec) = 0;

  // Remote name of the local drive name localName ("E:") into remote
  // (capacity bytes, terminator included).
  virtual ConnectionQuery QueryConnection(const char* localName, char* remote,
                                          std::size_t capacity) = 0;
  // Connect localName to remoteName with the current credentials and keep
  // remembering it in the user's profile.
  virtual bool AddConnection(const char* localName, const char* remoteName) = 0;

  virtual void Sleep(std::uint32_t milliseconds) = 0;

  // Map a path for file access: a path that begins with a drive letter and a
  // colon becomes the path of this machine's directory for that drive; other
  // paths are copied unchanged. False when the drive does not exist or the
  // result does not fit out (capacity bytes, terminator included).
  virtual bool MapPath(const char* path, char* out, std::size_t capacity) = 0;
};

// The machine in use: the installed one, or else the backend's default.
Machine& CurrentMachine();

// Install a machine for the process (tests); nullptr restores the default.
// Returns the machine installed before, or nullptr for the default.
Machine* InstallMachine(Machine* machine);

// The backend's own machine.
Machine& DefaultMachine();

// Installs a machine for the lifetime of a scope.
class ScopedMachine {
 public:
  explicit ScopedMachine(Machine& machine) : previous_(InstallMachine(&machine)) {}
  ~ScopedMachine() { InstallMachine(previous_); }
  ScopedMachine(const ScopedMachine&) = delete;
  ScopedMachine& operator=(const ScopedMachine&) = delete;

 private:
  Machine* previous_;
};

}  // namespace platform
