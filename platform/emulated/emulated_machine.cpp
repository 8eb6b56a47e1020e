#include "platform/emulated/emulated_machine.h"

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>
#include <utility>
#include <vector>

namespace platform {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

std::string Trim(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// A '#' or ';' at the start of a line or after a blank starts a comment, so
// that device paths such as USBSTOR#Disk keep their '#'.
std::string StripComment(const std::string& line) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    if ((line[i] == '#' || line[i] == ';') && (i == 0 || IsBlank(line[i - 1]))) {
      return line.substr(0, i);
    }
  }
  return line;
}

char UpperLetter(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsDriveLetter(char c) {
  return c >= 'A' && c <= 'Z';
}

// Reads a decimal number of at most nine digits.
bool ParseCount(const std::string& text, long* value) {
  if (text.empty() || text.size() > 9) return false;
  long result = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    result = result * 10 + (c - '0');
  }
  *value = result;
  return true;
}

bool ParseOk(const std::string& value, bool* ok) {
  if (value == "ok") {
    *ok = true;
  } else if (value == "fail") {
    *ok = false;
  } else {
    return false;
  }
  return true;
}

bool ParseType(const std::string& value, DriveType* type) {
  static const struct {
    const char* name;
    DriveType type;
  } kTypes[] = {{"unknown", DriveType::Unknown},     {"no-root", DriveType::NoRoot},
                {"removable", DriveType::Removable}, {"fixed", DriveType::Fixed},
                {"remote", DriveType::Remote},       {"cdrom", DriveType::CdRom},
                {"ramdisk", DriveType::RamDisk}};
  for (const auto& entry : kTypes) {
    if (value == entry.name) {
      *type = entry.type;
      return true;
    }
  }
  return false;
}

const char* TypeName(DriveType type) {
  switch (type) {
    case DriveType::Unknown:
      return "unknown";
    case DriveType::NoRoot:
      return "no-root";
    case DriveType::Removable:
      return "removable";
    case DriveType::Fixed:
      return "fixed";
    case DriveType::Remote:
      return "remote";
    case DriveType::CdRom:
      return "cdrom";
    case DriveType::RamDisk:
      return "ramdisk";
  }
  return "unknown";
}

// UTF-8 text to UTF-16LE bytes.
bool Utf16FromUtf8(const std::string& text, std::vector<std::uint8_t>* out) {
  out->clear();
  for (std::size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    std::uint32_t code;
    std::size_t length;
    if (c < 0x80) {
      code = c;
      length = 1;
    } else if ((c & 0xE0) == 0xC0) {
      code = c & 0x1F;
      length = 2;
    } else if ((c & 0xF0) == 0xE0) {
      code = c & 0x0F;
      length = 3;
    } else if ((c & 0xF8) == 0xF0) {
      code = c & 0x07;
      length = 4;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    i += length;
    auto put = [out](std::uint32_t unit) {
      out->push_back(static_cast<std::uint8_t>(unit & 0xFF));
      out->push_back(static_cast<std::uint8_t>(unit >> 8));
    };
    if (code >= 0x10000) {
      code -= 0x10000;
      put(0xD800 + (code >> 10));
      put(0xDC00 + (code & 0x3FF));
    } else {
      put(code);
    }
  }
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = UpperLetter(c);
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "5c 00 3f 00" (blanks or commas between bytes) to bytes.
bool BytesFromHex(const std::string& text, std::vector<std::uint8_t>* out) {
  out->clear();
  std::size_t i = 0;
  while (i < text.size()) {
    if (IsBlank(text[i]) || text[i] == ',') {
      ++i;
      continue;
    }
    if (i + 1 >= text.size()) return false;
    int high = HexDigit(text[i]);
    int low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) return false;
    if (i + 2 < text.size() && !IsBlank(text[i + 2]) && text[i + 2] != ',') return false;
    out->push_back(static_cast<std::uint8_t>(high * 16 + low));
    i += 2;
  }
  return true;
}

struct DriveKeys {
  bool typeGiven = false;
};

// Letter of a drive path "E:", "E:\" or "\\.\E:"; 0 when there is none.
char LetterOf(const char* path) {
  if (path == nullptr) return 0;
  if (std::strncmp(path, "\\\\.\\", 4) == 0) path += 4;
  if (path[0] != '\0' && path[1] == ':') return UpperLetter(path[0]);
  return 0;
}

}  // namespace

EmulatedMachine::~EmulatedMachine() {
  if (log_ != nullptr) std::fclose(log_);
}

