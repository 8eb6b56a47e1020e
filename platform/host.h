// Facts about the host the program runs on, for tests that must tell a
// compatibility layer from the real system.
#pragma once

namespace platform {

// True when the Windows program runs under Wine rather than on Windows;
// always false for the POSIX build.
bool RunningUnderWine();

}  // namespace platform
