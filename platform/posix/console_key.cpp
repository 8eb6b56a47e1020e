#include <termios.h>
#include <unistd.h>

namespace platform {

// One key from the terminal in non-canonical mode without echo; from a pipe
// or file one byte at most, so that a run never hangs without a terminal.
int ReadKeyFromTerminal() {
  unsigned char key = 0;
  if (isatty(STDIN_FILENO)) {
    termios saved{};
    if (tcgetattr(STDIN_FILENO, &saved) == 0) {
      termios raw = saved;
      raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
      raw.c_cc[VMIN] = 1;
      raw.c_cc[VTIME] = 0;
      tcsetattr(STDIN_FILENO, TCSANOW, &raw);
      ssize_t got = read(STDIN_FILENO, &key, 1);
      tcsetattr(STDIN_FILENO, TCSANOW, &saved);
      return got == 1 ? key : -1;
    }
  }
  return read(STDIN_FILENO, &key, 1) == 1 ? key : -1;
}

}  // namespace platform