bool EmulatedMachine::Load(const std::string& text, const std::string& name, std::string* error) {
  drives_.clear();
  std::map<char, DriveKeys> keys;
  EmulatedDrive* drive = nullptr;
  char letter = 0;
  std::istringstream lines(text);
  std::string raw;
  int number = 0;
  auto fail = [&](const std::string& reason) {
    if (error != nullptr) *error = name + ":" + std::to_string(number) + ": " + reason;
    drives_.clear();
    return false;
  };
  while (std::getline(lines, raw)) {
    ++number;
    std::string line = Trim(StripComment(raw));
    if (line.empty()) continue;
    if (line[0] == '[') {
      if (line.size() != 4 || line[2] != ':' || line[3] != ']' ||
          !IsDriveLetter(UpperLetter(line[1]))) {
        return fail("malformed section '" + line + "', expected [X:]");
      }
      letter = UpperLetter(line[1]);
      if (drives_.count(letter) != 0) return fail(std::string("drive ") + letter + ": twice");
      drive = &drives_[letter];
      continue;
    }
    std::size_t equals = line.find('=');
    if (equals == std::string::npos) return fail("expected 'key = value': '" + line + "'");
    std::string key = Trim(line.substr(0, equals));
    std::string value = Trim(line.substr(equals + 1));
    if (key == "sleep") {
      if (drive != nullptr) return fail("'sleep' belongs before the first section");
      if (value == "real") {
        realSleep_ = true;
      } else if (value == "skip") {
        realSleep_ = false;
      } else {
        return fail("bad value '" + value + "' for sleep (real | skip)");
      }
      continue;
    }
    if (drive == nullptr) return fail("key '" + key + "' outside a drive section");
    bool ok = true;
    if (key == "type") {
      ok = ParseType(value, &drive->type);
      keys[letter].typeGiven = true;
    } else if (key == "root") {
      drive->root = value;
      ok = !value.empty();
    } else if (key == "mount") {
      drive->hasMount = true;
      if (value.rfind("device:", 0) == 0) {
        ok = Utf16FromUtf8(value.substr(7), &drive->mount);
      } else if (value.rfind("hex:", 0) == 0) {
        ok = BytesFromHex(value.substr(4), &drive->mount);
      } else {
        ok = false;
      }
    } else if (key == "mount-type") {
      long type = 0;
      ok = ParseCount(value, &type);
      drive->mountType = static_cast<std::uint32_t>(type);
    } else if (key == "open") {
      ok = ParseOk(value, &drive->openOk);
    } else if (key == "lock") {
      long count = 0;
      if (value == "ok") {
        drive->lockFailures = 0;
      } else if (value == "fail" || value == "busy") {
        drive->lockFailures = -1;
      } else if (value.rfind("busy", 0) == 0 && value.size() > 4 && IsBlank(value[4]) &&
                 ParseCount(Trim(value.substr(4)), &count)) {
        drive->lockFailures = static_cast<int>(count);
      } else {
        ok = false;
      }
    } else if (key == "dismount") {
      ok = ParseOk(value, &drive->dismountOk);
    } else if (key == "removal") {
      ok = ParseOk(value, &drive->removalOk);
    } else if (key == "eject") {
      ok = ParseOk(value, &drive->ejectOk);
    } else if (key == "remove-letter") {
      ok = ParseOk(value, &drive->removeLetterOk);
    } else if (key == "close") {
      ok = ParseOk(value, &drive->closeOk);
    } else if (key == "remote") {
      drive->remote = value;
      ok = !value.empty();
    } else if (key == "connection") {
      if (value == "connected") {
        drive->connection = Connection::Connected;
      } else if (value == "remembered") {
        drive->connection = Connection::Remembered;
      } else if (value == "unreachable") {
        drive->connection = Connection::Unreachable;
      } else {
        ok = false;
      }
    } else {
      return fail("unknown key '" + key + "'");
    }
    if (!ok) return fail("bad value '" + value + "' for " + key);
  }
  // A network drive shows the type the system gives it, unless the file says
  // otherwise: remote while connected, no root directory while not.
  for (auto& [driveLetter, entry] : drives_) {
    if (entry.connection == Connection::None || keys[driveLetter].typeGiven) continue;
    entry.type = entry.connection == Connection::Connected ? DriveType::Remote : DriveType::NoRoot;
  }
  return true;
}

bool EmulatedMachine::LoadFile(const std::string& path, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    if (error != nullptr) *error = path + ": cannot read the machine file";
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();
  return Load(text.str(), path, error);
}

