// An emulated Windows machine: drive letters with their types, mount-table
// values, scripted replies of every volume call, and network drives. The
// POSIX backend serves it as the process's machine; tests build their own
// and install it in-process.
//
// Text form (one file per machine):
//
//   # '#' or ';' at the start of a line or after a blank starts a comment
//   sleep = real | skip          (before the first section)
//   [E:]                         (one section per drive letter)
//   type = no-root | unknown | removable | fixed | remote | cdrom | ramdisk
//   root = /srv/stick            (directory serving as the drive's root)
//   mount = device:TEXT | hex:5c 00 3f 00 ...
//   mount-type = 3
//   open = ok | fail
//   lock = ok | fail | busy | busy N
//   dismount, removal, eject, remove-letter, close = ok | fail
//   remote = \\server\share
//   connection = connected | remembered | unreachable
//
// Every call is recorded as one line ("open E: read-write ok", "lock E: fail",
// "sleep 500", ...) in Calls(), and appended to a log file when one is set.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "platform/machine.h"

namespace platform {

enum class Connection { None, Connected, Remembered, Unreachable };

struct EmulatedDrive {
  DriveType type = DriveType::Fixed;
  std::string root;  // empty: no directory for file access
  bool hasMount = false;
  std::vector<std::uint8_t> mount;
  std::uint32_t mountType = kMountValueBinary;
  bool openOk = true;
  int lockFailures = 0;  // lock attempts that fail before one succeeds; -1: all fail
  bool dismountOk = true;
  bool removalOk = true;
  bool ejectOk = true;
  bool removeLetterOk = true;
  bool closeOk = true;
  std::string remote;
  Connection connection = Connection::None;
};

class EmulatedMachine : public Machine {
 public:
  EmulatedMachine() = default;
  ~EmulatedMachine() override;

  // Parse the text form. On failure *error holds "name:line: reason" and the
  // machine is left empty.
  bool Load(const std::string& text, const std::string& name, std::string* error);
  // Read and parse a file; a missing file is an error too.
  bool LoadFile(const std::string& path, std::string* error);

  // Drive of letter (upper case A-Z), created as a fixed drive if absent.
  EmulatedDrive& Drive(char letter);
  void RemoveDrive(char letter);
  // Sleep really waits unless this is off.
  void SetRealSleep(bool real) { realSleep_ = real; }
  void SetFrameworkOk(bool ok) { frameworkOk_ = ok; }
  // Also append every call line to this file.
  void SetLogFile(const std::string& path);

  const std::vector<std::string>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  // Handles opened and not closed yet.
  std::size_t OpenHandles() const { return handles_.size(); }

  bool InitFramework() override;
  DriveType GetDriveType(const char* path) override;
  MountQuery QueryMountValue(const char* valueName, void* buffer, std::size_t capacity,
                             std::uint32_t* type, std::size_t* size) override;
  VolumeHandle OpenVolume(const char* devicePath, VolumeAccess access) override;
  bool ControlVolume(VolumeHandle volume, VolumeRequest request, const void* input,
                     std::size_t inputSize) override;
  bool CloseVolume(VolumeHandle volume) override;
  bool RemoveDosDevice(const char* driveSpec) override;
  ConnectionQuery QueryConnection(const char* localName, char* remote,
                                  std::size_t capacity) override;
  bool AddConnection(const char* localName, const char* remoteName) override;
  void Sleep(std::uint32_t milliseconds) override;
  bool MapPath(const char* path, char* out, std::size_t capacity) override;

 private:
  void Record(const std::string& line);
  EmulatedDrive* Find(char letter);

  std::map<char, EmulatedDrive> drives_;
  std::map<VolumeHandle, char> handles_;
  VolumeHandle nextHandle_ = 0x100;
  bool realSleep_ = true;
  bool frameworkOk_ = true;
  std::vector<std::string> calls_;
  std::FILE* log_ = nullptr;
};

}  // namespace platform
