// Console: formatted output on standard output and one key read without echo.
//
// Output goes to standard output unless a ConsoleCapture is active, which
// collects it (and counts key reads) for tests. No function fails visibly.
#pragma once

#include <string>

#if defined(__MINGW32__)
#define PLATFORM_PRINTF_FORMAT __attribute__((format(gnu_printf, 1, 2)))
#else
#define PLATFORM_PRINTF_FORMAT __attribute__((format(printf, 1, 2)))
#endif

namespace platform {

void ConsoleWrite(const char* text);
void ConsolePrint(const char* format, ...) PLATFORM_PRINTF_FORMAT;
void ConsoleFlush();

// Reads one key from the terminal without echo and without waiting for
// Enter. When standard input is not a terminal it reads at most one byte.
// Returns the key's code, or -1 at end of input.
int ConsoleReadKey();

// Collects console output and key reads while it lives.
class ConsoleCapture {
 public:
  ConsoleCapture();
  ~ConsoleCapture();
  ConsoleCapture(const ConsoleCapture&) = delete;
  ConsoleCapture& operator=(const ConsoleCapture&) = delete;

  const std::string& Text() const { return text_; }
  int KeyReads() const { return keyReads_; }

 private:
  friend void ConsoleWrite(const char*);
  friend int ConsoleReadKey();
  std::string text_;
  int keyReads_ = 0;
  ConsoleCapture* previous_;
};

}  // namespace platform