EmulatedDrive& EmulatedMachine::Drive(char letter) {
  return drives_[UpperLetter(letter)];
}

void EmulatedMachine::RemoveDrive(char letter) {
  drives_.erase(UpperLetter(letter));
}

void EmulatedMachine::SetLogFile(const std::string& path) {
  if (log_ != nullptr) std::fclose(log_);
  log_ = std::fopen(path.c_str(), "a");
}

void EmulatedMachine::Record(const std::string& line) {
  calls_.push_back(line);
  if (log_ != nullptr) {
    std::fprintf(log_, "%s\n", line.c_str());
    std::fflush(log_);
  }
}

EmulatedDrive* EmulatedMachine::Find(char letter) {
  auto it = drives_.find(letter);
  return it == drives_.end() ? nullptr : &it->second;
}

bool EmulatedMachine::InitFramework() {
  return frameworkOk_;
}

DriveType EmulatedMachine::GetDriveType(const char* path) {
  char letter = LetterOf(path);
  EmulatedDrive* drive = letter != 0 ? Find(letter) : nullptr;
  DriveType type = drive != nullptr ? drive->type : DriveType::NoRoot;
  if (letter != 0) Record(std::string("drive-type ") + letter + ": " + TypeName(type));
  return type;
}

MountQuery EmulatedMachine::QueryMountValue(const char* valueName, void* buffer,
                                            std::size_t capacity, std::uint32_t* type,
                                            std::size_t* size) {
  static const char kPrefix[] = "\\DosDevices\\";
  const std::size_t prefixLength = sizeof kPrefix - 1;
  char letter = 0;
  if (valueName != nullptr && std::strncmp(valueName, kPrefix, prefixLength) == 0 &&
      std::strlen(valueName) == prefixLength + 2) {
    letter = LetterOf(valueName + prefixLength);
  }
  std::string what = letter != 0 ? std::string(1, letter) + ":" : std::string("?");
  EmulatedDrive* drive = letter != 0 ? Find(letter) : nullptr;
  if (drive == nullptr || !drive->hasMount) {
    Record("mount-value " + what + " missing");
    return MountQuery::Missing;
  }
  if (drive->mount.size() > capacity) {
    Record("mount-value " + what + " too-large");
    return MountQuery::TooLarge;
  }
  if (!drive->mount.empty()) std::memcpy(buffer, drive->mount.data(), drive->mount.size());
  *type = drive->mountType;
  *size = drive->mount.size();
  Record("mount-value " + what + " ok");
  return MountQuery::Ok;
}

VolumeHandle EmulatedMachine::OpenVolume(const char* devicePath, VolumeAccess access) {
  char letter = LetterOf(devicePath);
  EmulatedDrive* drive = letter != 0 ? Find(letter) : nullptr;
  bool ok = drive != nullptr && drive->openOk && drive->type != DriveType::NoRoot;
  std::string line = std::string("open ") + (letter != 0 ? letter : '?') + ": " +
                     (access == VolumeAccess::Read ? "read" : "read-write");
  Record(line + (ok ? " ok" : " fail"));
  if (!ok) return kInvalidVolume;
  VolumeHandle handle = nextHandle_++;
  handles_[handle] = letter;
  return handle;
}

bool EmulatedMachine::ControlVolume(VolumeHandle volume, VolumeRequest request, const void* input,
                                    std::size_t inputSize) {
  auto it = handles_.find(volume);
  char letter = it != handles_.end() ? it->second : '?';
  EmulatedDrive* drive = it != handles_.end() ? Find(letter) : nullptr;
  std::string name;
  bool ok = drive != nullptr;
  switch (request) {
    case VolumeRequest::Lock:
      name = "lock";
      if (ok && drive->lockFailures != 0) {
        ok = false;
        if (drive->lockFailures > 0) --drive->lockFailures;
      }
      break;
    case VolumeRequest::Dismount:
      name = "dismount";
      ok = ok && drive->dismountOk;
      break;
    case VolumeRequest::MediaRemoval: {
      bool prevent =
          input != nullptr && inputSize >= 1 && *static_cast<const std::uint8_t*>(input) != 0;
      ok = ok && inputSize == 1 && drive->removalOk;
      Record(std::string("media-removal ") + letter + ": " + (prevent ? "prevent" : "allow") +
             (ok ? " ok" : " fail"));
      return ok;
    }
    case VolumeRequest::Eject:
      name = "eject";
      ok = ok && drive->ejectOk;
      break;
  }
  Record(name + " " + letter + ": " + (ok ? "ok" : "fail"));
  return ok;
}

