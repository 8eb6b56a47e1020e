// The tool's usage screen as it must appear, byte for byte.
#pragma once

#include <string>

namespace testsupport {

inline const std::string kUsageScreen =
    "\nausklink 1.0 - USB-Speichermedien und FireWire-Platten sicher abmelden\n"
    "\nProgrammaufruf : ausklink.exe <'ALL' oder Laufwerksbuchstabe> [Parameter (optional)]\n\n"
    "          'ausklink.exe' meldet alle USB-Speichermedien oder\n"
    "          FireWire-Platten zum sicheren entfernen ab.\n"
    "\n"
    "          Im Falle eines einzelnen Laufwerksbuchstabens\n"
    "          wird nur das eine USB-Geraet abgemeldet.\n"
    "\n"
    "          [Parameter (optional)]\n"
    "          /E=<Laufwerks-String>\n"
    "               Aneinanderreihung aller Laufwerksbuchstaben, die nicht\n"
    "               geprueft oder abgemeldet werden sollen\n"
    "               (gilt nur bei 'ALL')\n"
    "          /R   Laufwerksbuchstaben werden zusaetzlich entfernt.\n"
    "          /X   ohne abschliessende Eingabeaufforderung.\n";

}  // namespace testsupport
