#include "tool/run.h"

#include <cstring>

#include "platform/console.h"
#include "platform/machine.h"
#include "tool/sweep.h"
#include "tool/volume_removal.h"
#include "utillib/foundation/startup.h"

namespace ausklink {
namespace {

using platform::ConsolePrint;
using platform::ConsoleWrite;

// Copies an argument into a buffer of ARGUMENT_BUFFER_SIZE bytes, cutting
// what does not fit, and upper-cases the letters a to z when asked.
void CopyArgument(char (&buffer)[ARGUMENT_BUFFER_SIZE], const char* argument, bool upper) {
  std::size_t length = 0;
  while (argument[length] != '\0' && length < ARGUMENT_BUFFER_SIZE - 1) {
    char c = argument[length];
    if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    buffer[length++] = c;
  }
  buffer[length] = '\0';
}

void PrintUsage() {
  ConsolePrint("\n%s\n", kBanner);
  ConsoleWrite(
      "\nProgrammaufruf : ausklink.exe <'ALL' oder Laufwerksbuchstabe> [Parameter (optional)]\n\n");
  ConsoleWrite("          'ausklink.exe' meldet alle USB-Speichermedien oder\n");
  ConsoleWrite("          FireWire-Platten zum sicheren entfernen ab.\n");
  ConsoleWrite("\n");
  ConsoleWrite("          Im Falle eines einzelnen Laufwerksbuchstabens\n");
  ConsoleWrite("          wird nur das eine USB-Geraet abgemeldet.\n");
  ConsoleWrite("\n");
  ConsoleWrite("          [Parameter (optional)]\n");
  ConsoleWrite("          /E=<Laufwerks-String>\n");
  ConsoleWrite("               Aneinanderreihung aller Laufwerksbuchstaben, die nicht\n");
  ConsoleWrite("               geprueft oder abgemeldet werden sollen\n");
  ConsoleWrite("               (gilt nur bei 'ALL')\n");
  ConsoleWrite("          /R   Laufwerksbuchstaben werden zusaetzlich entfernt.\n");
  ConsoleWrite("          /X   ohne abschliessende Eingabeaufforderung.\n");
}

void WaitForKey() {
  platform::ConsoleReadKey();
}

int RunSweep(char* exclusions, bool removeLetters, bool waitForKey) {
  int tested = 0;
  int released = 0;
  int failed = 0;
  if (removeLetters) {
    ReleaseAllDrivesRemovingLetters(exclusions, tested, released, failed, true);
  } else {
    ReleaseAllDrives(exclusions, tested, released, failed, true);
  }
  ConsolePrint("\nGetestete Laufwerke : %i\n", tested);
  if (removeLetters) {
    ConsolePrint("   ... %i Laufwerke entfernt\n", released);
    ConsolePrint("   ... %i Laufwerke konnten nicht entfernt werden\n", failed);
  } else {
    ConsolePrint("   ... %i Laufwerke abgemeldet\n", released);
    ConsolePrint("   ... %i Laufwerke konnten nicht abgemeldet werden\n", failed);
  }
  if (waitForKey) WaitForKey();
  return 0;
}

}  // namespace

int RunAusklink(int argc, const char* const* argv) {
  if (!platform::CurrentMachine().InitFramework()) {
    ConsoleWrite("Schwerwiegender Fehler: MFC-Initialisierung fehlgeschlagen\n");
    return 1;
  }
  utillib::LibraryStartup();

  if (argc < 2) {
    PrintUsage();
    WaitForKey();
    return 0;
  }

  char drive[ARGUMENT_BUFFER_SIZE];
  char exclusions[ARGUMENT_BUFFER_SIZE] = {};
  char option[ARGUMENT_BUFFER_SIZE];
  bool removeLetters = false;
  bool waitForKey = true;
  CopyArgument(drive, argv[1], true);
  for (int i = 2; i < argc; ++i) {
    CopyArgument(option, argv[i], true);
    if (std::strncmp(option, "/E=", 3) == 0) {
      // The letters keep the case they were typed in; the sweep upper-cases them.
      CopyArgument(exclusions, argv[i] + 3, false);
    } else if (std::strncmp(option, "/R", 2) == 0) {
      removeLetters = true;
    } else if (std::strncmp(option, "/X", 2) == 0) {
      waitForKey = false;
    }
  }

  if (std::strcmp(drive, "ALL") == 0) return RunSweep(exclusions, removeLetters, waitForKey);

  std::size_t length = std::strlen(drive);
  if (!(length == 1 || (length == 2 && drive[1] == ':'))) return 0;

  const char letter = drive[0];
  ConsolePrint("pruefe Laufwerk %c ... ", letter);
  platform::ConsoleFlush();
  RemovalResult result = removeLetters ? ReleaseDriveRemovingLetter(letter) : ReleaseDrive(letter);
  if (result == REMOVAL_DONE) {
    ConsoleWrite(removeLetters ? "erfolgreich entfernt\n" : "erfolgreich abgemeldet\n");
  } else if (result == REMOVAL_NOT_EXTERNAL) {
    ConsoleWrite("kein USB oder FireWire\n");
  } else {
    ConsoleWrite(removeLetters ? "FEHLER beim entfernen\n" : "FEHLER beim abmelden\n");
  }
  if (waitForKey) WaitForKey();
  return 0;
}

}  // namespace ausklink
