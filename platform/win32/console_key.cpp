// clang-format off
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <conio.h>
// clang-format on

namespace platform {

// One key from the console without echo and without waiting for Enter. When
// standard input is redirected (a pipe, a file, the null device) it reads at
// most one byte from it, so that a run never hangs without a console. The
// console test asks for a console mode rather than for a character device,
// because the null device is a character device too.
int ReadKeyFromTerminal() {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (input == nullptr || input == INVALID_HANDLE_VALUE) return -1;
  DWORD mode = 0;
  if (GetConsoleMode(input, &mode)) return _getch();
  unsigned char key = 0;
  DWORD got = 0;
  if (!ReadFile(input, &key, 1, &got, nullptr) || got != 1) return -1;
  return key;
}

}  // namespace platform