bool EmulatedMachine::CloseVolume(VolumeHandle volume) {
  auto it = handles_.find(volume);
  if (it == handles_.end()) {
    Record("close ?: fail");
    return false;
  }
  char letter = it->second;
  handles_.erase(it);
  EmulatedDrive* drive = Find(letter);
  bool ok = drive == nullptr || drive->closeOk;
  Record(std::string("close ") + letter + ": " + (ok ? "ok" : "fail"));
  return ok;
}

bool EmulatedMachine::RemoveDosDevice(const char* driveSpec) {
  char letter = LetterOf(driveSpec);
  EmulatedDrive* drive = letter != 0 ? Find(letter) : nullptr;
  bool ok = drive != nullptr && drive->type != DriveType::NoRoot && drive->removeLetterOk;
  Record(std::string("remove-letter ") + (letter != 0 ? letter : '?') + ": " +
         (ok ? "ok" : "fail"));
  if (ok) {
    // The letter is gone; the mount-table value stays, as on the real system.
    drive->type = DriveType::NoRoot;
    drive->root.clear();
  }
  return ok;
}

ConnectionQuery EmulatedMachine::QueryConnection(const char* localName, char* remote,
                                                 std::size_t capacity) {
  char letter = LetterOf(localName);
  EmulatedDrive* drive = letter != 0 ? Find(letter) : nullptr;
  ConnectionQuery result = ConnectionQuery::Failed;
  if (drive != nullptr && !drive->remote.empty()) {
    if (drive->connection == Connection::Connected) {
      if (drive->remote.size() < capacity) {
        std::memcpy(remote, drive->remote.c_str(), drive->remote.size() + 1);
        result = ConnectionQuery::Connected;
      }
    } else if (drive->connection != Connection::None) {
      if (drive->remote.size() < capacity) {
        std::memcpy(remote, drive->remote.c_str(), drive->remote.size() + 1);
        result = ConnectionQuery::Unavailable;
      }
    }
  }
  static const char* const kNames[] = {"connected", "remembered", "failed"};
  Record(std::string("connection ") + (letter != 0 ? letter : '?') + ": " +
         kNames[static_cast<int>(result)]);
  return result;
}

bool EmulatedMachine::AddConnection(const char* localName, const char* remoteName) {
  char letter = LetterOf(localName);
  EmulatedDrive* drive = letter != 0 ? Find(letter) : nullptr;
  bool ok = drive != nullptr && drive->connection == Connection::Remembered &&
            remoteName != nullptr && drive->remote == remoteName;
  Record(std::string("add-connection ") + (letter != 0 ? letter : '?') + ": " +
         (ok ? "ok" : "fail"));
  if (ok) {
    drive->connection = Connection::Connected;
    drive->type = DriveType::Remote;
  }
  return ok;
}

void EmulatedMachine::Sleep(std::uint32_t milliseconds) {
  Record("sleep " + std::to_string(milliseconds));
  if (realSleep_) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// The part of a drive-letter path after "X:", resolved within the drive:
// "." and empty components drop out and ".." at the root stays at the root,
// as Windows resolves it, so no path leaves the drive's directory. A
// trailing separator is kept.
static std::string ConfinedRest(const char* rest) {
  std::vector<std::string> parts;
  const char* p = rest;
  while (*p != '\0') {
    while (*p == '\\' || *p == '/') ++p;
    const char* begin = p;
    while (*p != '\0' && *p != '\\' && *p != '/') ++p;
    std::string part(begin, p);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(std::move(part));
  }
  std::string result;
  for (const auto& part : parts) result += "\\" + part;
  std::size_t length = std::strlen(rest);
  if (length > 0 && (rest[length - 1] == '\\' || rest[length - 1] == '/')) result += '\\';
  return result;
}

bool EmulatedMachine::MapPath(const char* path, char* out, std::size_t capacity) {
  if (path == nullptr || capacity == 0) return false;
  std::string mapped;
  if (path[0] != '\0' && path[1] == ':') {
    EmulatedDrive* drive = Find(UpperLetter(path[0]));
    if (drive == nullptr || drive->root.empty() || drive->type == DriveType::NoRoot) return false;
    mapped = drive->root + ConfinedRest(path + 2);
  } else {
    mapped = path;
  }
  if (mapped.size() >= capacity) return false;
  std::memcpy(out, mapped.c_str(), mapped.size() + 1);
  return true;
}

}  // namespace platform
