#include "platform/host.h"

// clang-format off
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// clang-format on

namespace platform {

// Wine's ntdll exports its version query; Windows' ntdll has no such export.
bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace platform
