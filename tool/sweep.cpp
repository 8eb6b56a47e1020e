#include "tool/sweep.h"

#include <cstring>

#include "platform/console.h"
#include "platform/files.h"
#include "tool/volume_removal.h"

namespace ausklink {
namespace {

void UpperCaseInPlace(char* text) {
  for (; *text != '\0'; ++text) {
    if (*text >= 'a' && *text <= 'z') *text = static_cast<char>(*text - 'a' + 'A');
  }
}

struct SweepTexts {
  const char* released;
  const char* failed;
};

constexpr SweepTexts kReleaseTexts = {"abgemeldet\n", "FEHLER beim abmelden\n"};
constexpr SweepTexts kRemoveTexts = {"entfernt\n", "FEHLER beim entfernen\n"};

int Sweep(char* exclusions, int& tested, int& released, int& failed, bool verbose,
          bool removeLetters) {
  const SweepTexts& texts = removeLetters ? kRemoveTexts : kReleaseTexts;
  tested = released = failed = 0;
  char none[1] = {'\0'};
  if (exclusions == nullptr) exclusions = none;
  UpperCaseInPlace(exclusions);
  for (char letter = FIRST_SWEEP_LETTER; letter <= LAST_SWEEP_LETTER; ++letter) {
    if (std::strchr(exclusions, letter) != nullptr) continue;
    if (!IsExternalDrive(letter)) continue;
    ++tested;
    if (verbose) {
      platform::ConsolePrint("pruefe Laufwerk %c ... ", letter);
      platform::ConsoleFlush();
    }
    RemovalResult result =
        removeLetters ? ReleaseDriveRemovingLetter(letter) : ReleaseDrive(letter);
    const char* text;
    if (result == REMOVAL_NOT_EXTERNAL) {
      text = "kein USB oder FireWire\n";
    } else if (result == REMOVAL_DONE) {
      ++released;
      text = texts.released;
    } else {
      ++failed;
      text = texts.failed;
    }
    if (verbose) platform::ConsoleWrite(text);
  }
  return 0;
}

}  // namespace

int ReleaseAllDrives(char* exclusions, int& tested, int& released, int& failed, bool verbose) {
  return Sweep(exclusions, tested, released, failed, verbose, false);
}

int ReleaseAllDrivesRemovingLetters(char* exclusions, int& tested, int& released, int& failed,
                                    bool verbose) {
  return Sweep(exclusions, tested, released, failed, verbose, true);
}

int ReleaseAllDrivesQuiet(char* exclusions) {
  int tested, released, failed;
  return Sweep(exclusions, tested, released, failed, false, false);
}

int ReleaseAllDrivesRemovingLettersQuiet(char* exclusions) {
  int tested, released, failed;
  return Sweep(exclusions, tested, released, failed, false, true);
}

bool DriveHasRootEntries(char letter) {
  const char pattern[7] = {letter, ':', '\\', '*', '.', '*', '\0'};
  platform::FindData found;
  platform::FindHandle search = platform::FindFirst(pattern, &found);
  if (search == platform::kInvalidFind) return false;
  platform::FindClose(search);
  return true;
}

char FindFirstExternalDrive(const char* exclusions, bool reverse) {
  // Keep only the letters A to Z of the first 99 characters.
  char excluded[EXCLUSION_COPY_SIZE] = {};
  std::size_t count = 0;
  for (std::size_t i = 0;
       exclusions != nullptr && exclusions[i] != '\0' && i < EXCLUSION_COPY_SIZE - 1; ++i) {
    char c = exclusions[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z') excluded[count++] = c;
  }
  const int steps = LAST_SWEEP_LETTER - FIRST_SWEEP_LETTER + 1;
  for (int step = 0; step < steps; ++step) {
    char letter = static_cast<char>(reverse ? LAST_SWEEP_LETTER - step : FIRST_SWEEP_LETTER + step);
    if (std::strchr(excluded, letter) != nullptr) continue;
    if (!IsExternalDrive(letter)) continue;
    if (DriveHasRootEntries(letter)) return letter;
  }
  return '\0';
}

}  // namespace ausklink
